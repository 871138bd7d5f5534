#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/no_port.h"
#include "platform/virtual_clock.h"

namespace gyrel {

// A serial port in the simulated time of a VirtualClock: it records every Output with its
// instant, delivers scripted replies at chosen instants and raises where a real port would
// (a closed or pulled port used, an open that fails).
class ScriptedPort : public NoPort {
public:
    struct Sent {
        double atMs;
        Bytes bytes;
    };
    using Reply = std::vector<Sent>;  // times after the Output it answers; empty: the device stays silent

    explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

    // The reply to the next Output not yet answered; `responder` answers when none is queued.
    void replyNext(Reply reply) { replies_.push_back(std::move(reply)); }
    void replyNext(double delayMs, Bytes bytes) { replyNext(Reply{{delayMs, std::move(bytes)}}); }
    std::function<Reply(const Bytes& sent)> responder;
    void deliverAt(double atMs, Bytes bytes) { inFlight_.push_back({atMs, std::move(bytes)}); }
    void failOpens(int count) { failOpens_ = count; }
    // A pulled device: reads and writes raise Io, opening raises NoSuchPort.
    void setPulled(bool pulled) { pulled_ = pulled; }

    std::vector<Sent> sent;
    int openAttempts = 0;
    int opens = 0;
    int closes = 0;
    std::vector<InputMode> inputModesAtRead;
    int inBufferSizeSet = -1;
    bool rtsEnable = true;
    int inputLen = -1;
    double lastOpenedAt = -1;
    std::vector<double> sentTimes() const {
        std::vector<double> t;
        for (const auto& s : sent) t.push_back(s.atMs);
        return t;
    }

    void setPortOpen(bool open) override {
        if (!open) {
            closes += open_ ? 1 : 0;
            open_ = false;
            received_.clear();
            inFlight_.clear();  // whatever was on the line is lost with the port
            return;
        }
        if (open_) throw SerialError(SerialError::Kind::Busy, "port already open");
        ++openAttempts;
        if (pulled_) throw SerialError(SerialError::Kind::NoSuchPort, "device removed");
        if (failOpens_ > 0 && failOpens_--) throw SerialError(SerialError::Kind::Busy, "cannot open the port");
        open_ = true;
        ++opens;
        lastOpenedAt = clock_.nowMs();
    }
    bool portOpen() const override { return open_; }
    void setHandshaking(int mode) override { handshaking_ = mode; }
    int handshaking() const override { return handshaking_; }
    void setInputLen(int len) override { inputLen = len; }
    void setInputMode(InputMode mode) override { inputMode_ = mode; }
    InputMode inputMode() const override { return inputMode_; }
    void setRTSEnable(bool on) override { rtsEnable = on; }
    void setInBufferSize(int size) override { inBufferSizeSet = size; }
    int inBufferCount() override {
        receiveDue();
        return static_cast<int>(received_.size());
    }
    void setInBufferCount(int) override {
        receiveDue();
        received_.clear();
    }
    void setOutBufferCount(int) override { requireOpen(); }
    using SerialPort::output;
    void output(const Bytes& bytes) override {
        requireOpen();
        sent.push_back({clock_.nowMs(), bytes});
        Reply reply;
        if (!replies_.empty()) {
            reply = std::move(replies_.front());
            replies_.pop_front();
        } else if (responder) {
            reply = responder(bytes);
        }
        for (auto& chunk : reply) deliverAt(clock_.nowMs() + chunk.atMs, std::move(chunk.bytes));
    }
    Bytes input() override {
        receiveDue();
        inputModesAtRead.push_back(inputMode_);
        return std::exchange(received_, Bytes{});
    }

private:
    void requireOpen() const {
        if (!open_) throw SerialError(SerialError::Kind::NotOpen, "port is not open");
        if (pulled_) throw SerialError(SerialError::Kind::Io, "device removed");
    }
    void receiveDue() {
        requireOpen();
        const auto earlier = [](const Sent& a, const Sent& b) { return a.atMs < b.atMs; };
        std::stable_sort(inFlight_.begin(), inFlight_.end(), earlier);
        auto it = inFlight_.begin();
        for (; it != inFlight_.end() && it->atMs <= clock_.nowMs(); ++it)
            received_.insert(received_.end(), it->bytes.begin(), it->bytes.end());
        inFlight_.erase(inFlight_.begin(), it);
    }

    VirtualClock& clock_;
    std::deque<Reply> replies_;
    std::vector<Sent> inFlight_;
    Bytes received_;
    int failOpens_ = 0;
    bool pulled_ = false;
    bool open_ = false;
    int handshaking_ = 2;  // as another program may leave it
    InputMode inputMode_ = InputMode::Text;
};

inline Bytes bytesOf(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }

}  // namespace gyrel
