#include <gtest/gtest.h>

#include "download_fixture.h"

namespace gyrel {
namespace {

using Outcome = DownloadCommand::Outcome;
using xfertest::Rig;

// The editor's check stands in here as: the work file's first line names how many
// one-cam rows the program has ("EMPTY" for none, "BAD" for a failing check, "MANY"
// for more change points than the device holds).
struct CmdRig : Rig {
    explicit CmdRig(const std::string& model = "NORM") : Rig(model) {
        env.procs.LeggiLav = [this](int code) {
            codes.push_back(code);
            const std::string text = fs.fileExists(env.WorkFilePath()) ? fs.readAll(env.WorkFilePath()) : "";
            if (text.rfind("BAD", 0) == 0) return false;
            const bool many = text.rfind("MANY", 0) == 0;
            const int n = text.rfind("EMPTY", 0) == 0 ? 0 : many ? 60 : text.empty() ? 1 : std::stoi(text);
            ed.camTable = CamTable{};
            for (int i = 0; i < 2 * n; ++i) ed.camTable.set(i, static_cast<std::uint32_t>(10 * i + 5), i % 2 ? 0 : 1);
            ed.camTable.CamCount = many ? 131 : 2 * n;
            ed.CamRowCount = n;
            return true;
        };
        env.procs.CheckModif = [this](int mode) {
            modifModes.push_back(mode);
            return modifAnswer;
        };
    }
    void work(const std::string& text) { fs.writeAll(env.WorkFilePath(), text); }
    std::vector<int> codes;
    std::vector<int> modifModes;
    int modifAnswer = AnswerYes;
};

TEST(Command2, SendsTheCheckedProgramIntoTheSelectedSlot) {
    CmdRig r;
    r.work("3");
    r.ed.ProgramIndex = 6;
    EXPECT_EQ(r.send(), Outcome::Sent);
    EXPECT_EQ(r.modifModes, std::vector<int>{2});
    EXPECT_EQ(r.codes, std::vector<int>{96});
    EXPECT_EQ(r.device.program(6), (sim::CamTable{{5, 1}, {15, 0}, {25, 1}, {35, 0}, {45, 1}, {55, 0}}));
    r.expectFree();
    // The editor's other button: append the offsets.
    r.work("1\t10\t20\r\n");
    r.ed.check2[0] = r.ed.check2[15] = true;
    r.ed.Text4[0] = r.ed.Text5[15] = "5";
    r.ed.Text5[0] = "-3";
    r.ed.Text4[15] = "0";
    int reloads = 0;
    r.env.procs.AggBox = [&] { ++reloads; };
    r.download.Command5();
    EXPECT_EQ(r.fs.readAll(r.env.WorkFilePath()), "1\t10\t20\r\n&\r\n1\t5\t-3\r\n16\t0\t5\r\n");
    EXPECT_EQ(reloads, 1);
}

// Nothing is sent while the editor is busy, when unsaved changes are kept, when the
// check fails or the table is too large, or until an empty program is confirmed.
TEST(Command2, NothingIsSentUntilTheProgramMayGo) {
    CmdRig r;
    r.ed.ProgramIndex = 2;
    r.ctx.EditorBusy = true;
    EXPECT_EQ(r.send(), Outcome::Busy);
    EXPECT_TRUE(r.modifModes.empty());
    r.ctx.EditorBusy = false;
    r.modifAnswer = AnswerNo;
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_TRUE(r.codes.empty());
    r.modifAnswer = AnswerYes;
    r.work("BAD");
    EXPECT_EQ(r.send(), Outcome::CheckFailed);
    r.work("MANY");
    EXPECT_EQ(r.send(), Outcome::Refused);
    r.work("EMPTY");
    r.op.answers = {AnswerNo};
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_EQ(r.op.boxLog(),
              "too much cams|Programmed 131 camms\r\nMAX NUM of CAMS = 120 !!!\r\nNothing was sent.\n"
              "     Empty program ! |All outputs on program # 3 will be set to zero!\r\n     Continue?\n");
    EXPECT_EQ(r.op.boxes[1].icon, MsgIcon::Question);
    EXPECT_EQ(std::make_tuple(r.port.sent().size(), r.link.PortUsers, r.port.portOpen()),
              std::make_tuple(0u, 0, false));
    EXPECT_EQ(r.send(), Outcome::Sent);
    EXPECT_EQ(r.device.program(2), (sim::CamTable{{0, 0}}));
    // The multiple-file run asks about unsaved changes once (mode 1); declining an
    // empty program stops the run before anything more is sent.
    r.ed.SelezMulti = true;
    const std::string empty = r.home.path() + "/e1.txt", one = r.home.path() + "/two.txt";
    r.env.slots.path = [&](int k) { return k == 0 ? empty : k == 1 ? one : ""; };
    r.fs.writeAll(empty, "EMPTY");
    r.fs.writeAll(one, "1");
    r.modifModes.clear();
    r.codes.clear();
    const std::size_t sent = r.port.sent().size();
    r.op.answers = {AnswerNo};
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_EQ(r.modifModes, std::vector<int>{1});
    EXPECT_EQ(r.codes, std::vector<int>{80});
    EXPECT_EQ(r.port.sent().size(), sent);
}

}  // namespace
}  // namespace gyrel
