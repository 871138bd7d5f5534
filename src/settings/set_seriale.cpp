#include "settings/set_seriale.h"

#include <cctype>

namespace gyrel {
namespace {

constexpr std::array<const char*, 8> kSpeedButtons = {"Baud3",  "Baud6",  "Baud12",  "Baud24",
                                                      "Baud48", "Baud96", "Baud192", "Baud1152"};

// The leading whole number of a text, 0 when there is none (as Val reads it).
long leadingNumber(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    long v = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && v < 100000000; ++i)
        v = v * 10 + (s[i] - '0');
    return v;
}

bool allDigits(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// A number names the port unless a path does.
bool samePort(const PortChoice& a, const PortChoice& b) {
    if (a.path.empty() && b.path.empty()) return a.number == b.number;
    return a.path == b.path;
}

// The fields of a Settings text at the fixed places the dialog relies on
// ("speed,p,d,s"); a field that is not there reads as nothing.
struct SettingsFields {
    long speed = 0;
    char parity = 0;
    int data = 0;
    int stop = 0;
};

SettingsFields fieldsOf(const std::string& s) {
    SettingsFields f;
    const auto c = s.find(',');
    f.speed = leadingNumber(s.substr(0, c));
    if (c == std::string::npos) return f;
    auto at = [&](std::size_t i) { return i < s.size() ? s[i] : '\0'; };
    f.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(at(c + 1))));
    if (std::isdigit(static_cast<unsigned char>(at(c + 3)))) f.data = at(c + 3) - '0';
    if (std::isdigit(static_cast<unsigned char>(at(c + 5)))) f.stop = at(c + 5) - '0';
    return f;
}

const char* speedButtonFor(long speed) {
    for (std::size_t i = 0; i < kSpeedButtons.size(); ++i)
        if (std::to_string(speed) == SetSeriale::speeds()[i]) return kSpeedButtons[i];
    return nullptr;
}

const char* parityButtonFor(char p) {
    if (p == 'N') return "NoParity";
    if (p == 'E') return "EvenParity";
    if (p == 'O') return "OddParity";
    return nullptr;
}

const char* dataButtonFor(int d) { return d == 7 ? "Data7" : d == 8 ? "Data8" : nullptr; }
const char* stopButtonFor(int s) { return s == 1 ? "Stop1" : s == 2 ? "Stop2" : nullptr; }
constexpr std::array<const char*, 4> kFlowButtons = {"NoFlow", "XonFlow", "RTSFlow", "BothFlow"};

}  // namespace

const std::array<const char*, 8>& SetSeriale::speeds() {
    static const std::array<const char*, 8> kSpeeds = {"300", "600", "1200", "2400", "4800", "9600", "19200", "115200"};
    return kSpeeds;
}

SetSeriale::SetSeriale(SerialPort& port, Clock& clock, Operator& op) : port_(port), clock_(clock), op_(op) {}

PortChoice SetSeriale::current() const { return PortChoice{port_.commPort(), port_.portName()}; }

void SetSeriale::setPortTo(const PortChoice& p) {
    if (p.path.empty()) {
        port_.setPortName("");
        port_.setCommPort(p.number);
    } else {
        port_.setPortName(p.path);
    }
}

void SetSeriale::BaudColor(int speed) {
    if (const char* b = speedButtonFor(speed)) view_.brown.insert(b);
}

void SetSeriale::Default(const std::vector<int>& speedsToMark) {
    if (!loaded_) Load();
    view_.brown.clear();
    for (int s : speedsToMark)
        if (s != 0) BaudColor(s);
    const SettingsFields f = fieldsOf(port_.settings());
    for (const char* b : {parityButtonFor(f.parity), dataButtonFor(f.data), stopButtonFor(f.stop)})
        if (b) view_.brown.insert(b);
}

void SetSeriale::Load() {
    loaded_ = true;
    scan();
}

