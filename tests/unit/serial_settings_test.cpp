#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
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

using Kind = SerialError::Kind;

// A port whose devices are a fixed set of numbers and paths; some are held by
// another program. opens: every device opened, in order.
class FakePort : public testing_doubles::PropertyPort {
public:
    std::set<int> present{1, 3}, busy;
    std::set<std::string> presentPaths;
    std::vector<std::string> opens;

    void setCommPort(int n) override {
        if (portOpen()) throw SerialError(Kind::Busy, "Port already open");
        if (n < 1 || n > 16) throw SerialError(Kind::NoSuchPort, "Invalid port number");
        PropertyPort::setCommPort(n);
    }
    void setPortOpen(bool open) override {
        const std::string path = portName(), n = std::to_string(commPort());
        if (open && !path.empty() && !presentPaths.count(path)) throw SerialError(Kind::NoSuchPort, "No device " + path);
        if (open && path.empty() && busy.count(commPort()))
            throw SerialError(Kind::Busy, "Serial port COM" + n + " is in use by another program");
        if (open && path.empty() && !present.count(commPort())) throw SerialError(Kind::NoSuchPort, "No device");
        if (open) opens.push_back(path.empty() ? n : path);
        PropertyPort::setPortOpen(open);
    }
};

struct SerialSettings : ::testing::Test {
    FakePort port;
    VirtualClock clock;
    testing_doubles::RecordingOperator op;
    SetSeriale dialog{port, clock, op};
    const SerialDialogView& v = dialog.view();
};

// The scan lists only ports that open, leaves the port as it was, and past six
// ports brings the list, device paths after the numbers.
TEST_F(SerialSettings, ScanListsOnlyPortsThatOpenAndLeavesThePortAsItWas) {
    port.present = {1, 3, 5};
    port.busy = {5};
    port.setCommPort(3);
    port.setSettings("19200,n,8,1");
    port.setPortOpen(true);
    dialog.Setta();
    EXPECT_EQ(v.comPortCaption, (std::array<std::string, 6>{"1", "3", "", "", "", ""}));
    EXPECT_EQ(v.comPortVisible, (std::array<bool, 6>{true, true, false, false, false, false}));
    EXPECT_EQ(std::make_tuple(v.comboVisible, v.comPortSelected, port.commPort(), port.portOpen()),
              std::make_tuple(false, 2, 3, true));

    port.setPortOpen(false);
    port.busy.clear();
    port.present = {1, 2, 3, 4, 5, 6, 7, 9};
    port.presentPaths = {"/dev/ttyUSB0"};
    dialog.listDevicePaths = [] { return std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}; };
    dialog.Setta();
    EXPECT_TRUE(v.comboVisible);
    EXPECT_EQ(v.comboItems, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "9", "/dev/ttyUSB0"}));
    dialog.Combo1Change("9");
    EXPECT_EQ(std::make_pair(dialog.selectedPort().number, v.comPortSelected), std::make_pair(9, 0));

    // The model's own speeds and the line's other options are marked.
    dialog.Default({9600, 115200});
    EXPECT_EQ(v.brown, (std::set<std::string>{"Baud96", "Baud1152", "NoParity", "Data8", "Stop1"}));
}

// Options are shown, written back by OK and left alone by Cancel.
TEST_F(SerialSettings, SettingsAreShownAndOptionClicksAreWrittenBackByOk) {
    port.setSettings("19200,e,7,2");
    port.setHandshaking(2);
    dialog.Setta();
    EXPECT_EQ(v.speedButton + v.parityButton + v.dataButton + v.stopButton + v.flowButton,
              "Baud192EvenParityData7Stop2RTSFlow");
    EXPECT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.settings(), "19200,E,7,2");
    EXPECT_TRUE(dialog.closedByOk());

    dialog.Setta();
    dialog.speedClick("115200");
    dialog.parityClick('O');
    dialog.dataBitsClick(7);
    dialog.stopBitsClick(1);
    dialog.flowClick(3);
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.settings() + std::to_string(port.handshaking()), "115200,O,7,13");
    EXPECT_TRUE(op.shown.empty());

    dialog.Setta();
    dialog.speedClick("300");
    dialog.flowClick(0);  // none
    dialog.ComPortClick(3);
    dialog.CancelButtonClick();
    EXPECT_FALSE(dialog.closedByOk());
    EXPECT_EQ(std::make_tuple(port.settings(), port.handshaking(), port.commPort()),
              std::make_tuple("115200,O,7,1", 3, 1));
    port.setSettings("57600,n,8,1");  // a speed without a button selects none
    dialog.Setta();
    EXPECT_EQ(v.speedButton + "|" + dialog.settingsText(), "|300,N,8,1");
    dialog.flowClick(0);
    dialog.flowClick(4);  // no such button: ignored
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.handshaking(), 0);
}

