#pragma once
#include <string>

#include "platform/serial_port.h"

namespace gyrel {

// A port that is never opened, for jobs that talk to no device (the check from
// the shell, the list and import jobs): opening it raises, as for a missing port.
class NoPort : public SerialPort {
public:
    void setCommPort(int n) override { port_ = n; }
    int commPort() const override { return port_; }
    void setPortName(const std::string& p) override { name_ = p; }
    std::string portName() const override { return name_; }
    void setSettings(const std::string& s) override { settings_ = s; }
    std::string settings() const override { return settings_; }
    void setPortOpen(bool) override { throw SerialError(SerialError::Kind::NoSuchPort, "no port"); }
    bool portOpen() const override { return false; }
    void setHandshaking(int) override {}
    int handshaking() const override { return 0; }
    void setInputLen(int) override {}
    void setInputMode(InputMode) override {}
    InputMode inputMode() const override { return InputMode::Text; }
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    int inBufferCount() override { throw SerialError(SerialError::Kind::NotOpen, "closed"); }
    void setInBufferCount(int) override { throw SerialError(SerialError::Kind::NotOpen, "closed"); }
    void setOutBufferCount(int) override { throw SerialError(SerialError::Kind::NotOpen, "closed"); }
    void output(const Bytes&) override { throw SerialError(SerialError::Kind::NotOpen, "closed"); }
    Bytes input() override { throw SerialError(SerialError::Kind::NotOpen, "closed"); }

private:
    int port_ = 1;
    std::string name_, settings_ = "9600,n,8,1";
};

}  // namespace gyrel
