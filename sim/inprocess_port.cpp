#include "sim/inprocess_port.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "sim/line_time.h"

namespace gyrel::sim {

namespace {

// "speed,parity,data,stop" with the values a PC serial port accepts.
bool validSettings(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string p; std::getline(in, p, ',');) parts.push_back(p);
    if (parts.size() != 4 || text.empty() || text.back() == ',') return false;
    static const std::set<std::string> speeds = {"110",   "300",   "600",   "1200",   "2400",  "4800",
                                                 "9600",  "14400", "19200", "28800",  "38400", "56000",
                                                 "57600", "115200", "128000", "256000"};
    if (!speeds.count(parts[0])) return false;
    if (parts[1].size() != 1 || std::string("nNeEoOmMsS").find(parts[1][0]) == std::string::npos) return false;
    if (parts[2] != "4" && parts[2] != "5" && parts[2] != "6" && parts[2] != "7" && parts[2] != "8") return false;
    return parts[3] == "1" || parts[3] == "1.5" || parts[3] == "2";
}

}  // namespace

InProcessPort::InProcessPort(Device& device, Clock& clock) : device_(device), clock_(clock) {
    for (int i = 1; i <= 16; ++i) existing_.insert(i);
    byteTimeMs_ = sim::byteTimeMs(settings_);
    device_.setLineByteTimeMs(byteTimeMs_);
}

void InProcessPort::setCommPort(int number) {
    if (!existing_.count(number))
        throw SerialError(SerialError::Kind::NoSuchPort, "COM" + std::to_string(number) + " does not exist");
    commPort_ = number;
}

void InProcessPort::setSettings(const std::string& settings) {
    if (!validSettings(settings)) throw SerialError(SerialError::Kind::InvalidSettings, "invalid settings \"" + settings + "\"");
    advance();  // bytes already on the line keep the times of the old speed
    settings_ = settings;
    byteTimeMs_ = sim::byteTimeMs(settings_);
    device_.setLineByteTimeMs(byteTimeMs_);
}

bool InProcessPort::speedMatches() const {
    if (!checkSpeed_) return true;
    return settings_.substr(0, settings_.find(',')) == device_.model().speed;
}

void InProcessPort::setPortOpen(bool open) {
    advance();
    if (open == open_) return;
    if (open) {
        if (!existing_.count(commPort_))
            throw SerialError(SerialError::Kind::NoSuchPort, "COM" + std::to_string(commPort_) + " does not exist");
        if (busy_) throw SerialError(SerialError::Kind::Busy, "COM" + std::to_string(commPort_) + " is in use");
        if (device_.lineClosed()) throw SerialError(SerialError::Kind::NoSuchPort, "the device is not connected");
    }
    // What was written leaves before the port closes; then the buffers start empty.
    if (open_) deliver(toDeviceFree_);
    open_ = open;
    inBuffer_.clear();
    toDevice_.clear();
}

void InProcessPort::requireOpen(const char* what) {
    advance();
    if (!open_) throw SerialError(SerialError::Kind::NotOpen, std::string(what) + ": port not open");
    if (device_.lineClosed() && device_.lineClosedAtMs() <= clock_.nowMs())
        throw SerialError(SerialError::Kind::Io, std::string(what) + ": the device closed the line");
}

void InProcessPort::advance() { deliver(clock_.nowMs()); }

// Hands the device every host byte whose last bit has arrived by `until`, and
// the host every reply byte that has arrived by the clock's time.
void InProcessPort::deliver(double until) {
    const double now = clock_.nowMs();
    while (!toDevice_.empty() && toDevice_.front().at <= until) {
        const Timed b = toDevice_.front();
        toDevice_.pop_front();
        if (!speedMatches()) continue;
        for (Reply& r : device_.receive(b.byte, b.at)) {
            double t = std::max(r.readyMs, toHostFree_);
            for (std::uint8_t byte : r.bytes) {
                t += byteTimeMs_;
                toHost_.push_back(Timed{byte, t});
            }
            toHostFree_ = t;
        }
    }
    while (!toHost_.empty() && toHost_.front().at <= now) {
        const Timed b = toHost_.front();
        toHost_.pop_front();
        // Nobody listens on a closed port; a full buffer overruns.
        if (open_ && speedMatches() && static_cast<int>(inBuffer_.size()) < inBufferSize_) inBuffer_.push_back(b.byte);
    }
}

int InProcessPort::inBufferCount() {
    requireOpen("InBufferCount");
    advance();
    return static_cast<int>(inBuffer_.size());
}

void InProcessPort::setInBufferCount(int count) {
    requireOpen("InBufferCount");
    if (count == 0) inBuffer_.clear();
}

void InProcessPort::setOutBufferCount(int count) {
    requireOpen("OutBufferCount");
    if (count != 0) return;
    // Every byte written leaves first, each at its line time (the host does not
    // wait here: nothing it reads depends on it); nothing written is dropped.
    deliver(toDeviceFree_);
}

void InProcessPort::output(const Bytes& bytes) {
    requireOpen("Output");
    advance();
    sent_.insert(sent_.end(), bytes.begin(), bytes.end());
    double t = std::max(clock_.nowMs(), toDeviceFree_);
    for (std::uint8_t b : bytes) {
        t += byteTimeMs_;
        toDevice_.push_back(Timed{b, t});
    }
    toDeviceFree_ = t;
}

Bytes InProcessPort::input() {
    requireOpen("Input");
    advance();
    Bytes taken;
    if (inputLen_ > 0 && static_cast<int>(inBuffer_.size()) > inputLen_) {
        taken.assign(inBuffer_.begin(), inBuffer_.begin() + inputLen_);
        inBuffer_.erase(inBuffer_.begin(), inBuffer_.begin() + inputLen_);
    } else {
        taken.swap(inBuffer_);
    }
    return taken;
}

}  // namespace gyrel::sim