// OK proves a new port or a typed device path by opening it and keeps the previous
// open state; one that does not open shows why and the old port stays.
TEST_F(SerialSettings, NewPortOrPathIsProvedByOpeningAndKeepsItsPreviousOpenState) {
    port.present = {1, 2, 3};
    dialog.Setta();
    port.opens.clear();
    dialog.ComPortClick(3);
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.opens, std::vector<std::string>{"3"});
    EXPECT_EQ(std::make_pair(port.commPort(), port.portOpen()), std::make_pair(3, false));  // nobody was using it
    port.setPortOpen(true);  // a user holds it
    dialog.Setta();
    dialog.ComPortDblClick(1);  // double click: chosen and confirmed
    EXPECT_EQ(std::make_pair(port.commPort(), port.portOpen()), std::make_pair(1, true));

    port.setPortOpen(false);
    dialog.Setta();
    port.busy = {3};  // taken after the scan
    dialog.ComPortClick(3);
    EXPECT_FALSE(dialog.OKButtonClick());
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].title + "|" + op.shown[0].prompt,
              "RS232 Communication Settings|Serial port COM3 is in use by another program");
    EXPECT_EQ(std::make_pair(port.commPort(), v.visible), std::make_pair(1, true));

    dialog.typedPathsAllowed = true;
    port.presentPaths = {"/dev/pts/7"};
    dialog.Setta();
    dialog.Combo1Change(" /dev/pts/7 ");
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.portName(), "/dev/pts/7");
    dialog.Setta();  // the path in use is scanned too
    EXPECT_EQ(v.comPortCaption[2], "/dev/pts/7");
    dialog.ComPortClick(1);  // a numbered port drops the path
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(port.portName(), "");
    dialog.Setta();
    dialog.Combo1Change("/dev/pts/99");
    EXPECT_FALSE(dialog.OKButtonClick());
    EXPECT_EQ(op.shown.size(), 2u);
}

// The dialog offered by the link when the port cannot be opened, and the menu item.
TEST_F(SerialSettings, OpenFailureLetsTheOperatorGiveUpOrChooseAWorkingPort) {
    MemorySettingsStore store;
    StdFileSystem fs;
    Context ctx{Services{port, clock, store, fs, op}};
    SerialLink link{ctx};
    SerialMenu menu{ctx, link, dialog};
    ctx.hooks.serialDialogForOpenFailure = [&] { return menu.openFailure(); };
    ctx.hooks.serialDialogVisible = [&] { return v.visible; };
    port.present = {3};
    // The menu item keeps a stopped monitor stopped and pauses a running one.
    clock.after(30, [&] { dialog.CancelButtonClick(); });
    menu.SerialeClick();
    EXPECT_FALSE(link.PollingActive);
    link.PollingActive = true;
    clock.after(30, [&] {
        EXPECT_FALSE(link.PollingActive);
        dialog.CancelButtonClick();
    });
    menu.SerialeClick();
    EXPECT_TRUE(link.PollingActive);
    link.PollingActive = false;

    std::string shownReason;
    clock.after(50, [&] {
        shownReason = v.failureText + (v.visible ? "" : " hidden");
        dialog.CancelButtonClick();
    });
    EXPECT_FALSE(link.apri_com(UserMonitor));
    EXPECT_EQ(shownReason, "No device");
    EXPECT_EQ(std::make_pair(link.PortUsers, port.portOpen()), std::make_pair(0, false));

    clock.after(50, [&] {
        dialog.ComPortClick(1);  // the scan found only port 3
        dialog.speedClick("19200");
        EXPECT_TRUE(dialog.OKButtonClick());
    });
    EXPECT_TRUE(link.apri_com(UserEditor));
    EXPECT_EQ(std::make_tuple(port.portOpen(), link.PortUsers), std::make_tuple(true, int(UserEditor)));
    EXPECT_EQ(ctx.main.title + "|" + v.failureText, "GYREL Utility --  COM 3  -  19200|");  // shown until OK
}

}  // namespace
}  // namespace gyrel
