// Any bytes as program text, on every model: parse, take the offsets from the
// text, check and prepare in both modes, colour the text and build the message
// of a failure. Nothing may crash, hang or read outside its tables.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "device/model_table.h"
#include "editor/check.h"
#include "editor/colours.h"
#include "editor/offsets.h"
#include "editor/parse.h"
#include "editor/prepare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gyrel;
    if (size < 1) return 0;
    static auto ed = std::make_unique<EditorState>();
    const ModelInfo& m = modelTable()[data[0] % modelTable().size()];
    const int mode = (data[0] >> 3) & 1;
    const bool fromText = (data[0] >> 4) & 1;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const ParseResult parsed = parseCamText(text, m.maxPosition, *ed);
    colourStretch(text, 0, static_cast<int>(text.size()), m.programFontSize);
    if (!parsed.ok) {
        if (parsed.error.tokenStart < 0 || static_cast<std::size_t>(parsed.error.tokenStart) > text.size()) __builtin_trap();
        return 0;
    }
    ed->Check1 = fromText;
    for (std::size_t i = 0; i < 16; ++i) {
        ed->check2[i] = (data[0] >> (i % 8)) & 1;
        ed->Text4[i] = std::to_string(static_cast<int>(i) * 97 - 700);
        ed->Text5[i] = "-1800";
    }
    takeOffsets(*ed);
    const PrepareOutcome out = prepareCamTable(ed->CamRows.data(), ed->CamRowCount, ed->ActiveOffsets, ed->check2,
                                               m.maxPosition, m.outputs - 1, mode, ed->camTable);
    if (out.failed) {
        checkMessage([](int i) { return std::to_string(i); }, out.failure, ed->CamRows.data(), ed->ActiveOffsets,
                     m.maxPosition);
    } else if (ed->CamRowCount > 0 && (out.camCount < 1)) {
        __builtin_trap();
    }
    return 0;
}
