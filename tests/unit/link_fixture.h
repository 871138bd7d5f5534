#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/context.h"
#include "device/model_table.h"
#include "link/monitor.h"
#include "link/serial_link.h"
#include "support/scripted_port.h"
#include "unit/download_fixture.h"

namespace gyrel {
namespace {

// The operator at the screen: remembers every message box and counts the beeps.
struct LinkTestOperator : xfertest::ScriptedOperator {
    void beep() override { ++beeps; }
    int beeps = 0;
};

// Status frames written out field by field, little-endian, the checksum summed over bytes 1..17.
inline void put(Bytes& f, std::size_t at, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) f[at + i] = (value >> (8 * i)) & 0xFF;
}
inline Bytes withChecksum(Bytes f) {
    f[0] = 0x80;
    for (std::size_t i = 1; i <= 17; ++i) f[18] = static_cast<std::uint8_t>(f[18] + f[i]);
    return f;
}
inline Bytes frameB(unsigned position, unsigned program = 0, unsigned cams = 0, unsigned outputs = 0) {
    Bytes f(19, 0);
    put(f, 2, position, 2);
    put(f, 4, program, 1);
    put(f, 5, cams, 1);
    put(f, 8, outputs, 2);
    return withChecksum(f);
}
inline Bytes frameA(std::uint32_t position, unsigned program = 0, unsigned cams = 0, std::uint32_t outputs = 0) {
    Bytes f(19, 0);
    put(f, 2, program, 1);
    put(f, 4, cams, 2);
    put(f, 6, position, 4);
    put(f, 14, outputs, 4);
    return withChecksum(f);
}

// A main window with its link over a scripted port in simulated time.
struct LinkRig {
    VirtualClock clock;
    ScriptedPort port{clock};
    MemorySettingsStore settings;
    StdFileSystem fs;
    LinkTestOperator op;
    Context ctx{Services{port, clock, settings, fs, op}};
    SerialLink link{ctx};
    MainView& m = ctx.main;

    LinkRig() { ctx.applyLanguage("EN"); }

    // The globals a model configuration leaves behind.
    void useModel(const std::string& code) {
        const ModelInfo& info = *findModel(code);
        ctx.model = globalsOf(info);
        m.turnDisplaysVisible = info.multiTurnDisplays;
        m.LblGiri = m.LblGiro = info.multiTurnDisplays ? "" : "0";
    }
    // The port held open by the monitor, polling on, as during a poll.
    void polling() {
        ASSERT_TRUE(link.apri_com(UserMonitor));
        link.PollingActive = true;
        m.Check1Checked = true;
        m.Check1Caption = " Off line";
    }
    // Every poll answered with `reply` 10 ms after the query.
    void answerAll(const Bytes& reply) {
        port.responder = [reply](const Bytes&) { return ScriptedPort::Reply{{10, reply}}; };
    }
    // Off line: the toggle offers " On line", the display says so, the port is given back.
    void expectOffLine() const {
        EXPECT_EQ(m.Check1Caption, " On line");
        EXPECT_EQ(m.FinQuota, "offline");
        EXPECT_EQ(link.PortUsers, 0);
        EXPECT_FALSE(port.portOpen());
    }
    std::vector<bool> barsVisible() const {
        return std::vector<bool>(m.Shape3Visible.begin(), m.Shape3Visible.end());
    }
};

const Rgb kYellow{255, 255, 0};
const Rgb kLightBlue{192, 192, 255};
const Rgb kDarkRed{192, 0, 0};

}  // namespace
}  // namespace gyrel
