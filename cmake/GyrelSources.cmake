# Every folder of the logic is globbed, so a new file needs no edit here.
set(GYREL_LOGIC_DIRS app link editor device origin safety settings lang dialogs platform)
set(gyrel_core_sources "")
foreach(dir IN LISTS GYREL_LOGIC_DIRS)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
  list(APPEND gyrel_core_sources ${dir_sources})
endforeach()

# The logic: standard C++ only.
add_library(gyrel_core STATIC ${gyrel_core_sources})
target_include_directories(gyrel_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(gyrel_core PUBLIC Threads::Threads)

# The device simulator (in-process end and pseudo-terminal end).
file(GLOB gyrel_sim_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/sim/*.cpp)
add_library(gyrel_sim STATIC ${gyrel_sim_sources})
target_include_directories(gyrel_sim PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(gyrel_sim PUBLIC gyrel_core)
if(UNIX)
  target_link_libraries(gyrel_sim PUBLIC util)
endif()

# The command-line jobs are a library, so tests run them in-process.
file(GLOB gyrel_cli_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/cli/*.cpp)
add_library(gyrel_cli_lib STATIC ${gyrel_cli_sources})
target_link_libraries(gyrel_cli_lib PUBLIC gyrel_core gyrel_sim)

if(GYREL_BUILD_UI)

  # Qt behind the platform interfaces: serial port, clock and event pump, settings store.
  file(GLOB gyrel_qtplatform_sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/platform/qt/*.cpp ${PROJECT_SOURCE_DIR}/src/platform/qt/*.h)
  add_library(gyrel_qtplatform STATIC ${gyrel_qtplatform_sources})
  target_link_libraries(gyrel_qtplatform PUBLIC gyrel_core Qt6::Core Qt6::SerialPort)
  set_target_properties(gyrel_qtplatform PROPERTIES AUTOMOC ON)

  # The windows: they render logic state and forward events, nothing more.
  file(GLOB gyrel_ui_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/ui/*.cpp ${PROJECT_SOURCE_DIR}/src/ui/*.h)
  add_library(gyrel_ui STATIC ${gyrel_ui_sources})
  target_link_libraries(gyrel_ui PUBLIC gyrel_qtplatform gyrel_sim Qt6::Widgets)
  set_target_properties(gyrel_ui PROPERTIES AUTOMOC ON)

  add_executable(gyrel ${PROJECT_SOURCE_DIR}/src/main/gyrel_main.cpp)
  target_link_libraries(gyrel PRIVATE gyrel_ui)

  add_executable(gyrel-cli ${PROJECT_SOURCE_DIR}/src/main/gyrel_cli_main.cpp)
  target_link_libraries(gyrel-cli PRIVATE gyrel_cli_lib gyrel_qtplatform)
endif()
