#include <gtest/gtest.h>

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
            if (text.rfind("EMPTY", 0) == 0) {
                ed.CamRowCount = 0;
                ed.camTable.CamCount = 0;
                return true;
            }
            const int n = text.empty() ? 1 : std::stoi(text);
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
    r.expectFree();
}

TEST(Command2, DoesNothingWhileAnotherTransferRuns) {
    CmdRig r;
    r.ctx.EditorBusy = true;
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Busy);
    EXPECT_TRUE(r.modifModes.empty());
    EXPECT_TRUE(r.port.sent().empty());
    EXPECT_FALSE(r.port.portOpen());
}

TEST(Command2, DeclinedChangesOrAFailedCheckSendNothing) {
    CmdRig r;
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
    ASSERT_TRUE(r.device.program(2).has_value());
    EXPECT_EQ(*r.device.program(2), (sim::CamTable{{0, 0}}));
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

struct MultiRig : CmdRig {
    MultiRig() {
        ed.SelezMulti = true;
        env.slots.path = [this](int k) { return paths[static_cast<std::size_t>(k)]; };
        env.slots.markMissing = [this](int k, bool missing) { this->missing[static_cast<std::size_t>(k)] = missing; };
        env.slots.setProgramNumber = [this](const std::string& t) { numbers.push_back(t); };
    }
    std::string file(const std::string& name, const std::string& text) {
        const std::string p = home.path() + "/" + name;
        fs.writeAll(p, text);
        return p;
    }
    std::array<std::string, 16> paths;
    std::array<bool, 16> missing{};
    std::vector<std::string> numbers;
};

TEST(Command2Multiple, FilledSlotsAreSentAndEmptyOnesSkipped) {
    MultiRig r;
    r.paths[0] = r.file("one.txt", "1");
    r.paths[2] = r.file("three.txt", "2");
    r.ed.ProgramFilePath = r.file("current.txt", "4");
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(r.codes, (std::vector<int>{80, 82}));
    EXPECT_EQ(r.modifModes, std::vector<int>{1});
    EXPECT_TRUE(r.device.program(0).has_value());
    EXPECT_FALSE(r.device.program(1).has_value());
    EXPECT_EQ(r.device.program(2)->size(), 4u);
    EXPECT_EQ(r.ed.ProgramFilePath, r.home.path() + "/current.txt");
    EXPECT_EQ(r.fs.readAll(r.env.WorkFilePath()), "4");
    r.expectFree();
}

TEST(Command2Multiple, DecliningAnEmptyProgramStopsTheRest) {
    MultiRig r;
    r.paths[0] = r.file("e1.txt", "EMPTY");
    r.paths[1] = r.file("two.txt", "1");
    r.op.answers = {AnswerNo};
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Declined);
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
    r.ed.check2[0] = true;
    r.ed.Text4[0] = "5";
    r.ed.Text5[0] = "-3";
    r.ed.check2[15] = true;
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
