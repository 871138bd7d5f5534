#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/context.h"
#include "device/model_table.h"
#include "link/monitor.h"
#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/operator.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "support/scripted_port.h"

namespace gyrel {
namespace {

// The operator at the screen: remembers every message box and beep, answers OK.
class LinkTestOperator : public Operator {
public:
    struct Box {
        std::string prompt;
        MsgButtons buttons;
        MsgIcon icon;
        std::string title;
        double atMs;
    };
    explicit LinkTestOperator(const VirtualClock& clock) : clock_(clock) {}
    int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
        boxes.push_back({prompt, buttons, icon, title, clock_.nowMs()});
        return AnswerOk;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override { beeps.push_back(clock_.nowMs()); }

    std::vector<Box> boxes;
    std::vector<double> beeps;

private:
    const VirtualClock& clock_;
};

// Status frame builders (layouts written out field by field, checksum summed here).
inline Bytes withChecksum(Bytes f) {
    int sum = 0;
    for (int i = 1; i <= 17; ++i) sum += f[static_cast<std::size_t>(i)];
    f[18] = static_cast<std::uint8_t>(sum & 0xFF);
    return f;
}
inline Bytes frameB(unsigned position, unsigned program = 0, unsigned cams = 0, unsigned outputs = 0) {
    Bytes f(19, 0);
    f[0] = 0x80;
    f[2] = position & 0xFF;
    f[3] = (position >> 8) & 0xFF;
    f[4] = static_cast<std::uint8_t>(program);
    f[5] = static_cast<std::uint8_t>(cams);
    f[8] = outputs & 0xFF;
    f[9] = (outputs >> 8) & 0xFF;
    return withChecksum(f);
}
inline Bytes frameA(std::uint32_t position, unsigned program = 0, unsigned cams = 0, std::uint32_t outputs = 0) {
    Bytes f(19, 0);
    f[0] = 0x80;
    f[2] = static_cast<std::uint8_t>(program);
    f[4] = cams & 0xFF;
    f[5] = (cams >> 8) & 0xFF;
    for (int i = 0; i < 4; ++i) {
        f[static_cast<std::size_t>(6 + i)] = (position >> (8 * i)) & 0xFF;
        f[static_cast<std::size_t>(14 + i)] = (outputs >> (8 * i)) & 0xFF;
    }
    return withChecksum(f);
}

// A main window with its link over a scripted port in simulated time.
struct LinkRig {
    VirtualClock clock;
    ScriptedPort port{clock};
    MemorySettingsStore settings;
    StdFileSystem fs;
    LinkTestOperator op{clock};
    Context ctx{Services{port, clock, settings, fs, op}};
    SerialLink link{ctx};

    LinkRig() { ctx.applyLanguage("EN"); }

    // The globals a model configuration leaves behind.
    void useModel(const std::string& code) {
        const ModelInfo& m = *findModel(code);
        ctx.model = globalsOf(m);
        ctx.main.turnDisplaysVisible = m.multiTurnDisplays;
        ctx.main.LblGiri = m.multiTurnDisplays ? "" : "0";
        ctx.main.LblGiro = m.multiTurnDisplays ? "" : "0";
    }
    // The port held open by the monitor, polling on, as during a poll.
    void polling() {
        ASSERT_TRUE(link.apri_com(UserMonitor));
        link.PollingActive = true;
        ctx.main.Check1Checked = true;
        ctx.main.Check1Caption = " Off line";
    }
    // Off line: the toggle offers " On line", the display says so, the port is given back.
    void expectOffLine() const {
        EXPECT_EQ(ctx.main.Check1Caption, " On line");
        EXPECT_EQ(ctx.main.FinQuota, "offline");
        EXPECT_EQ(link.PortUsers, 0);
        EXPECT_FALSE(port.portOpen());
    }
    std::vector<bool> barsVisible() const {
        return std::vector<bool>(ctx.main.Shape3Visible.begin(), ctx.main.Shape3Visible.end());
    }
};

const Rgb kGreenBar{0, 192, 0};
const Rgb kDarkGreenBar{0, 128, 0};
const Rgb kBrownBar{192, 64, 0};
const Rgb kYellowBar{255, 255, 0};
const Rgb kRedBar{255, 0, 0};

}  // namespace
}  // namespace gyrel