void SetSeriale::Activate() {
    view_.advanced = false;
    view_.advCaption = "Advanced";
    scan();
}

void SetSeriale::AdvButtonClick() {
    view_.advanced = !view_.advanced;
    view_.advCaption = view_.advanced ? "Normal" : "Advanced";
}

// Selecting a button from code runs its click handler, so after this the
// stored choices equal the port's own; a value without a button selects none
// and leaves the stored choice as it was.
void SetSeriale::reflectSettings() {
    const SettingsFields f = fieldsOf(port_.settings());
    view_.speedButton.clear();
    view_.parityButton.clear();
    view_.dataButton.clear();
    view_.stopButton.clear();
    view_.flowButton.clear();
    if (speedButtonFor(f.speed)) speedClick(std::to_string(f.speed));
    if (parityButtonFor(f.parity)) parityClick(f.parity);
    if (dataButtonFor(f.data)) dataBitsClick(f.data);
    if (stopButtonFor(f.stop)) stopBitsClick(f.stop);
    const int h = port_.handshaking();
    if (h >= 0 && h <= 3) flowClick(h);
}

void SetSeriale::Setta() {
    if (!loaded_) Load();
    closedByOk_ = false;
    view_.failureText.clear();
    select(current());
    reflectSettings();
    echoClick(false);
    view_.visible = true;
    Activate();
    select(selected_);  // the scan may have put the port among the buttons
}

void SetSeriale::showForOpenFailure(const std::string& reason) {
    Setta();
    view_.failureText = reason;
}

void SetSeriale::speedClick(const std::string& caption) {
    for (std::size_t i = 0; i < speeds().size(); ++i) {
        if (caption != speeds()[i]) continue;
        speed_ = caption;
        view_.speedButton = kSpeedButtons[i];
    }
}

void SetSeriale::parityClick(char letter) {
    if (const char* b = parityButtonFor(letter)) {
        parity_ = std::string(1, letter);
        view_.parityButton = b;
    }
}

void SetSeriale::dataBitsClick(int bits) {
    if (const char* b = dataButtonFor(bits)) {
        data_ = std::to_string(bits);
        view_.dataButton = b;
    }
}

void SetSeriale::stopBitsClick(int bits) {
    if (const char* b = stopButtonFor(bits)) {
        stop_ = std::to_string(bits);
        view_.stopButton = b;
    }
}

void SetSeriale::flowClick(int index) {
    if (index < 0 || index > 3) return;
    flow_ = index;
    view_.flowButton = kFlowButtons[static_cast<std::size_t>(index)];
}

std::string SetSeriale::settingsText() const { return speed_ + "," + parity_ + "," + data_ + "," + stop_; }

void SetSeriale::select(const PortChoice& p) {
    selected_ = p;
    view_.comboText = p.caption();
    view_.comPortSelected = 0;
    for (std::size_t i = 0; i < view_.comPortCaption.size(); ++i)
        if (view_.comPortVisible[i] && view_.comPortCaption[i] == view_.comboText)
            view_.comPortSelected = static_cast<int>(i) + 1;
}

void SetSeriale::ComPortClick(int i) {
    if (i < 1 || i > 6 || !view_.comPortVisible[static_cast<std::size_t>(i - 1)]) return;
    select(available_[static_cast<std::size_t>(i - 1)]);
}

void SetSeriale::ComPortDblClick(int i) {
    ComPortClick(i);
    OKButtonClick();
}

void SetSeriale::Combo1Change(const std::string& text) {
    const std::string t = trimmed(text);
    PortChoice p;
    if (allDigits(t) || !typedPathsAllowed || t.empty()) {
        p.number = static_cast<int>(leadingNumber(t));
    } else {
        p.number = port_.commPort();
        p.path = t;
    }
    select(p);
    view_.comboText = text;
}

