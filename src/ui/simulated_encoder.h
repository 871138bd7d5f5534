#pragma once
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"

namespace gyrel::ui {

// The encoder that `gyrel --simulate` watches: a simulated device of one model
// on an in-process port, with a turning shaft and a demonstration program in
// its first slot. The program sees it through this port, which can be handed a
// device of another model (the program's model menu makes the simulator follow
// unless a model was fixed on the command line); the port keeps its number,
// settings and open state across the change.
class SimulatedEncoder : public SerialPort {
public:
    SimulatedEncoder(const std::string& modelCode, Clock& clock);

    void switchModel(const std::string& modelCode);
    sim::Device& device() { return *device_; }
    sim::InProcessPort& inner() { return *port_; }
    const std::string& modelCode() const { return code_; }

    void setCommPort(int number) override { port_->setCommPort(number); }
    int commPort() const override { return port_->commPort(); }
    void setPortName(const std::string& path) override { port_->setPortName(path); }
    std::string portName() const override { return port_->portName(); }
    void setSettings(const std::string& settings) override { port_->setSettings(settings); }
    std::string settings() const override { return port_->settings(); }
    void setPortOpen(bool open) override { port_->setPortOpen(open); }
    bool portOpen() const override { return port_->portOpen(); }
    void setHandshaking(int mode) override { port_->setHandshaking(mode); }
    int handshaking() const override { return port_->handshaking(); }
    void setInputLen(int len) override { port_->setInputLen(len); }
    void setInputMode(InputMode mode) override { port_->setInputMode(mode); }
    InputMode inputMode() const override { return port_->inputMode(); }
    void setRTSEnable(bool on) override { port_->setRTSEnable(on); }
    void setInBufferSize(int size) override { port_->setInBufferSize(size); }
    int inBufferCount() override { return port_->inBufferCount(); }
    void setInBufferCount(int count) override { port_->setInBufferCount(count); }
    void setOutBufferCount(int count) override { port_->setOutBufferCount(count); }
    void output(const Bytes& bytes) override { port_->output(bytes); }
    using SerialPort::output;
    Bytes input() override { return port_->input(); }

private:
    std::unique_ptr<sim::Device> makeDevice(const std::string& code) const;

    Clock& clock_;
    std::string code_;
    std::unique_ptr<sim::Device> device_;
    std::unique_ptr<sim::InProcessPort> port_;
};

// The model a simulator starts with: the code given, else the stored one
// ("Tipo") as start-up will apply it; unknown codes (and a stored "Px71",
// which start-up turns into "NORM") give "NORM".
std::string simulatedModelFor(const std::string& requested, const std::string& stored);

}  // namespace gyrel::ui
