#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "safety/slot_io.h"

#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

// The job works in a temporary folder of its own under TMPDIR and leaves nothing there;
// a frame the device does not acknowledge ends it with exit code 2.
TEST(CliDownload, SendsACheckedProgramIntoTheSlotAndLeavesNoWorkFolder) {
    CliRig r("NORM");
    const std::string tmp = r.home.path() + "/tmp", f = r.file("p.txt", "1\t100\t200\r\n2\t300\t50\r\n");
    std::filesystem::create_directory(tmp);
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string kept = oldTmp ? oldTmp : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    EXPECT_EQ(r.run({"download", "--model", "NORM", "--port", "/dev/sim", "--slot", "3", f}), 0) << r.err.str();
    oldTmp ? setenv("TMPDIR", kept.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    EXPECT_EQ(*r.device.program(2), (sim::CamTable{{50, 0}, {100, 1}, {200, 0}, {300, 2}}));
    EXPECT_EQ(r.err.str(), "");

    r.device.faults().noAckFrames = 1000;
    EXPECT_EQ(r.job("download --slot 1", {f}), 2);
    EXPECT_EQ(r.err.str(), "Trasmission  Prog.1\nTransmission error\n");
}

TEST(CliDownload, EmptyProgramNeedsYesAndAFailedCheckOrTooManyCamsSendNothing) {
    CliRig r("NORM");
    const std::string f = r.file("e.txt", "' nothing here\r\n"), bad = r.file("bad.txt", "1\t100\t4000\r\n");
    std::string many;
    for (int i = 0; i < 61; ++i) many += "1 " + std::to_string(10 + i * 50) + " " + std::to_string(30 + i * 50) + "\r\n";
    EXPECT_EQ(r.job("download --slot 1", {f}), 1);
    EXPECT_EQ(r.err.str().substr(0, 21), "     Empty program ! ");
    EXPECT_EQ(r.job("download --slot 1", {bad}), 1);
    EXPECT_EQ(r.err.str(), "Wrong value\nNot valid  ' 4000 '\n" + bad + ":1: Wrong value\n");
    EXPECT_EQ(r.job("download --slot 1", {r.file("many.txt", many)}), 1);
    EXPECT_EQ(xfertest::count(r.err.str(), "too much cams"), 1) << r.err.str();
    EXPECT_NE(r.err.str().find("Nothing was sent."), std::string::npos);
    EXPECT_TRUE(r.device.received().empty());
    EXPECT_EQ(r.job("download --slot 1 --yes", {f}), 0);
    EXPECT_EQ(*r.device.program(0), (sim::CamTable{{0, 0}}));
}

// The safety jobs send on an editor state of their own: an earlier file name is not shown as the one sent.
TEST(SlotIo, WriteSendsTheTextAsNoFile) {
    xfertest::Rig rig("NORM");
    SlotIo io(rig.ctx, rig.link);
    io.state().ProgramFilePath = "/old/a.TXT";
    ASSERT_TRUE(io.write(2, "1 100 200\r\n", nullptr));
    EXPECT_EQ(*rig.device.program(2), (sim::CamTable{{100, 1}, {200, 0}}));
    EXPECT_EQ(io.state().wait.label, "  => Prog.  3");
}

TEST(CliDownload, VerifyReadsTheSlotBackAndReportsADifference) {
    CliRig r("V820AX");
    const std::string f = r.file("p.820", "1\t100\t200\r\n8\t16000\t10\r\n");
    EXPECT_EQ(r.job("download --slot 2 --verify", {f}), 0) << r.err.str();
    bool tampered = false;
    r.clock.onPump = [&] {
        const auto& p = r.device.program(1);
        if (!tampered && p && p->size() == 4 && (*p)[0].position == 10) {
            r.device.setProgram(1, {{10, 0}, {100, 0x81}, {200, 0x80}, {16001, 0x80}});
            tampered = true;
        }
    };
    r.device.clearProgram(1);
    EXPECT_EQ(r.job("download --slot 2 --verify", {f}), 3);
    EXPECT_TRUE(tampered);
    EXPECT_NE(r.err.str().find("verify: 2 differs change point 1: file 100/1, device 100/129"), std::string::npos)
        << r.err.str();
}

TEST(CliDownload, V712TypesTheProgramText) {
    CliRig r("V712");
    EXPECT_EQ(r.job("download --slot 1", {r.file("p.712", "' P1\r\nPRG=1,OUT=1,OFS=0,CON=90,COF=180\r\n")}), 0)
        << r.err.str();
    EXPECT_EQ(r.device.textLines(), std::vector<std::string>{"PRG=1,OUT=1,OFS=0,CON=90,COF=180"});
    EXPECT_EQ(r.job("download --slot 1", {r.file("q.712", "PRG=1,OUT=99\r\n")}), 2);
}

TEST(CliUpload, PrintsOrWritesTheRebuiltTextAndAnIncompleteExchangeExitsTwo) {
    CliRig r("KMT71");
    r.device.setProgram(0, {{100, 1}, {2000, 0}});
    EXPECT_EQ(r.job("upload --slot 1"), 0) << r.err.str();
    const std::string text = r.out.str(), out = r.home.path() + "/back.KVX";
    EXPECT_EQ(text.substr(0, 13), "'Imported on ");
    EXPECT_EQ(text.substr(text.find("\r\n") + 2), "'Program # 1\r\n\r\n1\t100\t2000\r\n");
    EXPECT_EQ(r.job("upload --slot 1 --output", {out}), 0);
    EXPECT_EQ(StdFileSystem().readAll(out) + r.out.str(), text);
    EXPECT_EQ(r.run({"upload", "--model", "NORM", "--port", "p", "--slot", "1"}), 1);  // reads nothing back
    CliRig ax("V820AX");
    ax.device.faults().silent = true;
    EXPECT_EQ(ax.job("upload --slot 1"), 2);
    EXPECT_EQ(ax.err.str(), "upload of program 1 failed: no complete reply from the device (0 replies read)\n");
}

// Preset and origin values written and read back, plain and as JSON; a program the
// device did not answer for has no values.
TEST(CliPreset, ReadPrintsSixteenLinesAndWriteStoresTheValues) {
    CliRig r("Px71");
    EXPECT_EQ(r.job("preset write --preset 1=3600 --preset 16=4294967295 --origin 1=5 --origin 16=0"), 0) << r.err.str();
    EXPECT_EQ(std::make_tuple(r.device.presetOrigin(0).preset, r.device.presetOrigin(0).origin,
                              r.device.presetOrigin(15).preset),
              std::make_tuple(3600u, 5u, 4294967295u));
    EXPECT_EQ(r.job("preset read"), 0);
    const std::string out = r.out.str();
    EXPECT_EQ(out.substr(0, 15) + out.substr(out.size() - 16), "1 3600 5\n2 0 0\n16 4294967295 0\n");
    EXPECT_EQ(r.job("preset read --json"), 0) << r.err.str();
    const std::string json = r.out.str();
    EXPECT_EQ(json.substr(0, 120) + json.substr(json.size() - 4),
              "{\"programs\":[{\"program\":1,\"read\":true,\"preset\":\"3600\",\"origin\":\"5\"},"
              "{\"program\":2,\"read\":true,\"preset\":\"0\",\"origin\":\"0\"},}]}\n");
    r.device.faults().muteAfterReplies = 2;
    EXPECT_EQ(r.job("preset read --json"), 2);
    EXPECT_NE(r.out.str().find("\"read\":false,\"preset\":null,\"origin\":null}"), std::string::npos) << r.out.str();
}

TEST(CliPreset, RefusedValuesAndUnansweredWritesHaveTheirExitCodes) {
    CliRig r("V820HX");
    EXPECT_EQ(r.job("preset write --preset 1=-4"), 1);
    for (const char* program : {"17=5", "0=5", "x=5"}) EXPECT_NE(r.job("preset write --preset", {program}), 0) << program;
    EXPECT_TRUE(r.device.received().empty());
    EXPECT_EQ(r.job("preset write --preset 1=2000000"), 1);
    EXPECT_EQ(r.err.str(), "2000000\nToo High\n");
    EXPECT_EQ(r.job("preset write --preset 3=1 --origin 4=1"), 1);
    r.device.faults().silent = true;
    EXPECT_EQ(r.job("preset write --preset 3=1"), 2);
    EXPECT_EQ(r.job("preset read"), 2);
    EXPECT_NE(r.out.str().find("\n3 - -\n"), std::string::npos);
}

}  // namespace
}  // namespace gyrel
