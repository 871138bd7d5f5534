#include "link/serial_link.h"

#include "link/monitor.h"
#include "link/reply.h"
#include "link/status_frame.h"

namespace gyrel {

namespace {

const Rgb kGreen{0, 192, 0};
const Rgb kDarkGreen{0, 128, 0};
const Rgb kBrownOrange{192, 64, 0};
const Rgb kYellow{255, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kLightBlue{192, 192, 255};
const Rgb kDarkRed{192, 0, 0};

constexpr int kEconLimitOnline = 1500;
constexpr int kEconLimitSilent = 100;
constexpr int kEconCountCap = 32000;
constexpr int kEconPauseMs = 2000;
constexpr int kDeferredPollMs = 100;
constexpr int kMissingPollMs = 180;  // one reply round: a missing poll takes as long as a silent one  // how often a deferred on-line toggle looks for the line

}  // namespace

struct SerialLink::Impl {
    Impl(Context& ctx, SerialLink& link) : monitor(ctx, link), timer2(ctx.svc.clock.createTimer()) {}
    Monitor monitor;
    std::unique_ptr<Timer> timer2;  // restarts polling during the economy pause
};

SerialLink::SerialLink(Context& ctx) : ctx_(ctx), impl_(std::make_unique<Impl>(ctx, *this)) {
    impl_->timer2->onTick = [this] {
        // A tick inside a transfer's wait must not query: its reply would be
        // taken for the transfer's, and emptying the buffers could cut a frame.
        if (transferRunning()) return;
        // A deferred on-line toggle starts one polling loop; no tick may start another inside it.
        if (impl_->timer2->interval() == kDeferredPollMs) impl_->timer2->setEnabled(false);
        send_query();
    };
    if (!ctx_.hooks.leggiDato) {
        ctx_.hooks.leggiDato = [this] { LeggiDato(); };
        ownsLeggiDatoHook_ = true;
    }
}

SerialLink::~SerialLink() {
    if (ownsLeggiDatoHook_) ctx_.hooks.leggiDato = nullptr;
}

Monitor& SerialLink::monitor() { return impl_->monitor; }
void SerialLink::LeggiDato() { impl_->monitor.LeggiDato(); }
void SerialLink::VerificaQuote() { impl_->monitor.VerificaQuote(); }

void SerialLink::WaitMs(int ms) { ctx_.svc.clock.waitMs(ms); }

void SerialLink::presetPort(const std::string& speed, int commPort) {
    SerialPort& port = ctx_.svc.port;
    // Each property on its own: a closed port refuses the buffer counts, and that
    // must not keep the others from being set.
    auto trap = [](auto&& set) {
        try {
            set();
        } catch (const SerialError&) {
        }
    };
    trap([&] { port.setSettings(speed + ",n,8,1"); });
    trap([&] { port.setHandshaking(0); });
    trap([&] { port.setInputLen(0); });
    trap([&] { port.setRTSEnable(false); });
    trap([&] { ctx_.line.emptyInput(); });
    trap([&] { port.setInBufferSize(1024); });
    trap([&] { ctx_.line.emptyOutput(); });
    if (commPort > 0) trap([&] { port.setCommPort(commPort); });
}

bool SerialLink::apri_com(int user) {
    LineOwner& line = ctx_.line;
    for (;;) {
        // Wait (in small steps, events flowing) while the serial settings are being edited.
        while (ctx_.hooks.serialDialogVisible && ctx_.hooks.serialDialogVisible()) WaitMs(10);
        PortUsers |= user;
        if (line.isOpen()) return true;
        try {
            line.open();
            if (line.isOpen() || ctx_.svc.clock.waitUntil([&] { return line.isOpen(); }, 1000)) return true;
        } catch (const SerialError&) {
        }
        // Missing or busy: the operator may choose another port, or give up.
        const bool retry = ctx_.hooks.serialDialogForOpenFailure && ctx_.hooks.serialDialogForOpenFailure();
        if (!retry) {
            PortUsers &= ~user;
            return false;
        }
    }
}

void SerialLink::chiudi_com(int user) {
    PortUsers &= ~user;
    if (PortUsers < 1 && ctx_.line.isOpen()) {
        try {
            ctx_.line.close();
        } catch (const SerialError&) {
        }
    }
}

void SerialLink::ShowLinkQuality() {
    MainView& m = ctx_.main;
    for (int i = 0; i < 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (i <= LinkQuality) m.Shape3Colour[k] = LinkQualityColour;
        m.Shape3Visible[k] = PollingActive && i <= LinkQuality;
    }
}

void SerialLink::setQuality(int quality, Rgb colour) {
    LinkQuality = quality;
    LinkQualityColour = colour;
}

// The port failed under us (device unplugged, driver error): nothing read can be
// trusted. The port is closed and the link shown lost; polling goes on, and
// each poll looks for the device again (a re-plugged adapter at the same path).
void SerialLink::linkLost() {
    ChecksumOk = false;
    setQuality(0, kRed);
    try {
        if (ctx_.line.isOpen()) ctx_.line.close();
    } catch (const SerialError&) {
    }
    ShowLinkQuality();
}

// A poll while the device is gone: one attempt to open it again. false when it
// is still missing (the poll is then a missing one, a reply round long).
bool SerialLink::reopenLostPort() {
    LineOwner& line = ctx_.line;
    if (line.isOpen() || !(PortUsers & UserMonitor)) return true;
    try {
        line.open();
        if (line.isOpen()) return true;
    } catch (const SerialError&) {
    }
    ChecksumOk = false;
    setQuality(0, kRed);
    ShowLinkQuality();
    LeggiDato();
    WaitMs(kMissingPollMs);
    return false;
}

void SerialLink::TxQuery() {
    if (ctx_.EditorBusy) return;
    // Refused while a conversation holds the line: the monitor sends nothing then.
    const LineOwner::Claim claim = ctx_.line.claim("status poll", LineOwner::Kind::Poll);
    if (!claim) return;
    if (!reopenLostPort()) return;
    LineOwner& line = ctx_.line;
    try {
        line.emptyBoth();
        line.send(0x80);
        line.setMode(InputMode::Binary);
    } catch (const SerialError&) {
        linkLost();
        LeggiDato();
        return;
    }
    queryAtMs_ = ctx_.svc.clock.nowMs();
    ctx_.svc.clock.pumpEvents();
    rx_msg();
    queryAtMs_ = -1;
    LeggiDato();
    if (ctx_.main.testEncoderChecked) VerificaQuote();
}

void SerialLink::resyncDisplay() {
    static const std::string text = "S y n c";
    for (std::size_t n = 1; n <= text.size(); ++n) {
        ctx_.main.FinQuota = text.substr(0, n);
        WaitMs(40);
    }
    WaitMs(800);
}

void SerialLink::emptySlotReported() {
    MainView& m = ctx_.main;
    m.FinQuota = "no prg";
    m.FinProgr = "--";
    m.FinCamme = "--";
    m.FinOrigin = "--";
    m.Check1Checked = false;
    PollingActive = false;
    const std::string text = std::string(ctx_.msg(27)) + "\r\n" + ctx_.msg(28) + "\r\n\r\n" + ctx_.msg(29);
    ctx_.svc.op.messageBox(text, MsgButtons::Ok, MsgIcon::None, ctx_.msg(26));
}

int SerialLink::rx_msg() {
    try {
        return receiveReply();
    } catch (const SerialError&) {
        linkLost();
        return RxNoReply;
    }
}

int SerialLink::receiveReply() {
    LineOwner& line = ctx_.line;
    int c = 0;
    do {
        ++c;
        WaitMs(35);
        setQuality(4, kGreen);
        if (line.waiting() >= 19) break;
        setQuality(3, kDarkGreen);
        WaitMs(15);
        if (line.waiting() >= 19) break;
        setQuality(2, kBrownOrange);
        WaitMs(30);
        if (line.waiting() >= 19) break;
        setQuality(1, kYellow);
        WaitMs(100);
        if (ctx_.CancelRequested) break;
    } while (c < ctx_.model.RxTimeoutFactor);
    if (c > 1) setQuality(1, kYellow);
    if (line.waiting() < 1) setQuality(0, kRed);
    ShowLinkQuality();

    const int n = line.waiting();
    Bytes b;
    if (n > 0 && n <= static_cast<int>(kLongestReply) && line.isOpen()) b = line.take();
    const ReplyVerdict v = classifyReply(b);
    switch (v.kind) {
        case ReplyKind::Status: {
            if (EmptySlotSeen) resyncDisplay();
            EmptySlotSeen = false;
            ChecksumOk = v.checksumOk;
            const StatusFrame f = decodeStatusFrame(b, ctx_.model.info().layout);
            CurrentPosition = f.position;
            OutputBits = f.outputs;
            impl_->monitor.showStatusFrame(f);
            return RxStatus;
        }
        case ReplyKind::Data:
            ChecksumOk = v.checksumOk;
            return RxData;
        case ReplyKind::Ack:
            EmptySlotSeen = false;
            return RxAck;
        case ReplyKind::EmptySlot:
            if (!EmptySlotSeen) {
                EmptySlotSeen = true;  // the first one is only remembered
                return RxNothing;
            }
            emptySlotReported();
            return RxNothing;
        case ReplyKind::None:
            break;
    }
    if (!EmptySlotSeen) {
        ChecksumOk = false;
        WaitMs(100);
        return RxNoReply;
    }
    resyncDisplay();
    EmptySlotSeen = false;
    return RxNothing;
}

void SerialLink::send_query() {
    MainView& m = ctx_.main;
    Timer& timer2 = *impl_->timer2;
    m.econBack = kLightBlue;
    bool pause = false;
    if (apri_com(UserMonitor)) {
        m.Check1Caption = " Off line";
        m.busyNotice.clear();
        for (;;) {
            ctx_.svc.clock.pumpEvents();
            const bool editorHoldsLine = transferRunning();
            TxQuery();  // sends nothing while the editor transfers
            if (afterQuery) afterQuery();
            if (m.enbEconChecked) {
                if (m.FinQuota == EconLastText) {
                    if (EconIdleCount < kEconCountCap) ++EconIdleCount;
                } else {
                    EconIdleCount = 0;
                    timer2.setEnabled(false);
                    m.econBack = kLightBlue;
                }
                if ((LinkQuality != 0 && EconIdleCount > kEconLimitOnline) ||
                    (LinkQuality == 0 && EconIdleCount > kEconLimitSilent)) {
                    pause = true;
                    break;
                }
            }
            EconLastText = m.FinQuota;
            if (!PollingActive) break;
            // Nothing was sent, so nothing was waited for: let time pass rather than spin.
            if (editorHoldsLine) WaitMs(10);
        }
    } else {
        // No port and the operator gave up: go off line cleanly.
        PollingActive = false;
        m.Check1Checked = false;
    }

    if (pause) {
        ctx_.svc.clock.pumpEvents();
        // Re-arming an already running 2-s timer would stretch the rhythm by the query time.
        if (timer2.interval() != kEconPauseMs) timer2.setInterval(kEconPauseMs);
        timer2.setEnabled(m.Check1Checked);
        m.econBack = kDarkRed;
        if (m.Check1Checked) return;  // the port stays held; Timer2 queries again
    }

    timer2.setEnabled(false);
    m.Check1Caption = " On line";
    ChecksumOk = false;
    LeggiDato();
    ShowLinkQuality();
    chiudi_com(UserMonitor);
    EconLastText = m.FinQuota;
    m.econBack = kLightBlue;
}

void SerialLink::check1MouseUp(bool checked) {
    ctx_.main.Check1Checked = checked;
    PollingActive = checked;
    ctx_.main.busyNotice.clear();
    if (!PollingActive) {
        // A deferred start is called off; an economy pause ends at its next tick as before.
        if (impl_->timer2->interval() == kDeferredPollMs) impl_->timer2->setEnabled(false);
        return;
    }
    if (transferRunning()) {
        // A polling loop started here would run inside the transfer's wait and
        // hold it up until the operator went off line: Timer2 starts it once
        // the transfer has ended.
        ctx_.main.busyNotice = ctx_.texts->lineBusy;
        impl_->timer2->setInterval(kDeferredPollMs);
        impl_->timer2->setEnabled(true);
        return;
    }
    // Back on line before an economy pause ran out: this loop takes over from Timer2,
    // which must not start a second one inside it.
    impl_->timer2->setEnabled(false);
    send_query();
}

void SerialLink::awaitStatusReply() {
    if (queryAtMs_ < 0) return;
    LineOwner& line = ctx_.line;
    // The whole reply is on the line within its 19 bytes' line time after the
    // query's, plus the device's turnaround; 180 ms covers every model's speed.
    constexpr int kLongestStatusMs = 180;
    const double end = queryAtMs_ + kLongestStatusMs;
    ctx_.svc.clock.waitUntil(
        [&] {
            try {
                return !line.isOpen() || line.waiting() >= 19 || ctx_.svc.clock.nowMs() >= end;
            } catch (const SerialError&) {
                return true;
            }
        },
        kLongestStatusMs);
    queryAtMs_ = -1;
}

}  // namespace gyrel
