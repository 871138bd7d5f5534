#include "editor/offsets.h"

#include <algorithm>
#include <cmath>

namespace gyrel {

std::int16_t wholeNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = std::min(v * 10 + (text[i] - '0'), 1e9);
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) v += (text[i] - '0') * scale;
    }
    v = std::round(negative ? -v : v);
    if (v < -32768) v = -32768;
    if (v > 32767) v = 32767;
    return static_cast<std::int16_t>(v);
}

void setOffsetColours(EditorState& ed, int i, bool applied) {
    const auto k = static_cast<std::size_t>(i);
    ed.check2Back[k] = applied ? kOffsetAppliedBack : kOffsetOffBack;
    ed.Text4Back[k] = applied ? kOffsetAppliedBox : kSystemWindowBack;
    ed.Text5Back[k] = applied ? kOffsetAppliedBox : kSystemWindowBack;
}

void takeOffsets(EditorState& ed) {
    if (ed.Check1) {
        for (std::size_t i = 0; i < 16; ++i) {
            ed.ActiveOffsets[i] = ed.TextOffsets[0][i];
            ed.ActiveOffsets[16 + i] = ed.TextOffsets[1][i];
            ed.Text4[i] = std::to_string(ed.TextOffsets[0][i]);
            ed.Text5[i] = std::to_string(ed.TextOffsets[1][i]);
            const bool applied = ed.TextOffsets[0][i] != 0 || ed.TextOffsets[1][i] != 0;
            ed.check2[i] = applied;
            setOffsetColours(ed, static_cast<int>(i), applied);
        }
        return;
    }
    for (std::size_t i = 0; i < 16; ++i) {
        if (!ed.check2[i]) continue;
        ed.ActiveOffsets[i] = wholeNumber(ed.Text4[i]);
        ed.ActiveOffsets[16 + i] = wholeNumber(ed.Text5[i]);
    }
}

void ColoriOffs(EditorState& ed) {
    ed.Check1 = false;
    for (std::size_t i = 0; i < 16; ++i) {
        setOffsetColours(ed, static_cast<int>(i), ed.check2[i]);
        ed.ActiveOffsets[i] = ed.check2[i] ? wholeNumber(ed.Text4[i]) : 0;
        ed.ActiveOffsets[16 + i] = ed.check2[i] ? wholeNumber(ed.Text5[i]) : 0;
    }
}

}  // namespace gyrel
