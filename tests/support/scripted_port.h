#pragma once
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "platform/virtual_clock.h"

namespace gyrel {

// A serial port for tests, living in the simulated time of a VirtualClock.
// It records every Output with the instant it was written, delivers scripted
// replies at chosen instants (bytes become visible in InBufferCount only when
// their arrival time is reached) and raises SerialError wherever a real port
// would: a closed port read or written, a missing or busy port opened, an
// invalid Settings text.
class ScriptedPort : public SerialPort {
public:
    // One piece of a reply: `bytes` arrive `delayMs` after the Output that triggered it.
    struct Chunk {
        double delayMs;
        Bytes bytes;
    };
    using Reply = std::vector<Chunk>;  // empty: the device stays silent
    struct Sent {
        double atMs;
        Bytes bytes;
    };

    explicit ScriptedPort(VirtualClock& clock);

    // --- scripting ---
    // The reply to the next Output not yet answered (queued in order).
    void replyNext(Reply reply) { replies_.push_back(std::move(reply)); }
    void replyNext(double delayMs, Bytes bytes) { replyNext(Reply{{delayMs, std::move(bytes)}}); }
    void silenceNext() { replyNext(Reply{}); }
    // Answers every Output that finds the queue empty; unset = silence.
    std::function<Reply(const Bytes& sent)> responder;
    // Bytes arriving at an absolute instant, whatever was sent.
    void deliverAt(double atMs, Bytes bytes);
    // The next `count` attempts to open fail with `kind`.
    void failOpens(int count, SerialError::Kind kind = SerialError::Kind::Busy);
    // While pulled, the device is gone: every read or write of an open port raises Io
    // and opening raises NoSuchPort.
    void setPulled(bool pulled) { pulled_ = pulled; }
    // Port numbers that exist (CommPort); all of 1..16 by default.
    std::set<int> existingPorts;

    // --- what happened ---
    std::vector<Sent> sent;
    int openAttempts = 0;
    int opens = 0;
    int closes = 0;
    std::vector<InputMode> inputModesAtRead;  // the InputMode of every Input
    int inBufferSizeSet = -1;
    bool rtsEnable = true;
    int inputLen = -1;
    double lastOpenedAt = -1;

    // --- SerialPort ---
    void setCommPort(int number) override;
    int commPort() const override { return commPort_; }
    void setPortName(const std::string& path) override;
    std::string portName() const override { return portName_; }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return settings_; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return open_; }
    void setHandshaking(int mode) override;
    int handshaking() const override { return handshaking_; }
    void setInputLen(int len) override { inputLen = len; }
    void setInputMode(InputMode mode) override { inputMode_ = mode; }
    InputMode inputMode() const override { return inputMode_; }
    void setRTSEnable(bool on) override { rtsEnable = on; }
    void setInBufferSize(int size) override;
    int inBufferCount() override;
    void setInBufferCount(int count) override;
    void setOutBufferCount(int count) override;
    using SerialPort::output;
    void output(const Bytes& bytes) override;
    Bytes input() override;

private:
    struct Arrival {
        double atMs;
        Bytes bytes;
    };
    void requireOpen(const char* what) const;
    void receiveDue();  // moves arrivals whose instant has come into the buffer

    VirtualClock& clock_;
    std::deque<Reply> replies_;
    std::vector<Arrival> inFlight_;
    Bytes received_;
    int failOpens_ = 0;
    SerialError::Kind failKind_ = SerialError::Kind::Busy;
    bool pulled_ = false;
    bool open_ = false;
    int commPort_ = 1;
    std::string portName_;
    std::string settings_ = "9600,n,8,1";
    int handshaking_ = 0;
    InputMode inputMode_ = InputMode::Text;
};

// Handy byte strings for tests.
Bytes bytesOf(std::initializer_list<int> values);

}  // namespace gyrel
