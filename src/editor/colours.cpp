#include "editor/colours.h"

#include <algorithm>

namespace gyrel {

StyledRange programStyle(int start, int length, int fontSize) {
    StyledRange r;
    r.start = start;
    r.length = length;
    r.colour = {0, 0, 0};
    r.fontSize = fontSize;
    return r;
}

StyledRange commentStyle(int start, int length) {
    StyledRange r;
    r.start = start;
    r.length = length;
    r.colour = {0, 0, 255};
    r.fontSize = 8;
    return r;
}

void paintRange(std::vector<StyledRange>& ranges, const StyledRange& r) {
    if (r.length <= 0) return;
    const int end = r.start + r.length;
    std::vector<StyledRange> out;
    out.reserve(ranges.size() + 2);
    bool placed = false;
    for (const StyledRange& old : ranges) {
        const int oldEnd = old.start + old.length;
        if (oldEnd <= r.start || old.start >= end) {
            if (!placed && old.start >= end) {
                out.push_back(r);
                placed = true;
            }
            out.push_back(old);
            continue;
        }
        if (old.start < r.start) {
            StyledRange head = old;
            head.length = r.start - old.start;
            out.push_back(head);
        }
        if (!placed) {
            out.push_back(r);
            placed = true;
        }
        if (oldEnd > end) {
            StyledRange tail = old;
            tail.start = end;
            tail.length = oldEnd - end;
            out.push_back(tail);
        }
    }
    if (!placed) out.push_back(r);
    ranges.swap(out);
}

std::vector<StyledRange> colourStretch(const std::string& text, int from, int to, int programFontSize) {
    std::vector<StyledRange> out;
    int i = from;
    while (i < to) {
        int quote = i;
        while (quote < to && text[static_cast<std::size_t>(quote)] != '\'') ++quote;
        if (quote > i) out.push_back(programStyle(i, quote - i, programFontSize));
        if (quote >= to) break;
        int lf = quote;
        while (lf < to && text[static_cast<std::size_t>(lf)] != '\n') ++lf;
        out.push_back(commentStyle(quote, lf - quote));
        i = lf;
    }
    return out;
}

void AggColori(EditorState& ed, int full, int programFontSize) {
    const int size = static_cast<int>(ed.ProgBox.size());
    if (full != 0) {
        ed.ProgBoxStyles = colourStretch(ed.ProgBox, 0, size, programFontSize);
        ed.FullRecolour = 0;
        return;
    }
    const int caret = std::clamp(ed.CaretPosition, 0, size);
    int begin = caret;
    while (begin > 0 && ed.ProgBox[static_cast<std::size_t>(begin - 1)] != '\n') --begin;
    int end = caret;
    while (end < size && ed.ProgBox[static_cast<std::size_t>(end)] != '\n') ++end;
    StyledRange blank = programStyle(begin, end - begin, programFontSize);
    paintRange(ed.ProgBoxStyles, blank);
    for (const StyledRange& r : colourStretch(ed.ProgBox, begin, end, programFontSize))
        paintRange(ed.ProgBoxStyles, r);
    ed.FullRecolour = 0;
}

}  // namespace gyrel
