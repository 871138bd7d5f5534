#include <gtest/gtest.h>

#include "device/tx712_val.h"
#include "download_fixture.h"
#include "editor/leggi712.h"

namespace gyrel {
namespace {

using xfertest::Rig;

struct Rig712 : Rig {
    Rig712() : Rig("V712") {}
    Text712& t() { return download.text712; }
    // A program download of `text` through the open port.
    void type(const std::string& text) {
        EXPECT_TRUE(link.apri_com(UserEditor));
        t().beginDownload();
        more(text);
    }
    void more(const std::string& text) {
        for (char c : text) t().Tx712(c);
    }
    std::string sent() const { return toString(port.sent()); }
};

// Each character waits 10 ms; a line goes with its carriage return, never the
// line feed, and the next one waits half a second after the reply. Comment lines
// send nothing.
TEST(Text712, LinesAreTypedWithTheirCarriageReturnAndAnswered) {
    Rig712 r;
    r.type("' heading\r\n\r\n");
    const double t0 = r.clock.nowMs();
    r.more("PRG=1,OUT=2,CON=10,COF=20");
    EXPECT_EQ(r.clock.nowMs() - t0, 250);
    r.more("\r\n");
    EXPECT_EQ(r.clock.nowMs() - t0, 250 + 10 + 5 + 500);  // the carriage return, the reply, the pause
    EXPECT_EQ(r.sent(), "|PRG=1,OUT=2,CON=10,COF=20\r");
    EXPECT_EQ(r.device.textLines(), std::vector<std::string>{"PRG=1,OUT=2,CON=10,COF=20"});
    EXPECT_EQ(r.ed.FinRisp + "|" + r.ed.Text2, "|PRG=1,OUT=2,CON=10,COF=20\r\nOK\r\n");
    EXPECT_EQ(r.device.row712(0, 1).con, 10);
    // A partial comment waits for no reply: the rejected "OUT=3" comes with the echo
    // of the next line, whose own reply is "OK".
    r.more("OUT=3 ' note\r\n");
    EXPECT_EQ(r.sent().substr(27), "OUT=3 \r");
    EXPECT_EQ(r.t().linesAwaited, 1);
    const double t1 = r.clock.nowMs();
    r.more("PRG=1\r\n");
    EXPECT_EQ(std::make_pair(r.t().linesAwaited, r.t().rejectedLines), std::make_pair(2, 0));
    EXPECT_EQ(r.clock.nowMs() - t1, 50 + 10 + 5 + 500);
    // A rejected line goes to the error box, newest first, and the transfer goes on.
    r.more("BAD\r\nPRG=1\r\nALSO\r\n");
    EXPECT_EQ(std::make_pair(r.device.textLines().size(), r.t().rejectedLines), std::make_pair(std::size_t{6}, 2));
    EXPECT_EQ(r.ed.FinRisp, "ALSO\r\nER\r\n-BAD\r\nER\r\n-");
    // A silent device times out after fifteen seconds.
    r.device.faults().silent = true;
    r.type("PRG=1\r");
    const double t2 = r.clock.nowMs();
    r.more("\n");
    EXPECT_EQ(r.clock.nowMs() - t2, 15000 + 500);
    EXPECT_EQ(r.ed.FinRisp, "xxxxx");
    EXPECT_EQ(std::make_pair(r.ctx.editorLayout.progBoxHeight, r.t().rejectedLines), std::make_pair(4600, 1));
    // A cancel ends a pending reply wait at once.
    r.type("PRG=1\r");
    r.clock.after(300, [&] { r.ctx.CancelRequested = true; });
    const double t3 = r.clock.nowMs();
    r.more("\n");
    EXPECT_EQ(r.clock.nowMs() - t3, 300 + 500);
}

// A row whose cams do not reach its offset is refused; the others go as one line
// each with the leading number of each filled box, as do Default and Reset.
TEST(Text712, RowAndSlotCommandsGoAsOneLine) {
    Rig712 r;
    r.t().PulsInvio(0, "1", "30", "10", "5", "Send out 1");
    EXPECT_EQ(r.op.boxLog(), "gyrel|30 > 10 + 5\n");
    EXPECT_TRUE(r.port.sent().empty());
    std::vector<int> aggTab;
    r.env.procs.AggTab = [&](int i) { aggTab.push_back(i); };
    r.t().PulsInvio(0, "1", "30", "10", "", "Send out 1");
    r.t().PulsInvio(2, "1", "", "2.50", "7abc", "Send out 3");
    r.t().PulsInvio(5, "16", "", "", "", "Send out 6");
    EXPECT_EQ(aggTab, (std::vector<int>{0, 2, 5}));
    r.expectFree();
    EXPECT_EQ(r.t().CommandText, "PRG=16\r\n");
    r.t().CmdDFT("3");
    r.t().CmdRST("3");
    EXPECT_EQ(r.device.textLines(), (std::vector<std::string>{"PRG=1,OUT=1,OFS=30,CON=10", "PRG=1,OUT=3,CON=2.5,COF=7",
                                                              "PRG=16", "DFT=3", "RST=3"}));
    EXPECT_EQ(r.device.runningSlot(), 2);
    EXPECT_EQ(r.sent().substr(r.sent().size() - 12), "DFT=3\rRST=3\r");
}

// A binary text is refused before anything is typed; a program text is typed whole.
TEST(Text712, DownloadCommandTypesTheWorkFileAndGivesThePortBack) {
    Rig712 r;
    r.ed.ProgramFilePath = "/progs/image.712";
    r.fs.writeAll(r.env.WorkFilePath(), std::string("PRG=1\r\n\0\x01ELF", 10));
    EXPECT_EQ(r.send(), DownloadCommand::Outcome::Refused);
    EXPECT_EQ(r.sent(), "");
    EXPECT_EQ(r.op.boxLog(), "image.712|The text holds control characters: it is not a program to send\n");
    EXPECT_EQ(r.link.PortUsers & UserEditor, 0);
    r.fs.writeAll(r.env.WorkFilePath(), "' program 1\r\nPRG=1,OUT=1,OFS=0,CON=100,COF=50\r\nPRG=1,OUT=2,CON=5\r\n");
    int leggi = 0;
    r.env.procs.Leggi712 = [&] { ++leggi; };
    r.ed.ProgramFilePath = "/progs/line.712";
    EXPECT_EQ(r.send(), DownloadCommand::Outcome::Sent);
    EXPECT_EQ(leggi, 1);
    EXPECT_EQ(r.sent(), "|PRG=1,OUT=1,OFS=0,CON=100,COF=50\rPRG=1,OUT=2,CON=5\r");
    r.expectFree();
    EXPECT_FALSE(r.ed.ParsingBusy);
    EXPECT_TRUE(r.ed.Frame4Enabled);
}

// A line that drops mid-download ends it at once, not after fifteen seconds a line;
// a cancel stops it before the next character.
TEST(Text712, ADroppedLineOrACancelEndsTheDownloadAtOnce) {
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel);
        Rig712 r;
        r.fs.writeAll(r.env.WorkFilePath(), "PRG=1,OUT=1,CON=1\r\nPRG=1,OUT=2,CON=5\r\nPRG=1,OUT=3,CON=7\r\n");
        if (cancel) r.clock.at(60, [&] { r.ctx.CancelRequested = true; });
        r.device.faults().closeAfterReplies = cancel ? -1 : 1;
        using Outcome = DownloadCommand::Outcome;
        EXPECT_EQ(r.send(), cancel ? Outcome::Cancelled : Outcome::TransmissionError);
        // The time and the bytes sent when it ended: the second line, or the sixth character.
        EXPECT_EQ(std::make_pair(r.clock.nowMs(), r.port.sent().size()),
                  cancel ? std::make_pair(60.0, std::size_t{7}) : std::make_pair(1360.0, std::size_t{37}));
        EXPECT_FALSE(r.ctx.CancelRequested);
        r.expectFree();
    }
}

