// gyrel-cli download --list and upload --all --list, in-process against the
// simulated encoder on the virtual clock, and once through a pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"
#include "sim/pty_end.h"

namespace gyrel {
namespace {

// Hands the job a port it may destroy while the test keeps the device behind it.
class BorrowedPort : public SerialPort {
public:
    explicit BorrowedPort(SerialPort& p) : p_(p) {}
    void setCommPort(int n) override { p_.setCommPort(n); }
    int commPort() const override { return p_.commPort(); }
    void setPortName(const std::string& s) override { p_.setPortName(s); }
    std::string portName() const override { return p_.portName(); }
    void setSettings(const std::string& s) override { p_.setSettings(s); }
    std::string settings() const override { return p_.settings(); }
    void setPortOpen(bool o) override { p_.setPortOpen(o); }
    bool portOpen() const override { return p_.portOpen(); }
    void setHandshaking(int m) override { p_.setHandshaking(m); }
    int handshaking() const override { return p_.handshaking(); }
    void setInputLen(int n) override { p_.setInputLen(n); }
    void setInputMode(InputMode m) override { p_.setInputMode(m); }
    InputMode inputMode() const override { return p_.inputMode(); }
    void setRTSEnable(bool on) override { p_.setRTSEnable(on); }
    void setInBufferSize(int n) override { p_.setInBufferSize(n); }
    int inBufferCount() override { return p_.inBufferCount(); }
    void setInBufferCount(int n) override { p_.setInBufferCount(n); }
    void setOutBufferCount(int n) override { p_.setOutBufferCount(n); }
    void output(const Bytes& b) override { p_.output(b); }
    Bytes input() override { return p_.input(); }

private:
    SerialPort& p_;
};

class CliBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/gyrel-clibatch-XXXXXX";
        dir = mkdtemp(pattern);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    int run(sim::Device& device, std::vector<std::string> args) {
        sim::InProcessPort port(device, clock);
        cli::Env env{out, err, clock, [&port](const std::string&) { return std::make_unique<BorrowedPort>(port); }};
        return cli::run(args, env);
    }
    std::string file(const std::string& name, const std::string& text) {
        fs.writeAll(dir + "/" + name, text);
        return dir + "/" + name;
    }
    std::string dir;
    std::ostringstream out, err;
    VirtualClock clock;
    StdFileSystem fs;
};

TEST_F(CliBatchTest, DownloadSendsEveryFilledSlotOfTheList) {
    sim::Device device("NORM");
    const std::string one = file("one.TXT", "1\t100\t200\r\n");
    const std::string three = file("three.TXT", "3\t0\t1800\r\n");
    const std::string list = file("m.lis", "1   (" + one + ")\r\n3   (" + three + ")\r\n");
    EXPECT_EQ(run(device, {"download", "--model", "NORM", "--port", "sim", "--list", list}), 0) << err.str();
    EXPECT_EQ(out.str(), "1   sent      " + one + "\n3   sent      " + three + "\n2 of 2 programs sent\n");
    EXPECT_EQ(*device.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
    EXPECT_FALSE(device.program(1).has_value());
    EXPECT_EQ(*device.program(2), (sim::CamTable{{0, 4}, {1800, 0}}));
}

TEST_F(CliBatchTest, DownloadStopsAtAMissingFileOrASilentDevice) {
    sim::Device device("NORM");
    const std::string one = file("one.TXT", "1\t100\t200\r\n");
    const std::string three = file("three.TXT", "3\t0\t1800\r\n");
    const std::string list = file("m.lis", "1   (" + one + ")\r\n2   (" + dir + "/gone.TXT)\r\n3   (" + three + ")\r\n");
    EXPECT_EQ(run(device, {"download", "--model", "NORM", "--port", "sim", "--list", list}), 1);
    EXPECT_NE(err.str().find(dir + "/gone.TXT\nFile not present\n"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "1   sent      " + one + "\n2   failed    " + dir + "/gone.TXT\n3   skipped   " + three +
                             "\n1 of 3 programs sent; program 2 failed; 1 not tried\n");
    out.str("");
    EXPECT_EQ(run(device, {"download", "--model", "NORM", "--port", "sim", "--list", file("e.lis", "' none\r\n")}), 0);
    EXPECT_EQ(out.str(), "nothing to send: " + dir + "/e.lis names no program\n");

    sim::Device quiet("NORM");
    const std::string two = file("two.TXT", "2\t5\t6\r\n");
    const std::string list2 = file("q.lis", "1   (" + one + ")\r\n2   (" + two + ")\r\n");
    quiet.faults().muteAfterReplies = 3;
    err.str("");
    out.str("");
    EXPECT_EQ(run(quiet, {"download", "--model", "NORM", "--port", "sim", "--list", list2}), 2);
    EXPECT_TRUE(quiet.program(0).has_value());
    EXPECT_FALSE(quiet.program(1).has_value());
    EXPECT_EQ(out.str(), "1   sent      " + one + "\n2   failed    " + two + "\n1 of 2 programs sent; program 2 failed\n");

    err.str("");
    EXPECT_EQ(run(device, {"download", "--model", "NORM", "--port", "sim", "--list", dir + "/none.lis"}), 1);
    file("bad.lis", "0   (x)\r\n");
    EXPECT_EQ(run(device, {"download", "--model", "NORM", "--port", "sim", "--list", dir + "/bad.lis"}), 1);
    EXPECT_NE(err.str().find("bad.lis: a slot number outside 1..16\n"), std::string::npos) << err.str();
}

TEST_F(CliBatchTest, UploadReadsTheWholeDeviceIntoFilesAndAList) {
    sim::Device device("V820HX");
    device.setProgram(0, {{100, 1}, {200, 0}});
    const std::string list = dir + "/backup.lis";
    EXPECT_EQ(run(device, {"upload", "--model", "V820HX", "--port", "sim", "--all", "--list", list}), 0)
        << err.str();
    std::string names, listed;
    for (int k = 0; k < 16; ++k) {
        const std::string f = dir + "/backup_" + std::to_string(k + 1) + ".820";
        names += f + "\n";
        listed += std::to_string(k + 1) + "   (" + f + ")\r\n";
        EXPECT_TRUE(fs.fileExists(f)) << f;
    }
    EXPECT_EQ(out.str(), names + list + "\n");
    EXPECT_EQ(fs.readAll(list), listed);
    const std::string p1 = fs.readAll(dir + "/backup_1.820");
    EXPECT_EQ(p1.substr(p1.find("\r\n") + 2), "'Program # 1\r\n\r\n1\t100\t200\r\n");

    EXPECT_EQ(run(device, {"upload", "--model", "V820HX", "--port", "sim", "--all", "--list", dir + "/nodot"}), 2);
    EXPECT_EQ(run(device, {"upload", "--model", "NORM", "--port", "sim", "--all", "--list", list}), 2);
}

#ifdef GYREL_CLI_PATH
TEST(CliBatchPty, DownloadOfAListThroughAPseudoTerminal) {
    char pattern[] = "/tmp/gyrel-clipty-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    StdFileSystem fs;
    fs.writeAll(dir + "/one.TXT", "1\t100\t200\r\n");
    fs.writeAll(dir + "/three.TXT", "3\t0\t1800\r\n");
    fs.writeAll(dir + "/m.lis", "1   (" + dir + "/one.TXT)\r\n3   (" + dir + "/three.TXT)\r\n");
    sim::Device device("NORM");
    sim::PtyEnd end(device);
    const std::string tty = end.open();
    end.start();
    const std::string cmd = std::string(GYREL_CLI_PATH) + " download --model NORM --port " + tty + " --list " + dir +
                            "/m.lis 2>&1";
    std::string output;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p)) output += buf;
        EXPECT_EQ(pclose(p), 0) << output;
    }
    end.stop();
    EXPECT_EQ(output, "1   sent      " + dir + "/one.TXT\n3   sent      " + dir + "/three.TXT\n2 of 2 programs sent\n");
    end.withDevice([](sim::Device& d) {
        EXPECT_EQ(*d.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
        EXPECT_FALSE(d.program(1).has_value());
        EXPECT_EQ(*d.program(2), (sim::CamTable{{0, 4}, {1800, 0}}));
        return 0;
    });
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
#endif

}  // namespace
}  // namespace gyrel
