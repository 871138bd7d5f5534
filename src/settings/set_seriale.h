#pragma once
#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "device/model_table.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "link/line_owner.h"
#include "platform/serial_port.h"

namespace gyrel {

// One port the scan found: a port number, or (where numbers do not name every
// device, as on Linux) a device path.
struct PortChoice {
    int number = 0;    // 1..16 when found by number
    std::string path;  // device path, or empty
    std::string caption() const { return path.empty() ? std::to_string(number) : path; }
    bool operator==(const PortChoice& o) const { return number == o.number && path == o.path; }
};

// What the dialog SetSeriale shows, as plain data.
struct SerialDialogView {
    bool visible = false;
    bool advanced = false;                 // all seven groups shown; else only "&Com Port"
    std::string advCaption = "Advanced";   // AdvButton: "Advanced" / "Normal"
    Rgb background{192, 192, 192};
    std::set<std::string> brown;           // option buttons with the factory-setting colour

    // Selected options (the control names; empty = none selected).
    std::string speedButton;
    std::string parityButton;
    std::string dataButton;
    std::string stopButton;
    std::string flowButton;
    std::string echoButton = "EchoOff";

    std::array<std::string, 6> comPortCaption{};  // ComPort(1..6)
    std::array<bool, 6> comPortVisible{};
    int comPortSelected = 0;                      // 1..6, 0 = none
    bool comboVisible = false;                    // Combo1
    std::string comboText;
    std::vector<std::string> comboItems;
    std::string failureText;  // why the port could not be opened, or why it may not be touched now
};

// The serial port settings dialog: scans the ports that can be opened and sets
// the port number (or device path), speed, parity, data bits, stop bits and
// flow control of the main window's port.
class SetSeriale {
public:
    static constexpr const char* kTitle = "RS232 Communication Settings";
    static constexpr int kScanFirst = 1;
    static constexpr int kScanLast = 16;
    static constexpr std::size_t kMaxPorts = 30;
    static const std::array<const char*, 8>& speeds();  // the captions of Baud3..Baud1152

    SetSeriale(SerialPort& port, Clock& clock, Operator& op);

    // Device paths to try besides the numbered ports (USB adapters on Linux).
    std::function<std::vector<std::string>()> listDevicePaths;
    // Why the port may not be touched now (a transfer runs), or nullptr: the scan
    // and OK then leave the port alone and show the reason instead.
    std::function<const char*()> lineBusy;
    // The line's owner, when the dialog shares the port with conversations: the
    // scan and OK claim the line while they close and reopen the port.
    LineOwner* line = nullptr;
    // A device path may be typed into Combo1 (pseudo-terminals are never listed).
    bool typedPathsAllowed = false;

    const SerialDialogView& view() const { return view_; }

    // Called once at start-up: colours the factory settings in brown.
    void Default(const std::vector<int>& speeds);
    void BaudColor(int speed);
    void Sfondi(Rgb colour) { view_.background = colour; }
    // Reflects the port's settings and makes the dialog visible.
    void Setta();
    // Shown because the port could not be opened: the reason is shown with it.
    void showForOpenFailure(const std::string& reason);

    // Window events.
    void Load();      // first creation: the scan
    void Activate();  // each activation: compact layout and a new scan
    void PulsUpdtClick() { scan(); }
    void AdvButtonClick();
    void speedClick(const std::string& caption);
    void parityClick(char letter);     // 'N', 'E', 'O'
    void dataBitsClick(int bits);      // 7, 8
    void stopBitsClick(int bits);      // 1, 2
    void flowClick(int index);         // 0..3
    void echoClick(bool on) { view_.echoButton = on ? "EchoOn" : "EchoOff"; }
    void ComPortClick(int i);          // 1..6
    void ComPortDblClick(int i);
    void Combo1Change(const std::string& text);
    // true when the settings were applied and the dialog hidden.
    bool OKButtonClick();
    void CancelButtonClick();  // also the close box

    // The stored choices (what OK will apply).
    const std::vector<PortChoice>& availablePorts() const { return available_; }
    const PortChoice& selectedPort() const { return selected_; }
    std::string settingsText() const;
    int flowIndex() const { return flow_; }
    // How the dialog was last closed: true by OK.
    bool closedByOk() const { return closedByOk_; }

private:
    LineOwner::Claim claimLine();  // refused: the holder is shown
    void scan();
    bool tryOpen(const PortChoice& p);
    void select(const PortChoice& p);
    void reflectSettings();
    void fail(const std::string& text);
    PortChoice current() const;
    void setPortTo(const PortChoice& p);

    SerialPort& port_;
    Clock& clock_;
    Operator& op_;
    SerialDialogView view_;
    std::vector<PortChoice> available_;
    PortChoice selected_;
    std::string speed_ = "9600";
    std::string parity_ = "N";
    std::string data_ = "8";
    std::string stop_ = "1";
    int flow_ = 0;
    bool loaded_ = false;
    bool closedByOk_ = false;
};

}  // namespace gyrel
