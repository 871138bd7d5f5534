#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "settings/serial_menu.h"
#include "settings/set_seriale.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

// A port whose devices are a fixed set of numbers and paths; some are held by
// another program.
class FakePort : public SerialPort {
public:
    std::set<int> present{1, 3};
    std::set<std::string> presentPaths;
    std::set<int> busy;
    std::vector<std::string> opens;  // every device opened, in order

    void setCommPort(int n) override {
        if (open_) throw SerialError(SerialError::Kind::Busy, "Port already open");
        if (n < 1 || n > 16) throw SerialError(SerialError::Kind::NoSuchPort, "Invalid port number");
        number_ = n;
    }
    int commPort() const override { return number_; }
    void setPortName(const std::string& p) override {
        if (open_) throw SerialError(SerialError::Kind::Busy, "Port already open");
        path_ = p;
    }
    std::string portName() const override { return path_; }
    void setSettings(const std::string& s) override {
        if (s.find(',') == std::string::npos) throw SerialError(SerialError::Kind::InvalidSettings, "Invalid settings");
        settings_ = s;
    }
    std::string settings() const override { return settings_; }
    void setPortOpen(bool open) override {
        if (!open) {
            open_ = false;
            return;
        }
        if (!path_.empty()) {
            if (!presentPaths.count(path_)) throw SerialError(SerialError::Kind::NoSuchPort, "No device " + path_);
        } else if (busy.count(number_)) {
            throw SerialError(SerialError::Kind::Busy, "Serial port COM" + std::to_string(number_) + " is in use by another program");
        } else if (!present.count(number_)) {
            throw SerialError(SerialError::Kind::NoSuchPort, "No device");
        }
        opens.push_back(path_.empty() ? std::to_string(number_) : path_);
        open_ = true;
    }
    bool portOpen() const override { return open_; }
    void setHandshaking(int m) override { handshaking_ = m; }
    int handshaking() const override { return handshaking_; }
    void setInputLen(int) override {}
    void setInputMode(InputMode) override {}
    InputMode inputMode() const override { return InputMode::Binary; }
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    int inBufferCount() override { return 0; }
    void setInBufferCount(int) override {}
    void setOutBufferCount(int) override {}
    void output(const Bytes&) override {}
    Bytes input() override { return {}; }

private:
    int number_ = 1;
    std::string path_;
    std::string settings_ = "9600,n,8,1";
    int handshaking_ = 0;
    bool open_ = false;
};

using testing_doubles::RecordingOperator;

struct Fixture : ::testing::Test {
    FakePort port;
    VirtualClock clock;
    RecordingOperator op;
    SetSeriale dialog{port, clock, op};
};

using SerialSettings = Fixture;

TEST_F(SerialSettings, ScanListsOnlyPortsThatOpenAndLeavesThePortAsItWas) {
    port.present = {1, 3};
    port.busy = {5};
    port.present.insert(5);
    port.setCommPort(3);
    port.setSettings("19200,n,8,1");
    port.setPortOpen(true);
    dialog.Setta();
    const SerialDialogView& v = dialog.view();
    EXPECT_EQ(v.comPortCaption[0], "1");
    EXPECT_EQ(v.comPortCaption[1], "3");
    EXPECT_TRUE(v.comPortVisible[0]);
    EXPECT_TRUE(v.comPortVisible[1]);
    for (int i = 2; i < 6; ++i) {
        EXPECT_FALSE(v.comPortVisible[i]);
        EXPECT_EQ(v.comPortCaption[i], "");
    }
    EXPECT_FALSE(v.comboVisible);
    EXPECT_EQ(v.comboText, "3");
    EXPECT_EQ(v.comPortSelected, 2);
    EXPECT_EQ(port.commPort(), 3);
    EXPECT_EQ(port.settings(), "19200,n,8,1");
    EXPECT_TRUE(port.portOpen());
    EXPECT_TRUE(v.visible);
    EXPECT_FALSE(v.advanced);
    EXPECT_EQ(v.flowButton, "NoFlow");  // no handshaking is an option too
}

TEST_F(SerialSettings, MoreThanSixPortsBringTheListAndDevicePathsFollowTheNumbers) {
    port.present = {1, 2, 3, 4, 5, 6, 7, 9};
    port.presentPaths = {"/dev/ttyUSB0"};
    dialog.listDevicePaths = [] { return std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}; };
    dialog.Setta();
    const SerialDialogView& v = dialog.view();
    EXPECT_TRUE(v.comboVisible);
    EXPECT_EQ(v.comboItems, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "9", "/dev/ttyUSB0"}));
    EXPECT_EQ(v.comPortCaption[5], "6");
    dialog.Combo1Change("9");
    EXPECT_EQ(dialog.selectedPort().number, 9);
    EXPECT_EQ(v.comPortSelected, 0);
    dialog.Combo1Change("4");
    EXPECT_EQ(v.comPortSelected, 4);
}

