#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QSerialPort>
#include <string>

#include "platform/serial_port.h"

namespace gyrel {

// The link's serial port over QSerialPort.
//
// Port identity: a device path set with setPortName wins; without one the port
// number n names "COMn" on Windows and /dev/ttyS(n-1) elsewhere.
//
// Bytes written are on their way before any buffer is emptied or the port
// closed: emptying the output and closing first wait until the operating
// system has sent them (a pseudo-terminal moves them at once, so there the
// wait lasts their line time), and a write that fails raises.
//
// Received bytes are taken from QSerialPort into a buffer of our own whenever
// Qt reports them (the waits of the logic run the event loop) and whenever the
// logic asks for the count, so InBufferCount sees bytes as they arrive.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setCommPort(int number) override;
    int commPort() const override { return commPort_; }
    void setPortName(const std::string& path) override;
    std::string portName() const override { return portName_; }

    void setSettings(const std::string& settings) override;
    std::string settings() const override { return settings_; }

    void setPortOpen(bool open) override;
    bool portOpen() const override { return port_.isOpen(); }

    void setHandshaking(int mode) override;
    int handshaking() const override { return handshaking_; }
    void setInputLen(int len) override { inputLen_ = len; }
    void setInputMode(InputMode mode) override { inputMode_ = mode; }
    InputMode inputMode() const override { return inputMode_; }
    void setRTSEnable(bool on) override;
    void setInBufferSize(int size) override;

    int inBufferCount() override;
    void setInBufferCount(int count) override;
    void setOutBufferCount(int count) override;

    void output(const Bytes& bytes) override;
    using SerialPort::output;
    Bytes input() override;

    // The device the port opens: the path, or the name the port number stands for.
    std::string devicePath() const;
    // Why the last open failed (empty after a successful one).
    const std::string& lastOpenError() const { return lastOpenError_; }
    // Closings forced by a vanished device since construction.
    int lostCount() const { return lostCount_; }

private:
    void applyLineSettings();
    void drain();
    // Waits until every byte written has left the port, bounded by the line time
    // of what is queued plus a margin; raises Io when they could not be sent.
    void finishSending();
    double byteTimeMs() const;
    void closeIfLost();
    void onError(QSerialPort::SerialPortError error);
    [[noreturn]] void failOpen(SerialError::Kind kind, const std::string& text);
    void requireOpen(const char* what) const;

    QSerialPort port_;
    QByteArray received_;
    int commPort_ = 1;
    std::string portName_;
    std::string settings_ = "9600,n,8,1";
    int handshaking_ = 0;
    int inputLen_ = 0;
    InputMode inputMode_ = InputMode::Text;
    bool rtsEnable_ = false;
    int inBufferSize_ = 1024;
    bool pseudoTerminal_ = false;
    std::string lastOpenError_;
    int lostCount_ = 0;
    QElapsedTimer since_;
    double lineFreeAtMs_ = 0;  // when the last byte written has left at the line's pace
};

// The parts of a Settings text such as "9600,n,8,1".
struct LineSettings {
    qint32 speed = 9600;
    char parity = 'N';  // upper case: N E O M S
    int dataBits = 8;
    int stopBits = 1;   // 1, 2, or 3 for one and a half
};
// false when the text is no valid Settings text.
bool parseLineSettings(const std::string& text, LineSettings& out);

// The device a port number stands for on this platform.
std::string defaultDeviceFor(int commPort);

// The message for a port that the user may not open, with the cure on Linux.
std::string permissionDeniedText(const std::string& device);

}  // namespace gyrel
