#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/context.h"
#include "device/model_table.h"
#include "platform/bytes.h"

namespace gyrel {

// Who holds the port open (PortUsers bits).
enum PortUser : int {
    UserMonitor = 1,
    UserEditor = 8,
    UserOldModel = 16,
    UserUpload = 32,
    UserOrigin = 64,
};

// rx_msg results.
enum RxResult : int {
    RxNothing = 0,        // empty slot remembered, or the resynchronisation display ran
    RxData = 64,
    RxStatus = 128,
    RxAck = 255,
    RxNoReply = 1000,
};

// The serial link of the main window: the port's users, the status query, the
// collection and classification of every reply, the link quality, the polling loop.
// The implementation owns the status display state (see link/monitor.h).
class Monitor;

class SerialLink {
public:
    explicit SerialLink(Context& ctx);
    ~SerialLink();

    // Port configuration at start-up: Settings = speed + ",n,8,1" and the other presets.
    // A commPort above 0 also sets CommPort.
    void presetPort(const std::string& speed, int commPort = 0);

    // Claims the port for `user`, opening it when needed. When it cannot be opened
    // the serial settings dialog is offered again; false when the operator gave up
    // (the user bit is then released again).
    bool apri_com(int user);
    void chiudi_com(int user);

    void TxQuery();
    // Waits for, classifies and decodes one reply; returns an RxResult.
    int rx_msg();
    void send_query();
    void WaitMs(int ms);

    // The on-line toggle Check1 released by the mouse (its state already changed).
    // While a transfer runs, polling is deferred until it ends, with the reason shown.
    void check1MouseUp(bool checked);

    // A transfer (download, V712, upload, origin exchange) holds the line.
    bool transferRunning() const { return ctx_.EditorBusy || ctx_.lineClaimed(); }
    // Called when a transfer takes the line: a status reply still on its way is
    // let in (or its end-of-frame time passes) before the transfer empties the input.
    void awaitStatusReply();

    // The link-quality bars Shape3(0..4) from LinkQuality and PollingActive.
    void ShowLinkQuality();
    // The status display (refresh, position test, menu toggles, minimized title).
    Monitor& monitor();
    void LeggiDato();
    void VerificaQuote();

    // Called after every query of the polling loop (the command line counts its polls).
    std::function<void()> afterQuery;

    int PortUsers = 0;
    bool PollingActive = false;
    bool ChecksumOk = false;
    int LinkQuality = 0;
    Rgb LinkQualityColour{255, 0, 0};
    double CurrentPosition = 0;
    std::uint32_t OutputBits = 0;
    int EconIdleCount = 0;
    std::string EconLastText;
    bool EmptySlotSeen = false;

private:
    int receiveReply();
    void setQuality(int quality, Rgb colour);
    void linkLost();
    bool reopenLostPort();
    void resyncDisplay();
    void emptySlotReported();

    Context& ctx_;
    bool ownsLeggiDatoHook_ = false;
    double queryAtMs_ = -1;  // when the status query now awaiting its reply was sent; -1 none
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace gyrel
