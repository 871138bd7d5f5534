#include <gtest/gtest.h>

#include "dialogs/progress_state.h"
#include "download_fixture.h"

namespace gyrel {
namespace {

using Outcome = DownloadCommand::Outcome;
using xfertest::Rig;

// The editor's check stands in here as: the work file's first line names how many
// one-cam rows the program has ("EMPTY" for none, "BAD" for a failing check).
struct CmdRig : Rig {
    explicit CmdRig(const std::string& model = "NORM") : Rig(model) {
        env.procs.LeggiLav = [this](int code) {
            codes.push_back(code);
            const std::string text = fs.fileExists(env.WorkFilePath()) ? fs.readAll(env.WorkFilePath()) : "";
            if (text.rfind("BAD", 0) == 0) return false;
            ed.camTable = CamTable{};
            const int n = text.rfind("EMPTY", 0) == 0 ? 0 : text.empty() ? 1 : std::stoi(text);
            for (int i = 0; i < 2 * n; ++i) ed.camTable.set(i, static_cast<std::uint32_t>(10 * i + 5), i % 2 ? 0 : 1);
            ed.camTable.CamCount = 2 * n;
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
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(r.modifModes, std::vector<int>{2});
    EXPECT_EQ(r.codes, std::vector<int>{96});
    ASSERT_TRUE(r.device.program(6).has_value());
    EXPECT_EQ(r.device.program(6)->size(), 6u);
    // What the progress window shows at the end: the count and the outcome.
    const WindowTexts& en = windowTextsFor("EN");
    EXPECT_EQ(framesText(r.ed.wait.progress, en) + "|" + outcomeText(r.ed.wait.progress, en), "3 of 3 frames|Sent");
    r.expectFree();
}

TEST(Command2, BusyDeclinedOrFailedCheckSendsNothing) {
    CmdRig r;
    r.ctx.EditorBusy = true;
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Busy);
    EXPECT_TRUE(r.modifModes.empty());
    r.ctx.EditorBusy = false;
    r.modifAnswer = AnswerNo;
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Declined);
    EXPECT_TRUE(r.codes.empty());
    r.modifAnswer = AnswerYes;
    r.work("BAD");
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::CheckFailed);
    EXPECT_TRUE(r.port.sent().empty());
    EXPECT_EQ(r.link.PortUsers, 0);
    EXPECT_FALSE(r.port.portOpen());
}

TEST(Command2, EmptyProgramIsSentOnlyAfterTheQuestion) {
    CmdRig r;
    r.work("EMPTY");
    r.ed.ProgramIndex = 2;
    r.op.answers = {AnswerNo};
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Declined);
    ASSERT_EQ(r.op.boxes.size(), 1u);
    EXPECT_EQ(r.op.boxes[0].title, "     Empty program ! ");
    EXPECT_EQ(r.op.boxes[0].prompt, "All outputs on program # 3 will be set to zero!\r\n     Continue?");
    EXPECT_EQ(r.op.boxes[0].icon, MsgIcon::Question);
    EXPECT_TRUE(r.port.sent().empty());
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(r.device.program(2), (sim::CamTable{{0, 0}}));
}

TEST(Command2, TooManyCamsAreRefusedBeforeAnythingIsSent) {
    CmdRig r;
    r.env.procs.LeggiLav = [&](int) {
        r.ed.camTable.CamCount = 131;
        r.ed.CamRowCount = 70;
        return true;
    };
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Refused);
    ASSERT_EQ(r.op.boxes.size(), 1u);
    EXPECT_EQ(r.op.boxes[0].title, "too much cams");
    EXPECT_TRUE(r.port.sent().empty());
    EXPECT_EQ(r.link.PortUsers, 0);
}

TEST(Command2, HighResolutionModelsGetTheWideEncoding) {
    CmdRig r("V820HX");
    r.work("1");
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(r.port.sent().size(), 19u * 3);
    EXPECT_EQ(r.port.sent()[4], 2);  // the count stands in byte 4
}

// The multiple-file run asks about unsaved changes once (mode 1); declining an
// empty program stops the run before anything is sent.
TEST(Command2Multiple, DecliningAnEmptyProgramStopsTheRest) {
    CmdRig r;
    r.ed.SelezMulti = true;
    std::array<std::string, 16> paths;
    r.env.slots.path = [&](int k) { return paths[static_cast<std::size_t>(k)]; };
    paths[0] = r.home.path() + "/e1.txt";
    paths[1] = r.home.path() + "/two.txt";
    r.fs.writeAll(paths[0], "EMPTY");
    r.fs.writeAll(paths[1], "1");
    r.op.answers = {AnswerNo};
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Declined);
    EXPECT_EQ(r.modifModes, std::vector<int>{1});
    EXPECT_EQ(r.codes, std::vector<int>{80});
    EXPECT_TRUE(r.port.sent().empty());
}

TEST(EditorButtons, ClearVerifyAndAppend) {
    CmdRig r;
    r.ed.Text2 = "log";
    r.download.Command1();
    EXPECT_EQ(r.ed.Text2, "");
    r.download.ButtVerificaPrg();
    EXPECT_EQ(r.codes, std::vector<int>{99});
    r.work("1\t10\t20\r\n");
    r.ed.check2[0] = r.ed.check2[15] = true;
    r.ed.Text4[0] = "5";
    r.ed.Text5[0] = "-3";
    r.ed.Text4[15] = "0";
    r.ed.Text5[15] = "7";
    int reloads = 0;
    r.env.procs.AggBox = [&] { ++reloads; };
    r.download.Command5();
    EXPECT_EQ(r.fs.readAll(r.env.WorkFilePath()), "1\t10\t20\r\n&\r\n1\t5\t-3\r\n16\t0\t7\r\n");
    EXPECT_EQ(reloads, 1);
}

}  // namespace
}  // namespace gyrel