TEST(Text712, ValReadsTheLeadingNumber) {
    const std::pair<const char*, double> vals[] = {{"12abc", 12}, {"  -3.5x", -3.5}, {"abc", 0}, {"", 0}};
    for (const auto& [text, v] : vals) EXPECT_EQ(Val(text), v) << text;
    EXPECT_EQ(generalNumber(2.5) + " " + generalNumber(-40) + " " + generalNumber(0.25), "2.5 -40 0.25");
    for (const char* plain : {" 3600 ", "1.5", "+7"}) EXPECT_TRUE(isPlainUnsigned(plain)) << plain;
    for (const char* other : {"-1", "1e3", "", ".", "1.2.3"}) EXPECT_FALSE(isPlainUnsigned(other)) << other;
}

// Every program and output a header text leaves values for, as "program.output=OFS|CON|COF ".
std::string headerValues(const std::string& text) {
    auto ed = std::make_unique<EditorState>();
    readHeaderParams("PRG=3,OUT=4,CON=9\r\n", *ed);  // emptied by the next read
    readHeaderParams(text, *ed);
    std::string out;
    for (std::size_t p = 0; p < 16; ++p)
        for (std::size_t o = 0; o < 16; ++o) {
            const auto& v = ed->HeaderParams[p][o];
            if (v[0].empty() && v[1].empty() && v[2].empty()) continue;
            out += std::to_string(p + 1) + "." + std::to_string(o + 1) + "=" + v[0] + "|" + v[1] + "|" + v[2] + " ";
        }
    return out;
}

TEST(Leggi712, ReadsTheHeaderValuesOfEachProgramAndOutput) {
    EXPECT_EQ(headerValues("PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\nPRG=16,OUT=16,OFS=0050,CON=3600,COF=0\r\n"),
              "1.1=0|100|200 16.16=50|3600|0 ");
    // Values need program and output earlier on the same line.
    EXPECT_EQ(headerValues("OFS=5,PRG=2,OUT=3,CON=6\r\nCOF=7\r\nPRG=2,COF=8\r\n"), "2.3=|6| ");
    // Signs, points and small letters are skipped; the text's end ends a field.
    EXPECT_EQ(headerValues("prg PRG = 0 5 , OUT=1, OFS=-1.5 ,CON=3"), "5.1=15|3| ");
    // Outside 1..16: nothing stored.
    EXPECT_EQ(headerValues("PRG=17,OUT=1,CON=5\r\nPRG=0,OUT=1,CON=6\r\nPRG=1,OUT=99999999999999999999,CON=7\r\n"), "");
}

}  // namespace
}  // namespace gyrel
