#include <gtest/gtest.h>

#include "dialogs/progress_state.h"
#include "download_fixture.h"

namespace gyrel {
namespace {

using xfertest::Rig;

const std::string kHead = "'Imported on 06/12/2026 07:30:00\r\n";

TEST(Upload, ThreeChangePointsRebuildTheTextAndLeaveTheCountersAtMinusFive) {
    Rig r("V820AX");
    r.device.setProgram(2, {{100, 1}, {200, 0}, {300, 2}});
    r.ed.ProgBox = "old text";
    bool busyThroughout = true;  // and a status query asked meanwhile sends nothing
    r.clock.onPump = [&] {
        if (r.port.sent().empty()) return;
        busyThroughout = busyThroughout && r.ctx.EditorBusy;
        if (r.ctx.EditorBusy) r.link.TxQuery();
    };
    EXPECT_EQ(r.upload.ImportaEncoder(2), 1);
    r.clock.onPump = nullptr;
    EXPECT_TRUE(busyThroughout);
    // Each of the three replies is read at the first 50-ms check after its request.
    EXPECT_EQ(r.clock.nowMs(), 3 * 50);
    EXPECT_EQ(r.upload.lastEnd, UploadEnd::Complete);
    EXPECT_EQ(std::make_pair(r.upload.RemainingPositions, r.upload.RemainingMasks), std::make_pair(-5, -5));
    EXPECT_EQ(r.ed.ProgBox, kHead + "'Program # 2\r\n\r\n1\t100\t200\r\n2\t300\t100\r\n");
    EXPECT_EQ(std::make_pair(r.ed.ProgramIndex, r.ed.camTable.CamCount), std::make_pair(2, 3.0));
    EXPECT_EQ(r.port.sent(), (Bytes{10, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0xFF, 0xFF, 0xFF}));
    const std::string& log = r.ed.Text2;
    EXPECT_EQ(log.substr(log.size() - 52), "10 0 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 12     req_ok\r\n");
    EXPECT_EQ(log.substr(0, 11), "3 0 1 0 0 0");
    r.expectFree();
    // The menu's single slot keeps the text for the single program too.
    r.device.setProgram(4, {{10, 1}, {20, 0}});
    r.upload.Menuencoder("5");
    EXPECT_EQ(r.ed.ProgBox, kHead + "'Program # 4\r\n\r\n1\t10\t20\r\n");
    EXPECT_EQ(r.ed.SlotTexts[16], r.ed.ProgBox);
    // What the progress window shows at the end: the count and the outcome.
    const WindowTexts& en = windowTextsFor("EN");
    EXPECT_EQ(framesText(r.ed.wait.progress, en) + "|" + outcomeText(r.ed.wait.progress, en), "3 of 3 frames|Received");
    EXPECT_FALSE(r.ed.wait.visible);
    // A high-resolution model names the program from one and counts down in fewer pages.
    Rig hx("KMT71");
    hx.device.setProgram(0, {{0, 1}, {1048575, 0x81}});
    EXPECT_EQ(hx.upload.ImportaEncoder(0), 1);
    EXPECT_EQ(hx.ed.ProgBox, kHead + "'Program # 1\r\n\r\n1\t1\t1\r\n8\t1048575\t0\r\n");
    EXPECT_EQ(hx.upload.RemainingPositions, -2);
}

// A silent device fails after thirteen 50-ms waits, a cancel ends the wait at the
// next check, a damaged reply gets no go-ahead, a count past the table the host keeps
// is refused at its first reply, more cam rows than the editor holds once all 31 pages
// are in: the text is left as it was.
TEST(Upload, FailedExchangesLeaveTheText) {
    struct Case {
        const char* name;
        std::uint32_t entries;
        bool silent, badChecksum;
        double cancelAt;
        UploadEnd end;
        double took;
        std::size_t sent;
        const char* box;
    };
    const char* tooMany = "Import from encoder|Program # 0 holds more than 241 cam rows; it was not imported.\n";
    const Case cases[] = {{"silent", 2, true, false, -1, UploadEnd::NoReply, 13 * 50, 19, ""},
                          {"cancelled", 2, true, false, 120, UploadEnd::NoReply, 150, 19, ""},
                          {"wrong checksum", 2, false, true, -1, UploadEnd::BadChecksum, 50, 19, ""},
                          {"past the table", 250, false, false, -1, UploadEnd::OutOfRange, 50, 19, ""},
                          {"too many rows", 120, false, false, -1, UploadEnd::OutOfRange, 31 * 50, 19 + 31, tooMany}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r("V820AX");
        sim::CamTable t;
        for (std::uint32_t i = 0; i < c.entries; ++i) t.push_back({100 + i * 10, i % 2 ? 0u : 0xFFu});
        r.device.setProgram(0, t);
        r.device.faults().silent = c.silent;
        r.device.faults().badChecksum = c.badChecksum;
        if (c.cancelAt >= 0) r.clock.at(c.cancelAt, [&] { r.ctx.CancelRequested = true; });
        r.ed.ProgBox = "keep me";
        EXPECT_EQ(r.upload.ImportaEncoder(0), 0);
        EXPECT_EQ(r.clock.nowMs(), c.took);
        EXPECT_EQ(r.upload.lastEnd, c.end);
        EXPECT_EQ(r.port.sent().size(), c.sent);
        EXPECT_EQ(r.ed.ProgBox, "keep me");
        r.expectFree();
        EXPECT_EQ(r.op.boxLog(), c.box);
    }
}

}  // namespace
}  // namespace gyrel
