# Writes the manual page of gyrel-cli from its own --help texts (the program's and
# each subcommand's), and its bash completion script, so neither can drift from
# the option tables. Run at build time: cmake -DCLI=... -DVERSION=... -DOUT_DIR=... -P
cmake_minimum_required(VERSION 3.22)

function(cli_text out)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gyrel-cli ${ARGN} failed (${rc})")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names listed under "Subcommands:" in a help text.
function(subcommands_of help out)
  set(names "")
  set(inside OFF)
  string(REPLACE "\n" ";" lines "${help}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Subcommands:")
      set(inside ON)
    elseif(inside AND line MATCHES "^  ([a-z][a-z0-9-]*)")
      list(APPEND names ${CMAKE_MATCH_1})
    elseif(inside AND NOT line MATCHES "^ ")
      set(inside OFF)
    endif()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Help text as literal roff lines.
function(roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

cli_text(top --help)
subcommands_of("${top}" subs)
roff("${top}" body)
string(CONCAT page ".TH GYREL-CLI 1 \"\" \"gyrel ${VERSION}\" \"User Commands\"\n"
         ".SH NAME\ngyrel-cli \\- cam encoder jobs from the shell\n"
         ".SH SYNOPSIS\n.B gyrel-cli\n[\\fIOPTIONS\\fR] \\fISUBCOMMAND\\fR [\\fISUBCOMMAND OPTIONS\\fR]\n"
         ".SH DESCRIPTION\n${body}.SH SUBCOMMANDS\n")
foreach(sub IN LISTS subs)
  cli_text(help ${sub} --help)
  roff("${help}" body)
  string(APPEND page ".SS ${sub}\n${body}")
  subcommands_of("${help}" nested)
  foreach(n IN LISTS nested)
    cli_text(help ${sub} ${n} --help)
    roff("${help}" body)
    string(APPEND page ".SS \"${sub} ${n}\"\n${body}")
  endforeach()
endforeach()
string(APPEND page ".SH SEE ALSO\nThe README in /usr/share/doc/gyrel.\n")

file(WRITE ${OUT_DIR}/gyrel-cli.1 "${page}")
file(ARCHIVE_CREATE OUTPUT ${OUT_DIR}/gyrel-cli.1.gz PATHS ${OUT_DIR}/gyrel-cli.1 FORMAT raw COMPRESSION GZip)

cli_text(completion completion bash)
file(WRITE ${OUT_DIR}/gyrel-cli.bash "${completion}")
