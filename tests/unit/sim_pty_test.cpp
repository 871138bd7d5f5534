#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "sim/device.h"
#include "sim/pty_end.h"

namespace gyrel {
namespace {

using Steady = std::chrono::steady_clock;

int openRaw(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Reads until n bytes came, the line hung up or timeoutMs passed.
Bytes readBytes(int fd, std::size_t n, int timeoutMs, bool* hungUp = nullptr) {
    Bytes got;
    const auto end = Steady::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < n) {
        const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - Steady::now()).count());
        if (left <= 0) break;
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, left) <= 0) break;
        std::uint8_t buf[64];
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r <= 0) {
            if (hungUp) *hungUp = true;
            break;
        }
        got.insert(got.end(), buf, buf + r);
    }
    return got;
}

double msSince(Steady::time_point t) { return std::chrono::duration<double, std::milli>(Steady::now() - t).count(); }

bool validStatus(const Bytes& f) {
    if (f.size() != 19 || f[0] != 0x80) return false;
    unsigned sum = 0;
    for (int i = 1; i <= 17; ++i) sum += f[i];
    return (sum & 0xFF) == f[18];
}

TEST(SimPty, StatusQueryTakesTheLineTime) {
    sim::Device device("NORM");
    device.setPosition(1234, 0);
    sim::PtyEnd end(device, "9600,n,8,1");
    const std::string path = end.open();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    end.start();
    const int fd = openRaw(path);
    ASSERT_GE(fd, 0);

    const std::uint8_t query = 0x80;
    const auto sentAt = Steady::now();
    ASSERT_EQ(::write(fd, &query, 1), 1);
    const Bytes reply = readBytes(fd, 19, 2000);
    const double took = msSince(sentAt);
    EXPECT_TRUE(validStatus(reply));
    ASSERT_EQ(reply.size(), 19u);
    EXPECT_EQ(reply[2], 0xD2);
    EXPECT_EQ(reply[3], 0x04);
    // 20 bytes of 1.0417 ms on the line plus the device's 2 ms.
    EXPECT_GE(took, 22.8);

    // Faults switched while serving take effect on the next query.
    end.withDevice([](sim::Device& d) { d.faults().silent = true; });
    ASSERT_EQ(::write(fd, &query, 1), 1);
    EXPECT_TRUE(readBytes(fd, 1, 150).empty());
    EXPECT_EQ(end.withDevice([](sim::Device& d) { return d.received().size(); }), 2u);
    ::close(fd);
    end.stop();
}

// A host that empties its output before the bytes had their line time loses
// them, as at a UART; one that waits their line time does not. The host waits
// a little before emptying, so the device end has seen the bytes queued: a
// flush that overtakes that look cannot be told from one before the write.
TEST(SimPty, BytesDiscardedBeforeTheirLineTimeNeverArrive) {
    sim::Device device("NORM");
    sim::PtyEnd end(device, "50,n,8,1");  // 200 ms a byte
    end.start();
    const int fd = openRaw(end.slavePath());
    ASSERT_GE(fd, 0);
    auto received = [&] { return end.withDevice([](sim::Device& d) { return d.received(); }); };
    const Bytes ack{0xFF, 0xFF};
    ASSERT_EQ(::write(fd, ack.data(), 2), 2);
    ::usleep(60000);
    ::tcflush(fd, TCOFLUSH);
    ::usleep(500000);
    EXPECT_TRUE(received().empty());

    ASSERT_EQ(::write(fd, ack.data(), 2), 2);
    ::usleep(2 * 200000 + 80000);
    ::tcflush(fd, TCOFLUSH);
    ::usleep(100000);
    EXPECT_EQ(received(), ack);
    ::close(fd);
    end.stop();
}

TEST(SimPty, DroppedLineClosesThePseudoTerminal) {
    sim::Device device("KMT71");
    device.faults().closeAfterReplies = 1;
    sim::PtyEnd end(device);
    EXPECT_NEAR(end.byteTimeMs(), 10000.0 / 115200, 1e-9);  // the model's own speed
    end.start();
    const int fd = openRaw(end.slavePath());
    ASSERT_GE(fd, 0);
    const std::uint8_t query = 0x80;
    ASSERT_EQ(::write(fd, &query, 1), 1);
    EXPECT_TRUE(validStatus(readBytes(fd, 19, 2000)));
    ASSERT_EQ(::write(fd, &query, 1), 1);
    bool hungUp = false;
    EXPECT_TRUE(readBytes(fd, 1, 2000, &hungUp).empty());
    EXPECT_TRUE(hungUp);
    EXPECT_TRUE(end.lineClosed());
    ::close(fd);
}


}  // namespace
}  // namespace gyrel
