#include "support/scripted_port.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace gyrel {

Bytes bytesOf(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

ScriptedPort::ScriptedPort(VirtualClock& clock) : clock_(clock) {
    for (int i = 1; i <= 16; ++i) existingPorts.insert(i);
}

void ScriptedPort::requireOpen(const char* what) const {
    if (!open_) throw SerialError(SerialError::Kind::NotOpen, std::string(what) + ": port is not open");
    if (pulled_) throw SerialError(SerialError::Kind::Io, std::string(what) + ": device removed");
}

void ScriptedPort::deliverAt(double atMs, Bytes bytes) { inFlight_.push_back({atMs, std::move(bytes)}); }

void ScriptedPort::failOpens(int count, SerialError::Kind kind) {
    failOpens_ = count;
    failKind_ = kind;
}

void ScriptedPort::receiveDue() {
    std::stable_sort(inFlight_.begin(), inFlight_.end(),
                     [](const Arrival& a, const Arrival& b) { return a.atMs < b.atMs; });
    auto it = inFlight_.begin();
    for (; it != inFlight_.end() && it->atMs <= clock_.nowMs(); ++it) {
        if (open_) received_.insert(received_.end(), it->bytes.begin(), it->bytes.end());
    }
    inFlight_.erase(inFlight_.begin(), it);
}

void ScriptedPort::setCommPort(int number) {
    if (open_) throw SerialError(SerialError::Kind::Busy, "port already open");
    if (!existingPorts.count(number))
        throw SerialError(SerialError::Kind::NoSuchPort, "no port COM" + std::to_string(number));
    commPort_ = number;
}

void ScriptedPort::setPortName(const std::string& path) {
    if (open_) throw SerialError(SerialError::Kind::Busy, "port already open");
    portName_ = path;
}

void ScriptedPort::setSettings(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) parts.push_back(part);
    static const std::set<std::string> speeds = {"110",   "300",   "600",   "1200",  "2400",  "4800",
                                                 "9600",  "14400", "19200", "28800", "38400", "56000",
                                                 "57600", "115200", "128000", "256000"};
    bool ok = parts.size() == 4 && speeds.count(parts[0]) && parts[1].size() == 1 &&
              std::string("noems").find(static_cast<char>(std::tolower(static_cast<unsigned char>(parts[1][0])))) !=
                  std::string::npos &&
              (parts[2] == "4" || parts[2] == "5" || parts[2] == "6" || parts[2] == "7" || parts[2] == "8") &&
              (parts[3] == "1" || parts[3] == "1.5" || parts[3] == "2");
    if (!ok) throw SerialError(SerialError::Kind::InvalidSettings, "invalid settings \"" + text + "\"");
    settings_ = text;
}

void ScriptedPort::setPortOpen(bool open) {
    if (!open) {
        if (open_) ++closes;
        open_ = false;
        received_.clear();
        inFlight_.clear();  // whatever was on the line is lost with the port
        return;
    }
    if (open_) throw SerialError(SerialError::Kind::Busy, "port already open");
    ++openAttempts;
    if (pulled_) throw SerialError(SerialError::Kind::NoSuchPort, "device removed");
    if (failOpens_ > 0) {
        --failOpens_;
        throw SerialError(failKind_, "cannot open the port");
    }
    open_ = true;
    ++opens;
    lastOpenedAt = clock_.nowMs();
}

void ScriptedPort::setHandshaking(int mode) {
    if (mode < 0 || mode > 3) throw SerialError(SerialError::Kind::InvalidSettings, "invalid handshaking");
    handshaking_ = mode;
}

void ScriptedPort::setInBufferSize(int size) {
    if (size < 1) throw SerialError(SerialError::Kind::InvalidSettings, "invalid buffer size");
    inBufferSizeSet = size;
}

int ScriptedPort::inBufferCount() {
    requireOpen("InBufferCount");
    receiveDue();
    return static_cast<int>(received_.size());
}

void ScriptedPort::setInBufferCount(int count) {
    requireOpen("InBufferCount");
    if (count != 0) throw SerialError(SerialError::Kind::Io, "InBufferCount can only be emptied");
    receiveDue();
    received_.clear();
}

void ScriptedPort::setOutBufferCount(int count) {
    requireOpen("OutBufferCount");
    if (count != 0) throw SerialError(SerialError::Kind::Io, "OutBufferCount can only be emptied");
}

void ScriptedPort::output(const Bytes& bytes) {
    requireOpen("Output");
    sent.push_back({clock_.nowMs(), bytes});
    Reply reply;
    if (!replies_.empty()) {
        reply = std::move(replies_.front());
        replies_.pop_front();
    } else if (responder) {
        reply = responder(bytes);
    }
    for (auto& chunk : reply) inFlight_.push_back({clock_.nowMs() + chunk.delayMs, std::move(chunk.bytes)});
}

Bytes ScriptedPort::input() {
    requireOpen("Input");
    receiveDue();
    inputModesAtRead.push_back(inputMode_);
    Bytes out;
    out.swap(received_);
    return out;
}

}  // namespace gyrel
