#include <gtest/gtest.h>

#include "download_fixture.h"
#include "origin/origin_dialog.h"
#include "sim/faults.h"

namespace gyrel {
namespace {

using xfertest::Rig;

// Every fault the simulated device can show, against a download, an upload and an
// origin exchange: each ends with the outcome of its conversation, within a bounded
// time, with the port given back, the editor free and the program text untouched.
TEST(TransferFaults, EveryExchangeEndsCleanlyWhateverTheDeviceDoes) {
    for (const char* fault : {"silent", "late:35", "late400", "badsum", "garbage", "long", "noack:2",
                              "mute-after:1", "close-after:1", "mute-after:0"}) {
        SCOPED_TRACE(fault);
        Rig d("V820AX"), u("KMT71"), o("Px71");
        for (Rig* r : {&d, &u, &o}) ASSERT_TRUE(sim::applyFault(fault, r->device.faults()));
        d.ed.ProgBox = "1\t100\t200\r\n";
        d.prepare({{100, 1}, {200, 0}});
        d.env.procs.LeggiLav = [](int) { return true; };
        const DownloadCommand::Outcome outcome = d.send();
        const bool failed = outcome == DownloadCommand::Outcome::TransmissionError;
        EXPECT_TRUE(failed || outcome == DownloadCommand::Outcome::Sent);
        // A frame gets at most 12 checks: about 11 s, three frames at most.
        EXPECT_LT(d.clock.nowMs(), 3 * 12000);
        EXPECT_EQ(d.op.boxLog(), failed ? "Trasmission  Prog.1|Transmission error\n" : "");
        EXPECT_FALSE(d.port.portOpen());
        EXPECT_EQ(d.ed.ProgBox, "1\t100\t200\r\n");

        u.device.setProgram(0, {{100, 1}, {200, 0}});
        u.ed.ProgBox = "keep";
        const int ok = u.upload.ImportaEncoder(0);
        EXPECT_LT(u.clock.nowMs(), 5 * 700);
        if (ok == 1) {
            EXPECT_EQ(u.upload.lastEnd, UploadEnd::Complete);
            EXPECT_NE(u.ed.ProgBox.find("1\t100\t200\r\n"), std::string::npos);
        } else {
            EXPECT_EQ(u.ed.ProgBox, "keep");
        }

        OriginDialog dialog(o.ctx, o.link, o.ed.wait);
        dialog.show();
        dialog.rows[0].TxtPreset = "5";
        dialog.PulsTx();
        dialog.PulsRx();
        EXPECT_LE(o.clock.nowMs(), 17 * 1100 + 100);
        for (Rig* r : {&d, &u, &o}) r->expectFree();
    }
}

}  // namespace
}  // namespace gyrel
