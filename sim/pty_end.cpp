#include "sim/pty_end.h"

#ifdef _WIN32

#include <stdexcept>

// Windows has no pseudo-terminals; the in-process port serves the simulator there.
namespace gyrel::sim {
PtyEnd::PtyEnd(Device& device, const std::string& settings) : device_(device), settings_(settings) {}
PtyEnd::~PtyEnd() = default;
std::string PtyEnd::open() { throw std::runtime_error("pseudo-terminals are not available on this system"); }
void PtyEnd::closeFds() {}
void PtyEnd::serve(const std::atomic<bool>*) { open(); }
void PtyEnd::start() { open(); }
void PtyEnd::stop() {}
}  // namespace gyrel::sim

#else

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <stdexcept>

#include "sim/line_time.h"

namespace gyrel::sim {

namespace {

struct Timed {
    std::uint8_t byte;
    double at;
};

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PtyEnd::PtyEnd(Device& device, const std::string& settings)
    : device_(device), settings_(settings.empty() ? std::string(device.model().speed) + ",n,8,1" : settings) {
    byteTimeMs_ = sim::byteTimeMs(settings_);
    device_.setLineByteTimeMs(byteTimeMs_);
}

PtyEnd::~PtyEnd() {
    stop();
    closeFds();
}

std::string PtyEnd::open() {
    if (master_ >= 0) return slavePath_;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) throw systemError("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        const auto e = systemError("grantpt/unlockpt");
        closeFds();
        throw e;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        const auto e = systemError("ptsname");
        closeFds();
        throw e;
    }
    slavePath_ = name;
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveKeep_ < 0) {
        const auto e = systemError("open " + slavePath_);
        closeFds();
        throw e;
    }
    // Raw: no echo, no line editing, no character translation, 8 bits.
    termios tio{};
    if (::tcgetattr(slaveKeep_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveKeep_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Packet mode: reads tell when the program on the other end empties its buffers.
    int packet = 1;
    ::ioctl(master_, TIOCPKT, &packet);
    return slavePath_;
}

void PtyEnd::closeFds() {
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    if (master_ >= 0) ::close(master_);
    slaveKeep_ = master_ = -1;
}

void PtyEnd::serve(const std::atomic<bool>* stopFlag) {
    if (master_ < 0) open();
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto nowMs = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    std::deque<Timed> toDevice, toHost;
    Bytes held;
    constexpr std::size_t kFifoTrigger = 8;
    double toHostFree = 0;
    double shiftingUntil = -1;  // when the byte now on the line to the device has arrived; -1 idle
    std::size_t noticed = 0;    // host bytes seen waiting in the terminal at the last look
    // Takes the terminal's status reports; when one tells that the host emptied
    // its output, the bytes noticed waiting before are dropped (`drop`). True then.
    auto takeStatus = [&](bool drop) {
        bool flushed = false;
        for (;;) {
            std::uint8_t status = TIOCPKT_DATA;
            // With data waiting this reads only the packet's header and leaves the data.
            if (::read(master_, &status, 1) != 1 || status == TIOCPKT_DATA) break;
            if (!(status & TIOCPKT_FLUSHWRITE)) continue;
            flushed = true;
            if (drop && noticed > 0) {
                std::uint8_t lost[257];
                (void)::read(master_, lost, std::min(noticed + 1, sizeof lost));
            }
            noticed = 0;
        }
        return flushed;
    };
    // How many host bytes wait now; a flush reported meanwhile leaves them all
    // to be sent, as nothing tells which came after it.
    auto lookAtQueue = [&] {
        takeStatus(true);
        int waiting = 0;
        if (::ioctl(master_, FIONREAD, &waiting) != 0) waiting = 0;
        noticed = static_cast<std::size_t>(std::max(waiting, 0));
        if (takeStatus(false)) noticed = 0;
        return waiting;
    };
    const double bt = byteTimeMs_;

    while (!stopRequested_ && !(stopFlag && *stopFlag)) {
        double now = nowMs();
        while (!toDevice.empty() && toDevice.front().at <= now) {
            const Timed b = toDevice.front();
            toDevice.pop_front();
            std::lock_guard<std::mutex> lock(mutex_);
            for (Reply& r : device_.receive(b.byte, b.at)) {
                double t = std::max(r.readyMs, toHostFree);
                for (std::uint8_t byte : r.bytes) {
                    t += bt;
                    toHost.push_back(Timed{byte, t});
                }
                toHostFree = t;
            }
            if (device_.lineClosed()) {
                lineClosed_ = true;
                closeFds();
                return;
            }
        }
        while (!toHost.empty() && toHost.front().at <= now) {
            held.push_back(toHost.front().byte);
            toHost.pop_front();
        }
        // Hand bytes over as a UART's receive FIFO does: a burst at its trigger
        // level, and the rest of a reply as soon as its last byte is on the line.
        // Each byte still arrives no earlier than its line time allows.
        if (!held.empty() && (held.size() >= kFifoTrigger || toHost.empty())) {
            // A client that reads nothing for long fills the terminal; the excess is lost.
            const ssize_t n = ::write(master_, held.data(), held.size());
            (void)n;
            held.clear();
        }

        // The host's bytes wait in its transmit queue (the terminal) and leave it
        // one at a time at the line's pace, each taken only once its line time
        // has passed. The terminal reports the host emptying its output (packet
        // mode): the bytes seen waiting then are dropped, as a UART drops them.
        if (shiftingUntil >= 0 && nowMs() >= shiftingUntil) {
            if (takeStatus(true)) {
                shiftingUntil = -1;
                continue;
            }
            now = nowMs();
            const std::size_t due = 1 + static_cast<std::size_t>((now - shiftingUntil) / bt);
            std::uint8_t buf[257];
            const ssize_t n = ::read(master_, buf, std::min(due + 1, sizeof buf));
            double at = shiftingUntil;
            for (ssize_t i = 1; i < n && buf[0] == TIOCPKT_DATA; ++i) {
                toDevice.push_back(Timed{buf[i], at});
                at += bt;
                if (noticed > 0) --noticed;
            }
            shiftingUntil = lookAtQueue() > 0 ? at : -1;  // the next byte follows on the line at once
            continue;
        }

        double next = now + 20;
        if (!toDevice.empty()) next = std::min(next, toDevice.front().at);
        if (!toHost.empty()) next = std::min(next, toHost.front().at);
        if (shiftingUntil >= 0) next = std::min(next, shiftingUntil);
        const double waitMs = std::max(0.0, next - nowMs());
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(waitMs / 1000);
        ts.tv_nsec = static_cast<long>((waitMs - ts.tv_sec * 1000.0) * 1e6);
        pollfd pfd{master_, static_cast<short>(shiftingUntil >= 0 ? 0 : POLLIN | POLLPRI), 0};
        const int ready = ::ppoll(&pfd, 1, &ts, nullptr);
        if (ready > 0 && (pfd.revents & (POLLIN | POLLPRI))) {
            if (lookAtQueue() > 0) shiftingUntil = nowMs() + bt;  // the first byte starts on an idle line
        } else if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR))) {
            ::usleep(5000);  // no client at the moment
        }
    }
}

void PtyEnd::start() {
    if (master_ < 0) open();
    if (thread_.joinable()) return;
    stopRequested_ = false;
    thread_ = std::thread([this] { serve(nullptr); });
}

void PtyEnd::stop() {
    stopRequested_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace gyrel::sim

#endif  // _WIN32
