#include "editor/parse.h"

namespace gyrel {

double numberValue(const std::string& token) {
    double v = 0;
    bool negative = false;
    for (char c : token) {
        if (c == '-') negative = true;
        else v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

namespace {

class CamTextParser {
public:
    CamTextParser(const std::string& text, double maxPosition, EditorState& ed)
        : text_(text), max_(maxPosition), ed_(ed) {}

    ParseResult run() {
        for (std::size_t i = 0; i < text_.size() && result_.ok; ++i) {
            const char c = text_[i];
            if (inComment_) {
                if (c == '\n') {
                    inComment_ = false;
                    lineEnd();
                }
                continue;
            }
            if (c >= '0' && c <= '9') {
                if (!pending_) begin(i);
                number_ += c;
                continue;
            }
            if (c == '-' && !pending_) {
                begin(i);
                number_ += c;
                continue;
            }
            complete();
            if (!result_.ok) break;
            if (c == '\'') {
                inComment_ = true;
            } else if (c == '\n') {
                lineEnd();
            } else if (c == '&' && !offsets_) {
                lineEnd();
                offsets_ = true;
                group_ = 0;
            }
        }
        if (result_.ok) complete();
        return result_;
    }

private:
    void begin(std::size_t at) {
        pending_ = true;
        number_.clear();
        start_ = static_cast<int>(at);
    }

    void fail(int word) {
        result_.ok = false;
        result_.error.word = word;
        result_.error.token = lastToken_;
        result_.error.tokenStart = lastStart_;
        result_.error.inOffsets = offsets_;
    }

    void complete() {
        if (!pending_) return;
        pending_ = false;
        lastToken_ = number_;
        lastStart_ = start_;
        const double v = numberValue(number_);
        if (offsets_) {
            offsetNumber(v);
        } else {
            camNumber(v);
        }
    }

    void camNumber(double v) {
        if (onLine_ >= 3) return fail(6);
        if (onLine_ == 0) {
            if (ed_.CamRowCount >= EditorState::kMaxRows) {
                result_.error.tooManyRows = true;
                return fail(6);
            }
            if (v < 1 || v > 16) return fail(4);
        } else if (v < 0 || v > max_) {
            return fail(5);
        }
        const auto row = static_cast<std::size_t>(ed_.CamRowCount);
        if (ed_.CamRowSpans.size() <= row) ed_.CamRowSpans.resize(row + 1);
        ed_.CamRows[row][static_cast<std::size_t>(onLine_)] = v;
        ed_.CamRowSpans[row].start[static_cast<std::size_t>(onLine_)] = start_;
        ed_.CamRowSpans[row].length[static_cast<std::size_t>(onLine_)] = static_cast<int>(number_.size());
        ++onLine_;
    }

    void offsetNumber(double v) {
        if (group_ == 0) {
            if (v < 1 || v > 16) return fail(4);
            output_ = static_cast<int>(v);
        } else {
            if (v < -1800 || v > 1800) return fail(7);
            ed_.TextOffsets[static_cast<std::size_t>(group_ - 1)][static_cast<std::size_t>(output_ - 1)] =
                static_cast<std::int16_t>(v);
        }
        group_ = (group_ + 1) % 3;
    }

    void lineEnd() {
        if (offsets_) {
            group_ = 0;
            return;
        }
        const int n = onLine_;
        onLine_ = 0;
        if (n == 1) return fail(2);
        if (n == 2) return fail(3);
        if (n == 3) {
            ++ed_.CamRowCount;
            ed_.CamRowSpans.resize(static_cast<std::size_t>(ed_.CamRowCount));
        }
    }

    const std::string& text_;
    double max_;
    EditorState& ed_;
    ParseResult result_;
    bool inComment_ = false;
    bool offsets_ = false;
    bool pending_ = false;
    std::string number_;
    int start_ = 0;
    std::string lastToken_;
    int lastStart_ = 0;
    int onLine_ = 0;
    int group_ = 0;
    int output_ = 1;
};

}  // namespace

ParseResult parseCamText(const std::string& text, double maxPosition, EditorState& ed) {
    for (auto& row : ed.CamRows) row = {0, 0, 0};
    for (auto& side : ed.TextOffsets) side.fill(0);
    ed.CamRowCount = 0;
    ed.CamRowSpans.clear();
    return CamTextParser(text, maxPosition, ed).run();
}

}  // namespace gyrel
