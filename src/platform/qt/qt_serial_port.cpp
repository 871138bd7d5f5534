#include "platform/qt/qt_serial_port.h"

#include <QMetaObject>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <thread>

#ifndef _WIN32
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace gyrel {
namespace {

#ifndef _WIN32
// A pseudo-terminal takes no 7 data bits, no parity and has no modem lines;
// those settings are skipped for it rather than failing the open.
bool isPseudoTerminal(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) {
        const std::string real(resolved);
        if (real.rfind("/dev/pts/", 0) == 0 || real == "/dev/ptmx") return true;
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;  // Unix98 pty slaves
}

// True when the device exists but this user may not read and write it.
bool lacksPermission(const std::string& path) {
    if (access(path.c_str(), F_OK) != 0) return false;
    return access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}
#endif

QSerialPort::Parity qtParity(char p) {
    switch (p) {
        case 'E': return QSerialPort::EvenParity;
        case 'O': return QSerialPort::OddParity;
        case 'M': return QSerialPort::MarkParity;
        case 'S': return QSerialPort::SpaceParity;
        default: return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits qtStopBits(int s) {
    if (s == 2) return QSerialPort::TwoStop;
    if (s == 3) return QSerialPort::OneAndHalfStop;
    return QSerialPort::OneStop;
}

QSerialPort::FlowControl qtFlow(int handshaking) {
    switch (handshaking) {
        case 1: return QSerialPort::SoftwareControl;
        case 2:
        case 3: return QSerialPort::HardwareControl;
        default: return QSerialPort::NoFlowControl;
    }
}

// A pseudo-terminal whose far end closed reads end-of-file, which Qt reports
// as a read error, tens of thousands of times a second; a pulled USB adapter
// gives a resource error.
bool isLossError(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ReadError || e == QSerialPort::ResourceError;
}

bool allDigits(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

bool parseLineSettings(const std::string& text, LineSettings& out) {
    std::string fields[4];
    int n = 0;
    for (char c : text) {
        if (c == ',') {
            if (++n > 3) return false;
        } else if (c != ' ') {
            fields[n] += c;
        }
    }
    if (n != 3 || !allDigits(fields[0]) || fields[1].size() != 1) return false;
    LineSettings s;
    s.speed = std::atoi(fields[0].c_str());
    s.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
    if (s.speed <= 0 || std::string("NEOMS").find(s.parity) == std::string::npos) return false;
    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8') return false;
    s.dataBits = fields[2][0] - '0';
    if (fields[3] == "1") s.stopBits = 1;
    else if (fields[3] == "2") s.stopBits = 2;
    else if (fields[3] == "1.5") s.stopBits = 3;
    else return false;
    out = s;
    return true;
}

std::string defaultDeviceFor(int commPort) {
#ifdef _WIN32
    return "COM" + std::to_string(commPort);
#else
    return "/dev/ttyS" + std::to_string(commPort - 1);
#endif
}

std::string permissionDeniedText(const std::string& device) {
#ifdef _WIN32
    return "Access to the serial port " + device + " was denied.";
#else
    return "No permission to open the serial port " + device +
           ". Your user must be in the 'dialout' group: run\n"
           "    sudo usermod -aG dialout $USER\n"
           "then log out and log in again.";
#endif
}

// Slack on top of the line time of what is queued when waiting for it to leave.
constexpr int kSendMarginMs = 50;
// A pseudo-terminal's far end takes a byte once it has been on the line for its
// line time, measured from when it noticed it; this covers how late it notices,
// also on a busy machine (a tenth of a second once per emptying or closing).
constexpr double kPtyNoticeMs = 100;

QtSerialPort::QtSerialPort() {
    since_.start();
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { drain(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError e) { onError(e); });
}

QtSerialPort::~QtSerialPort() {
    if (port_.isOpen()) port_.close();
}

std::string QtSerialPort::devicePath() const {
    return portName_.empty() ? defaultDeviceFor(commPort_) : portName_;
}

void QtSerialPort::setCommPort(int number) {
    if (number < 1 || number > 255)
        throw SerialError(SerialError::Kind::NoSuchPort, "Invalid port number " + std::to_string(number));
    if (port_.isOpen()) throw SerialError(SerialError::Kind::Busy, "Port already open");
    commPort_ = number;
}

void QtSerialPort::setPortName(const std::string& path) {
    if (port_.isOpen()) throw SerialError(SerialError::Kind::Busy, "Port already open");
    portName_ = path;
}

void QtSerialPort::setSettings(const std::string& settings) {
    LineSettings parsed;
    if (!parseLineSettings(settings, parsed))
        throw SerialError(SerialError::Kind::InvalidSettings, "Invalid port settings \"" + settings + "\"");
    const std::string previous = settings_;
    settings_ = settings;
    if (!port_.isOpen()) return;
    try {
        applyLineSettings();
    } catch (const SerialError&) {
        settings_ = previous;
        try {
            applyLineSettings();
        } catch (const SerialError&) {
        }
        throw;
    }
}

// Hands the line settings to the open device. A pseudo-terminal refuses some of
// them; it carries bytes whatever they say, so its refusals are ignored.
void QtSerialPort::applyLineSettings() {
    LineSettings s;
    parseLineSettings(settings_, s);
    auto check = [this](bool ok, const char* what) {
        if (ok) return;
        const std::string text = "Cannot set the " + std::string(what) + " of " + devicePath() + ": " +
                                 port_.errorString().toStdString();
        port_.clearError();
        if (!pseudoTerminal_) throw SerialError(SerialError::Kind::InvalidSettings, text);
    };
    check(port_.setBaudRate(s.speed), "speed");
    check(port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)), "data bits");
    check(port_.setParity(qtParity(s.parity)), "parity");
    check(port_.setStopBits(qtStopBits(s.stopBits)), "stop bits");
    check(port_.setFlowControl(qtFlow(handshaking_)), "flow control");
}

[[noreturn]] void QtSerialPort::failOpen(SerialError::Kind kind, const std::string& text) {
    lastOpenError_ = text;
    throw SerialError(kind, text);
}

void QtSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (port_.isOpen()) {
            try {
                finishSending();
            } catch (const SerialError&) {
                // Closing goes ahead: what could not be sent is lost with the port.
            }
            port_.close();
        }
        received_.clear();
        return;
    }
    if (port_.isOpen()) return;
    const std::string path = devicePath();
    port_.setPortName(QString::fromStdString(path));
    // Open with plain settings every device takes; the real ones follow.
    port_.setBaudRate(9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.clearError();
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError e = port_.error();
        const std::string qtText = port_.errorString().toStdString();
        port_.clearError();
        switch (e) {
            case QSerialPort::DeviceNotFoundError:
                failOpen(SerialError::Kind::NoSuchPort, "Serial port " + path + " does not exist");
            case QSerialPort::PermissionError:
#ifndef _WIN32
                if (lacksPermission(path)) failOpen(SerialError::Kind::PermissionDenied, permissionDeniedText(path));
#endif
                failOpen(SerialError::Kind::Busy, "Serial port " + path + " is in use by another program");
            case QSerialPort::OpenError:
                failOpen(SerialError::Kind::Busy, "Serial port " + path + " is already open");
            default:
                failOpen(SerialError::Kind::Io, "Cannot open serial port " + path + ": " + qtText);
        }
    }
#ifndef _WIN32
    pseudoTerminal_ = isPseudoTerminal(path);
#else
    pseudoTerminal_ = false;
#endif
    try {
        applyLineSettings();
    } catch (const SerialError& e) {
        port_.close();
        failOpen(e.kind(), e.what());
    }
    if (handshaking_ < 2 && !port_.setRequestToSend(rtsEnable_)) port_.clearError();
    // Bytes that came in while the port was closed belong to nobody.
    port_.clear(QSerialPort::AllDirections);
    port_.readAll();
    port_.clearError();
    received_.clear();
    lastOpenError_.clear();
}

void QtSerialPort::setHandshaking(int mode) {
    if (mode < 0 || mode > 3)
        throw SerialError(SerialError::Kind::InvalidSettings, "Invalid handshaking " + std::to_string(mode));
    const int previous = handshaking_;
    handshaking_ = mode;
    if (!port_.isOpen()) return;
    if (!port_.setFlowControl(qtFlow(mode))) {
        const std::string text = port_.errorString().toStdString();
        port_.clearError();
        if (!pseudoTerminal_) {
            handshaking_ = previous;
            throw SerialError(SerialError::Kind::InvalidSettings, "Cannot set the flow control: " + text);
        }
    }
}

void QtSerialPort::setRTSEnable(bool on) {
    rtsEnable_ = on;
    if (port_.isOpen() && handshaking_ < 2 && !port_.setRequestToSend(on)) port_.clearError();
}

void QtSerialPort::setInBufferSize(int size) { inBufferSize_ = size > 0 ? size : 1; }

void QtSerialPort::requireOpen(const char* what) const {
    if (!port_.isOpen())
        throw SerialError(SerialError::Kind::NotOpen, std::string(what) + ": the port is not open");
}

// Takes what QSerialPort holds into our buffer; bytes beyond the buffer size
// are lost, as on a receive buffer that overflows.
void QtSerialPort::drain() {
    if (!port_.isOpen()) return;
    const QByteArray more = port_.readAll();
    const int room = inBufferSize_ - static_cast<int>(received_.size());
    if (room > 0) received_.append(more.left(room));
}

// Called from the logic's side only, never from inside Qt's notifiers.
void QtSerialPort::closeIfLost() {
    if (!port_.isOpen() || !isLossError(port_.error())) return;
    port_.close();
    port_.clearError();
    received_.clear();
    ++lostCount_;
}

// A device that vanished (adapter pulled, far end of a pty gone) makes Qt
// report read or resource errors over and over; the port is closed so that the link shows
// the loss and a later open can find the device again. The close runs after
// Qt has left its own notifier code.
void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (!isLossError(error)) return;
    QMetaObject::invokeMethod(
        &port_,
        [this] {
            if (!port_.isOpen()) return;
            port_.close();
            port_.clearError();
            received_.clear();
            ++lostCount_;
        },
        Qt::QueuedConnection);
}

