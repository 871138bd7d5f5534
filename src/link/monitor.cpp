#include "link/monitor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/main_title.h"
#include "link/serial_link.h"

namespace gyrel {

namespace {

const Rgb kLightBlue{192, 192, 255};
const Rgb kLightRed{255, 192, 192};
const Rgb kGrey{224, 224, 224};
const Rgb kYellow{255, 255, 0};
const Rgb kLightGreen{159, 255, 145};
const char* const kOffLineCaption = " Off line";

}  // namespace

std::string numberText(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return std::to_string(static_cast<long long>(v));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string positionText(double position, const ModelGlobals& model) {
    if (!model.info().positionInTenths) return numberText(position);
    // "##0.0" of position / 10: positions are whole numbers, so the tenth is exact.
    if (position >= 0 && position == std::floor(position) && position < 1e15) {
        const auto p = static_cast<long long>(position);
        return std::to_string(p / 10) + "." + std::to_string(p % 10);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", position / 10);
    return buf;
}

double numericValue(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string num;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) num += text[i++];
    bool dot = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            num += c;
        } else if (c == '.' && !dot) {
            dot = true;
            num += c;
        } else if (c != ' ') {
            break;
        }
    }
    if (num.empty() || num == "-" || num == "+" || num == "." || num == "-." || num == "+.") return 0;
    return std::strtod(num.c_str(), nullptr);
}

int toleranceValue(const std::string& text) {
    const double v = std::nearbyint(numericValue(text));  // default rounding: half to even
    if (v > 32767) return 32767;
    if (v < -32768) return -32768;
    return static_cast<int>(v);
}

Monitor::Monitor(Context& ctx, SerialLink& link) : ctx_(ctx), link_(link) {}

std::string Monitor::comLabel(const std::string& gap) const { return ctx_.svc.port.comLabel(gap); }

std::string Monitor::normalTitle() const { return mainTitle(ctx_); }

void Monitor::setTitle(const std::string& title) {
    ctx_.main.title = title;
    if (ctx_.hooks.titleChanged) ctx_.hooks.titleChanged();
}

void Monitor::showStatusFrame(const StatusFrame& frame) {
    MainView& m = ctx_.main;
    const double pos = link_.CurrentPosition;
    m.FinProgr = numberText(static_cast<double>(frame.program) + ctx_.model.ProgramNumberOffset);
    m.FinCamme = numberText(frame.cams);
    m.FinQuota = positionText(pos, ctx_.model);
    if (m.turnDisplaysVisible && ctx_.model.StepsPerTurn > 0) {
        const double turns = std::floor(pos / ctx_.model.StepsPerTurn);
        m.LblGiri = numberText(turns);
        m.LblGiro = numberText(pos - turns * ctx_.model.StepsPerTurn);
    }
    m.FinOrigin = "--";
    m.barFillColour = pos <= ctx_.model.MaxPosition ? kLightBlue : kLightRed;
}

void Monitor::setOutputs(bool valid) {
    MainView& m = ctx_.main;
    for (int i = 0; i < 16; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m.Label1On[k] = false;
        if (i > ctx_.model.LastOutputIndex) {
            m.Shape1Fill[k] = FillStyle::Transparent;
            m.Shape1Border[k] = BorderStyle::Dotted;
            continue;
        }
        m.Shape1Border[k] = BorderStyle::Solid;
        if (!valid) {
            m.Shape1Fill[k] = FillStyle::HorizontalHatch;
            continue;
        }
        const bool on = (link_.OutputBits >> i) & 1u;
        m.Shape1Fill[k] = on ? FillStyle::Solid : FillStyle::Transparent;
        m.Label1On[k] = on;
    }
}

