#include <gtest/gtest.h>

#include "download_fixture.h"
#include "origin/origin_dialog.h"
#include "sim/faults.h"

namespace gyrel {
namespace {

using xfertest::Rig;

// Every fault the simulated device can show, against a download and an upload:
// each ends with the outcome of its conversation, within a bounded time, with
// the port given back, the editor free and the program text untouched.
const char* const kFaults[] = {"silent", "late:35", "late400",      "badsum",        "garbage",
                               "long",   "noack:2", "mute-after:1", "close-after:1", "mute-after:0"};

TEST(TransferFaults, DownloadEndsCleanlyWhateverTheDeviceDoes) {
    for (const char* fault : kFaults) {
        SCOPED_TRACE(fault);
        Rig r("V820AX");
        ASSERT_TRUE(sim::applyFault(fault, r.device.faults()));
        r.ed.ProgBox = "1\t100\t200\r\n";
        r.prepare({{100, 1}, {200, 0}});
        r.env.procs.LeggiLav = [](int) { return true; };
        r.download.Command2();
        const bool failed = r.download.lastOutcome == DownloadCommand::Outcome::TransmissionError;
        EXPECT_TRUE(failed || r.download.lastOutcome == DownloadCommand::Outcome::Sent);
        // A frame gets at most 12 checks: about 11 s, three frames at most.
        EXPECT_LT(r.clock.nowMs(), 3 * 12000);
        EXPECT_EQ(r.op.boxLog(), failed ? "Trasmission  Prog.1|Transmission error\n" : "");
        EXPECT_FALSE(r.port.portOpen());
        r.expectFree();
        EXPECT_EQ(r.ed.ProgBox, "1\t100\t200\r\n");
    }
}

TEST(TransferFaults, UploadEndsCleanlyWhateverTheDeviceDoes) {
    for (const char* fault : kFaults) {
        SCOPED_TRACE(fault);
        Rig r("KMT71");
        r.device.setProgram(0, {{100, 1}, {200, 0}});
        ASSERT_TRUE(sim::applyFault(fault, r.device.faults()));
        r.ed.ProgBox = "keep";
        const int ok = r.upload.ImportaEncoder(0);
        EXPECT_LT(r.clock.nowMs(), 5 * 700);
        if (ok == 1) {
            EXPECT_EQ(r.upload.lastEnd, UploadEnd::Complete);
            EXPECT_NE(r.ed.ProgBox.find("1\t100\t200\r\n"), std::string::npos);
        } else {
            EXPECT_EQ(r.ed.ProgBox, "keep");
        }
        r.expectFree();
    }
}

TEST(TransferFaults, OriginExchangeEndsCleanlyWhateverTheDeviceDoes) {
    for (const char* fault : kFaults) {
        SCOPED_TRACE(fault);
        Rig r("Px71");
        ASSERT_TRUE(sim::applyFault(fault, r.device.faults()));
        OriginDialog d(r.ctx, r.link, r.ed.wait);
        d.show();
        d.rows[0].TxtPreset = "5";
        d.PulsTx();
        d.PulsRx();
        EXPECT_EQ(r.link.PortUsers, 0);
        EXPECT_LE(r.clock.nowMs(), 17 * 1100 + 100);
    }
}

}  // namespace
}  // namespace gyrel