TEST_F(SerialSettings, SettingsAreReflectedInUpperCaseAndWrittenBackByOk) {
    port.setSettings("19200,e,7,2");
    port.setHandshaking(2);
    dialog.Setta();
    const SerialDialogView& v = dialog.view();
    EXPECT_EQ(v.speedButton, "Baud192");
    EXPECT_EQ(v.parityButton, "EvenParity");
    EXPECT_EQ(v.dataButton, "Data7");
    EXPECT_EQ(v.stopButton, "Stop2");
    EXPECT_EQ(v.flowButton, "RTSFlow");
    EXPECT_EQ(v.echoButton, "EchoOff");
    EXPECT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.settings(), "19200,E,7,2");
    EXPECT_EQ(port.handshaking(), 2);
    EXPECT_FALSE(v.visible);
    EXPECT_TRUE(dialog.closedByOk());
    EXPECT_TRUE(op.boxes.empty());
}

TEST_F(SerialSettings, OptionClicksMakeTheSettingsText) {
    dialog.Setta();
    dialog.speedClick("115200");
    dialog.parityClick('O');
    dialog.dataBitsClick(7);
    dialog.stopBitsClick(2);
    dialog.flowClick(3);
    dialog.echoClick(true);
    EXPECT_EQ(dialog.settingsText(), "115200,O,7,2");
    EXPECT_EQ(dialog.view().flowButton, "BothFlow");
    EXPECT_EQ(dialog.view().echoButton, "EchoOn");
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.settings(), "115200,O,7,2");
    EXPECT_EQ(port.handshaking(), 3);
}

TEST_F(SerialSettings, SpeedWithoutButtonSelectsNoneAndKeepsTheStoredSpeed) {
    dialog.Setta();
    dialog.speedClick("4800");
    dialog.CancelButtonClick();
    port.setSettings("57600,n,8,1");
    dialog.Setta();
    EXPECT_EQ(dialog.view().speedButton, "");
    EXPECT_EQ(dialog.settingsText(), "4800,N,8,1");
}

TEST_F(SerialSettings, CancelLeavesThePortUntouched) {
    dialog.Setta();
    dialog.speedClick("300");
    dialog.parityClick('E');
    dialog.ComPortClick(2);
    dialog.CancelButtonClick();
    EXPECT_FALSE(dialog.view().visible);
    EXPECT_FALSE(dialog.closedByOk());
    EXPECT_EQ(port.settings(), "9600,n,8,1");
    EXPECT_EQ(port.commPort(), 1);
}

TEST_F(SerialSettings, PortHeldByAnotherProgramShowsTheErrorAndKeepsTheOldPort) {
    port.present = {1, 2, 3};
    dialog.Setta();
    port.busy = {3};  // taken after the scan
    dialog.ComPortClick(3);
    EXPECT_FALSE(dialog.OKButtonClick());
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].title, "RS232 Communication Settings");
    EXPECT_EQ(op.boxes[0].prompt, "Serial port COM3 is in use by another program");
    EXPECT_EQ(op.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(port.commPort(), 1);
    EXPECT_TRUE(dialog.view().visible);
    EXPECT_EQ(dialog.view().comboText, "1");
    EXPECT_EQ(dialog.view().comPortSelected, 1);
}

TEST_F(SerialSettings, NewPortIsProvedByOpeningAndKeepsItsPreviousOpenState) {
    port.present = {1, 3};
    dialog.Setta();
    port.opens.clear();
    dialog.ComPortClick(2);
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.commPort(), 3);
    EXPECT_EQ(port.opens, std::vector<std::string>{"3"});
    EXPECT_FALSE(port.portOpen());  // nobody was using it

    port.setPortOpen(true);  // a user holds it
    dialog.Setta();
    dialog.ComPortDblClick(1);  // double click: chosen and confirmed
    EXPECT_EQ(port.commPort(), 1);
    EXPECT_TRUE(port.portOpen());
    EXPECT_FALSE(dialog.view().visible);
}

