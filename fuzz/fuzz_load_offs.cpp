// Any bytes as an offsets file: the reader must end, and only ever fill the 16 rows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/offsets_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gyrel::EditorState st;
    const std::string content(reinterpret_cast<const char*>(data), size);
    gyrel::LoadOffs(st, content);
    // What was read must write back as a well-formed file of 17 lines.
    const std::string saved = gyrel::offsetsFileContent(st);
    std::size_t lines = 0;
    for (char c : saved) lines += c == '\n';
    if (lines != 17) __builtin_trap();
    return 0;
}