void Monitor::LeggiDato() {
    MainView& m = ctx_.main;
    const double pos = link_.CurrentPosition;
    const double ratio = ctx_.model.MaxPosition > 0 ? m.barFrameWidth / ctx_.model.MaxPosition : 0;

    // Only a valid frame can say "no program": a lost device must still show as lost.
    if (link_.ChecksumOk && pos == static_cast<double>(kNoProgramPosition)) {
        m.FinQuota = "NO PROG";
        m.FinCamme = "--";
        return;
    }

    if (link_.ChecksumOk) {
        if (WasOffline) ctx_.svc.op.beep();
        WasOffline = false;
        WasOnline = true;
        if (m.Check1Caption != kOffLineCaption) m.Check1Caption = kOffLineCaption;
        if (m.minimized) {
            // The contents are not refreshed while minimized; the title carries the position.
            link_.WaitMs(20);
            setTitle(m.FinQuota + " --> " + " " + comLabel("") + "-" + ctx_.model.SpeedText);
            link_.WaitMs(120);
            return;
        }
        if (pos != LastShownPosition) m.barFillWidth = static_cast<int>(std::lround(ratio * pos + 10));
        setOutputs(true);
        LastShownPosition = pos;
        return;
    }

    WasOffline = true;
    m.FinQuota = "- - -  ";
    m.FinProgr = "--";
    m.FinCamme = "--";
    m.FinOrigin = "--";
    m.barFillWidth = 0;
    if (m.minimized) {
        link_.WaitMs(20);
        setTitle(m.FinQuota + " " + comLabel(" ") + "   ");
        link_.WaitMs(100);
    } else {
        LastShownPosition = -1;
        setOutputs(false);
        if (m.Check1Caption != kOffLineCaption) m.FinQuota = "offline";
    }
    if (WasOnline) {
        m.barFillWidth = 1;
        ctx_.svc.op.beep();
        WasOnline = false;
    }
}

void Monitor::VerificaQuote() {
    PositionTestView& t = ctx_.posTest;
    const double turns = numericValue(ctx_.main.LblGiri);
    const std::string* tolText;
    if (turns < 2) {
        t.TxtPrimiBack = kLightGreen;
        t.TxtSuccessiviBack = kGrey;
        tolText = &t.TxtPrimi;
    } else {
        t.TxtPrimiBack = kGrey;
        t.TxtSuccessiviBack = kLightGreen;
        tolText = &t.TxtSuccessivi;
    }
    const int tol = toleranceValue(*tolText);
    const double pos = link_.CurrentPosition;
    const double step = pos - PrevTestPosition;
    t.Label6 = numberText(step);

    if (ctx_.model.MaxPosition - tol <= std::fabs(step)) {  // a pass through zero
        PrevTestPosition = pos;
        return;
    }
    if (step > numericValue(t.LblMax)) t.LblMax = numberText(step);
    if (step < numericValue(t.LblMin)) t.LblMin = numberText(step);
    if (std::fabs(step) <= tol) {
        ctx_.main.FinQuotaBack = kGrey;
        PrevTestPosition = pos;
        return;
    }

    ctx_.main.FinQuotaBack = kYellow;
    const std::string line = numberText(pos) + "     " + numberText(step);
    for (std::size_t i = 0; i < 14; ++i) {
        if (t.Label1[i].empty()) {
            t.Label1[i] = line;
            break;
        }
    }
    t.Label1[14] = line;
    if (TestErrorCount < 32767) ++TestErrorCount;
    t.Label5 = std::to_string(TestErrorCount);
    PrevTestPosition = pos;
}

void Monitor::TestEncoderClick() {
    MainView& m = ctx_.main;
    m.testEncoderChecked = !m.testEncoderChecked;
    if (ctx_.hooks.showPositionTest)
        ctx_.hooks.showPositionTest(m.testEncoderChecked);
    else
        ctx_.posTest.visible = m.testEncoderChecked;
    if (m.testEncoderChecked) {
        PrevTestPosition = link_.CurrentPosition;
        TestErrorCount = 0;
    }
}

void Monitor::EnbEconClick() {
    ctx_.main.enbEconChecked = !ctx_.main.enbEconChecked;
    ctx_.main.econVisible = ctx_.main.enbEconChecked;
}

void Monitor::windowResized() {
    if (ctx_.main.minimized)
        setTitle(numberText(link_.CurrentPosition) + " --> " + " " + comLabel("") + "-" + ctx_.model.SpeedText);
    else
        setTitle(normalTitle());
}

}  // namespace gyrel
