#pragma once
#include <deque>
#include <set>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/device.h"

namespace gyrel::sim {

// A serial port wired straight to a simulated device, over any Clock. Every byte
// takes its line time at the port's Settings in both directions: the device gets
// a host byte when its last bit has arrived, and a reply byte becomes visible in
// InBufferCount only when the clock has reached its arrival. Nothing runs in the
// background: the line is brought up to the clock's time whenever the port is used.
class InProcessPort : public SerialPort {
public:
    InProcessPort(Device& device, Clock& clock);

    void setCommPort(int number) override;
    int commPort() const override { return commPort_; }
    void setPortName(const std::string& path) override { portName_ = path; }
    std::string portName() const override { return portName_; }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return settings_; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return open_; }
    void setHandshaking(int mode) override { handshaking_ = mode; }
    int handshaking() const override { return handshaking_; }
    void setInputLen(int len) override { inputLen_ = len < 0 ? 0 : len; }
    void setInputMode(InputMode mode) override { inputMode_ = mode; }
    InputMode inputMode() const override { return inputMode_; }
    void setRTSEnable(bool on) override { rts_ = on; }
    void setInBufferSize(int size) override { inBufferSize_ = size < 1 ? 1 : size; }
    int inBufferCount() override;
    void setInBufferCount(int count) override;
    void setOutBufferCount(int count) override;
    void output(const Bytes& bytes) override;
    using SerialPort::output;
    Bytes input() override;

    // ---- the simulation's own controls ----
    // Port numbers that exist (default 1..16); others raise NoSuchPort when chosen or opened.
    void setExistingPorts(std::set<int> numbers) { existing_ = std::move(numbers); }
    // Another program holds the port: opening raises Busy.
    void setBusy(bool busy) { busy_ = busy; }
    // When on, a speed other than the model's line speed garbles the line: the device
    // hears nothing and the host receives nothing.
    void setCheckSpeed(bool on) { checkSpeed_ = on; }
    // Every byte the host has written, in order, including any later discarded.
    const Bytes& sent() const { return sent_; }
    double byteTimeMs() const { return byteTimeMs_; }
    bool rtsEnabled() const { return rts_; }
    int inBufferSize() const { return inBufferSize_; }
    Device& device() { return device_; }

private:
    struct Timed {
        std::uint8_t byte;
        double at;  // when its last bit reaches the other end
    };
    void advance();
    void deliver(double until);
    void requireOpen(const char* what);
    bool speedMatches() const;

    Device& device_;
    Clock& clock_;
    int commPort_ = 1;
    std::string portName_;
    std::string settings_ = "9600,n,8,1";
    double byteTimeMs_ = 0;
    bool open_ = false;
    int handshaking_ = 0;
    int inputLen_ = 0;
    InputMode inputMode_ = InputMode::Text;
    bool rts_ = false;
    int inBufferSize_ = 1024;
    std::set<int> existing_;
    bool busy_ = false;
    bool checkSpeed_ = false;

    std::deque<Timed> toDevice_, toHost_;
    double toDeviceFree_ = 0, toHostFree_ = 0;
    Bytes inBuffer_;
    Bytes sent_;
};

}  // namespace gyrel::sim
