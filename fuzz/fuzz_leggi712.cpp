// Any bytes as a V712 text: the header reader must never crash, hang or store
// outside its 16 programs by 16 outputs.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "editor/editor_state.h"
#include "editor/leggi712.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto ed = std::make_unique<gyrel::EditorState>();
    gyrel::readHeaderParams(std::string(reinterpret_cast<const char*>(data), size), *ed);
    return 0;
}