int QtSerialPort::inBufferCount() {
    requireOpen("InBufferCount");
    drain();
    closeIfLost();
    requireOpen("InBufferCount");
    return static_cast<int>(received_.size());
}

void QtSerialPort::setInBufferCount(int count) {
    requireOpen("InBufferCount");
    if (count != 0) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
    port_.clearError();
    received_.clear();
}

void QtSerialPort::setOutBufferCount(int count) {
    requireOpen("OutBufferCount");
    if (count != 0) return;
    // What was written belongs to the device: only what could not leave is dropped.
    finishSending();
    port_.clear(QSerialPort::Output);
    port_.clearError();
}

double QtSerialPort::byteTimeMs() const {
    LineSettings s;
    parseLineSettings(settings_, s);
    const int stop = s.stopBits == 3 ? 2 : s.stopBits;
    return (1.0 + s.dataBits + (s.parity == 'N' ? 0 : 1) + stop) * 1000.0 / s.speed;
}

void QtSerialPort::finishSending() {
    if (!port_.isOpen()) return;
    const double nowMs = static_cast<double>(since_.nsecsElapsed()) / 1e6;
    const double queuedMs = std::max(0.0, lineFreeAtMs_ - nowMs);
    const int boundMs = static_cast<int>(queuedMs) + kSendMarginMs;
    if (port_.bytesToWrite() > 0) port_.waitForBytesWritten(boundMs);
    if (port_.bytesToWrite() > 0 || port_.error() == QSerialPort::WriteError) {
        const std::string text = port_.errorString().toStdString();
        port_.clearError();
        throw SerialError(SerialError::Kind::Io, "Cannot write to " + devicePath() + ": " + text);
    }
#ifndef _WIN32
    if (pseudoTerminal_) {
        // A pseudo-terminal has no transmitter to wait for: its far end takes the
        // bytes at the line's pace, so the wait is their line time.
        const double restMs = lineFreeAtMs_ + kPtyNoticeMs - static_cast<double>(since_.nsecsElapsed()) / 1e6;
        if (restMs > 0 && queuedMs > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(restMs * 1000)));
    } else {
        // The driver's queue empties at the line's pace; a line held up by flow
        // control is not waited for beyond the bound. Once it is empty, tcdrain
        // waits for the transmitter itself, which the driver bounds.
        const int fd = static_cast<int>(port_.handle());
        QElapsedTimer waited;
        waited.start();
        int queued = 0;
        while (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0) {
            if (waited.elapsed() > boundMs) {
                port_.clear(QSerialPort::Output);
                throw SerialError(SerialError::Kind::Io, "Cannot send to " + devicePath() + ": the line does not move");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::tcdrain(fd);
    }
#endif
}

void QtSerialPort::output(const Bytes& bytes) {
    requireOpen("Output");
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
    const double nowMs = static_cast<double>(since_.nsecsElapsed()) / 1e6;
    lineFreeAtMs_ = std::max(lineFreeAtMs_, nowMs) + byteTimeMs() * static_cast<double>(bytes.size());
    const int boundMs = static_cast<int>(lineFreeAtMs_ - nowMs) + kSendMarginMs;
    // Handed to the operating system now; a write it refuses raises here
    // rather than passing for success.
    const bool taken = port_.write(data) == data.size() &&
                       (port_.bytesToWrite() == 0 || port_.waitForBytesWritten(boundMs) || port_.bytesToWrite() == 0);
    if (!taken || port_.error() == QSerialPort::WriteError) {
        const std::string text = port_.errorString().toStdString();
        port_.clearError();
        throw SerialError(SerialError::Kind::Io, "Cannot write to " + devicePath() + ": " + text);
    }
}

Bytes QtSerialPort::input() {
    requireOpen("Input");
    drain();
    closeIfLost();
    requireOpen("Input");
    int take = static_cast<int>(received_.size());
    if (inputLen_ > 0 && inputLen_ < take) take = inputLen_;
    Bytes out(received_.begin(), received_.begin() + take);
    received_.remove(0, take);
    return out;
}

}  // namespace gyrel
