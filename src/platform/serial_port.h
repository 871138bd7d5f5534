#pragma once
#include <stdexcept>
#include <string>

#include "platform/bytes.h"

namespace gyrel {

// Raised by every property of the port used in a state that does not allow it:
// opening a missing or busy port, an invalid Settings text, reading a closed port.
class SerialError : public std::runtime_error {
public:
    enum class Kind { NotOpen, NoSuchPort, Busy, PermissionDenied, InvalidSettings, Io };
    SerialError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

enum class InputMode { Text = 0, Binary = 1 };

// The serial port as the link uses it: a set of properties, no events.
// Replies are collected by polling InBufferCount inside waits that pump events.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port number 1..16 (Windows "COMn"). Writing a port that does not exist raises.
    virtual void setCommPort(int number) = 0;
    virtual int commPort() const = 0;
    // Where the port number does not name the device (a USB adapter or a
    // pseudo-terminal on Linux) the device path is given here; empty = use CommPort.
    virtual void setPortName(const std::string& path) = 0;
    virtual std::string portName() const = 0;
    // Text shown after "COM " in the window title: the number, or the path when one is set.
    virtual std::string portLabel() const {
        return portName().empty() ? std::to_string(commPort()) : portName();
    }
    // How window titles name the port: "COM", gap and the number, or the device path alone.
    std::string comLabel(const std::string& gap) const {
        return portName().empty() ? "COM" + gap + std::to_string(commPort()) : portName();
    }

    // "speed,parity,data,stop", e.g. "9600,n,8,1". Invalid text raises.
    virtual void setSettings(const std::string& settings) = 0;
    virtual std::string settings() const = 0;

    virtual void setPortOpen(bool open) = 0;  // raises when the port cannot be opened
    virtual bool portOpen() const = 0;

    // 0 none, 1 Xon/Xoff, 2 RTS, 3 Xon/RTS.
    virtual void setHandshaking(int mode) = 0;
    virtual int handshaking() const = 0;
    virtual void setInputLen(int len) = 0;
    virtual void setInputMode(InputMode mode) = 0;
    virtual InputMode inputMode() const = 0;
    virtual void setRTSEnable(bool on) = 0;
    virtual void setInBufferSize(int size) = 0;

    virtual int inBufferCount() = 0;            // raises when closed
    virtual void setInBufferCount(int count) = 0;  // 0 discards what was received; raises when closed
    // 0 first lets every byte written leave (bounded by its line time), then
    // discards what could not; raises when closed. Closing the port lets them leave too.
    virtual void setOutBufferCount(int count) = 0;

    virtual void output(const Bytes& bytes) = 0;  // raises when closed
    void output(const std::string& text) { output(toBytes(text)); }
    virtual Bytes input() = 0;                    // takes everything waiting; raises when closed
};

}  // namespace gyrel