TEST_F(SerialSettings, TypedDevicePathIsKeptAsThePortName) {
    dialog.typedPathsAllowed = true;
    port.presentPaths = {"/dev/pts/7"};
    dialog.Setta();
    EXPECT_TRUE(dialog.view().comboVisible);
    dialog.Combo1Change(" /dev/pts/7 ");
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.portName(), "/dev/pts/7");
    EXPECT_EQ(port.portLabel(), "/dev/pts/7");
    // The next scan tries the path in use, so it appears among the buttons.
    dialog.Setta();
    EXPECT_EQ(dialog.view().comPortCaption[2], "/dev/pts/7");
    EXPECT_EQ(dialog.view().comPortSelected, 3);
    // Going back to a numbered port drops the path.
    dialog.ComPortClick(1);
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.portName(), "");
    EXPECT_EQ(port.commPort(), 1);

    dialog.Setta();
    dialog.Combo1Change("/dev/pts/99");
    EXPECT_FALSE(dialog.OKButtonClick());
    EXPECT_EQ(op.boxes.back().prompt, "No device /dev/pts/99");
    EXPECT_EQ(port.portName(), "");
}

TEST_F(SerialSettings, DefaultMarksTheFactorySettingsInBrown) {
    dialog.Default({9600, 115200});
    EXPECT_EQ(dialog.view().brown,
              (std::set<std::string>{"Baud96", "Baud1152", "NoParity", "Data8", "Stop1"}));
    dialog.Default({19200, 0, 1234});
    EXPECT_EQ(dialog.view().brown, (std::set<std::string>{"Baud192", "NoParity", "Data8", "Stop1"}));
}

TEST_F(SerialSettings, AdvancedButtonTogglesAndEachShowingIsCompact) {
    dialog.Setta();
    EXPECT_EQ(dialog.view().advCaption, "Advanced");
    dialog.AdvButtonClick();
    EXPECT_TRUE(dialog.view().advanced);
    EXPECT_EQ(dialog.view().advCaption, "Normal");
    dialog.CancelButtonClick();
    dialog.Setta();
    EXPECT_FALSE(dialog.view().advanced);
    EXPECT_EQ(dialog.view().advCaption, "Advanced");
}

TEST_F(SerialSettings, OpenFailureShowsTheReasonUntilOk) {
    dialog.showForOpenFailure("Serial port /dev/ttyS0 does not exist");
    EXPECT_TRUE(dialog.view().visible);
    EXPECT_EQ(dialog.view().failureText, "Serial port /dev/ttyS0 does not exist");
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(dialog.view().failureText, "");
}

}  // namespace
}  // namespace gyrel

namespace gyrel {
namespace {

// The dialog offered by the link when the port cannot be opened.
struct OpenFailure : Fixture {
    MemorySettingsStore store;
    StdFileSystem fs;
    Context ctx{Services{port, clock, store, fs, op}};
    SerialLink link{ctx};
    SerialMenu menu{ctx, link, dialog};
    OpenFailure() {
        ctx.hooks.serialDialogForOpenFailure = [this] { return menu.openFailure(); };
        ctx.hooks.serialDialogVisible = [this] { return dialog.view().visible; };
    }
};

TEST_F(OpenFailure, OperatorMayGiveUpAndTheUserBitIsReleased) {
    port.present = {3};
    std::string shownReason;
    clock.after(50, [&] {
        shownReason = dialog.view().failureText;
        dialog.CancelButtonClick();
    });
    EXPECT_FALSE(link.apri_com(UserMonitor));
    EXPECT_EQ(shownReason, "No device");
    EXPECT_EQ(link.PortUsers, 0);
    EXPECT_FALSE(port.portOpen());
}

TEST_F(OpenFailure, ChoosingAWorkingPortOpensItAndRetitlesTheWindow) {
    port.present = {3};
    clock.after(50, [&] {
        dialog.ComPortClick(1);  // the scan found only port 3
        dialog.speedClick("19200");
        EXPECT_TRUE(dialog.OKButtonClick());
    });
    EXPECT_TRUE(link.apri_com(UserEditor));
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.commPort(), 3);
    EXPECT_EQ(link.PortUsers, UserEditor);
    EXPECT_EQ(ctx.model.SpeedText, "19200");
    EXPECT_EQ(ctx.main.title, "GYREL Utility --  COM 3  -  19200");
}

TEST_F(OpenFailure, SerialMenuKeepsAStoppedMonitorStopped) {
    clock.after(30, [&] { dialog.CancelButtonClick(); });
    menu.SerialeClick();
    EXPECT_FALSE(link.PollingActive);
    link.PollingActive = true;  // a polling loop beneath the menu item
    clock.after(30, [&] {
        EXPECT_FALSE(link.PollingActive);
        dialog.CancelButtonClick();
    });
    menu.SerialeClick();
    EXPECT_TRUE(link.PollingActive);
}

}  // namespace
}  // namespace gyrel