bool SetSeriale::tryOpen(const PortChoice& p) {
    bool ok = false;
    try {
        setPortTo(p);
        port_.setPortOpen(true);
        ok = port_.portOpen();
    } catch (const SerialError&) {
    }
    try {
        if (port_.portOpen()) port_.setPortOpen(false);
    } catch (const SerialError&) {
    }
    clock_.pumpEvents();
    return ok;
}

LineOwner::Claim SetSeriale::claimLine() {
    if (!line) return {};
    LineOwner::Claim claim = line->claim("port scan");
    if (!claim) view_.failureText = claim.refusedBy();
    return claim;
}

// Lists the ports that can be opened now; the port itself is left as it was.
void SetSeriale::scan() {
    // Closing and reopening the port under a running transfer would cut it.
    if (lineBusy) {
        if (const char* why = lineBusy()) {
            view_.failureText = why;
            return;
        }
    }
    const LineOwner::Claim claim = claimLine();
    if (line && !claim) return;
    const PortChoice before = current();
    const std::string settings = port_.settings();
    const bool wasOpen = port_.portOpen();
    try {
        if (wasOpen) port_.setPortOpen(false);
    } catch (const SerialError&) {
    }

    available_.clear();
    for (int n = kScanFirst; n <= kScanLast && available_.size() < kMaxPorts; ++n)
        if (tryOpen(PortChoice{n, ""})) available_.push_back(PortChoice{n, ""});
    std::vector<std::string> paths;
    if (listDevicePaths) paths = listDevicePaths();
    if (!before.path.empty()) paths.push_back(before.path);
    for (const std::string& path : paths) {
        if (available_.size() >= kMaxPorts) break;
        const PortChoice p{before.number, path};
        bool seen = false;
        for (const PortChoice& a : available_) seen = seen || a.path == path;
        if (!seen && tryOpen(p)) available_.push_back(p);
    }

    view_.comboItems.clear();
    for (const PortChoice& a : available_) view_.comboItems.push_back(a.caption());
    for (std::size_t i = 0; i < view_.comPortCaption.size(); ++i) {
        view_.comPortVisible[i] = i < available_.size();
        view_.comPortCaption[i] = i < available_.size() ? available_[i].caption() : std::string();
    }
    view_.comboVisible = available_.size() > 6 || typedPathsAllowed;

    try {
        setPortTo(before);
        port_.setSettings(settings);
        if (wasOpen) port_.setPortOpen(true);
    } catch (const SerialError&) {
    }
    select(selected_);
}

void SetSeriale::fail(const std::string& text) { op_.messageBox(text, MsgButtons::Ok, MsgIcon::Exclamation, kTitle); }

bool SetSeriale::OKButtonClick() {
    if (lineBusy) {
        if (const char* why = lineBusy()) {
            view_.failureText = why;
            return false;
        }
    }
    const LineOwner::Claim claim = claimLine();
    if (line && !claim) return false;
    const PortChoice old = current();
    if (!samePort(selected_, old)) {
        const bool wasOpen = port_.portOpen();
        try {
            if (wasOpen) port_.setPortOpen(false);
            setPortTo(selected_);
            port_.setPortOpen(true);
            // Opened only to prove the choice: a port nobody was using is not
            // kept from other programs.
            if (!wasOpen) port_.setPortOpen(false);
        } catch (const SerialError& e) {
            fail(e.what());
            try {
                if (port_.portOpen()) port_.setPortOpen(false);
                setPortTo(old);
                if (wasOpen) port_.setPortOpen(true);
            } catch (const SerialError&) {
            }
            select(old);
            return false;
        }
    }
    try {
        port_.setSettings(settingsText());
        port_.setHandshaking(flow_);
    } catch (const SerialError& e) {
        fail(e.what());
        return false;
    }
    view_.visible = false;
    view_.failureText.clear();
    closedByOk_ = true;
    return true;
}

void SetSeriale::CancelButtonClick() {
    view_.visible = false;
    closedByOk_ = false;
}

}  // namespace gyrel
