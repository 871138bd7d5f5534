#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "link/serial_link.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using testing_doubles::Rig;

class StartupTest : public ::testing::Test {
protected:
    void put(const char* key, const char* value) { rig.store.set(kSettingsSection, key, value); }
    std::string stored(const char* key) const { return rig.store.get(kSettingsSection, key).value_or("<none>"); }
    void start() {
        rig.store.clearWrites();
        startup.load();
    }

    Rig rig;
    Context& ctx = rig.ctx;
    SerialLink link{ctx};
    MainStartup startup{ctx, link};
};

TEST_F(StartupTest, FirstRunWithAnEmptyStore) {
    const std::string home = rig.temp.home();
    ASSERT_FALSE(std::filesystem::exists(home));
    ASSERT_FALSE(std::filesystem::exists(workingFolderParent()));
    start();

    EXPECT_EQ(rig.port.commPort(), 1);
    EXPECT_EQ(rig.port.settings(), "9600,n,8,1");
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(ctx.LanguageCode, "IT");
    EXPECT_STREQ(ctx.ui(0), "Esci");
    EXPECT_EQ(ctx.model.ModelType, "NORM");
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 1);
    EXPECT_EQ(ctx.settings.GraphScale, 2);
    EXPECT_EQ(ctx.settings.GraphPitch, 45);
    EXPECT_EQ(ctx.settings.Primi, "20");
    EXPECT_EQ(ctx.settings.Success, "200");
    EXPECT_EQ(ctx.posTest.TxtPrimi, "20");
    EXPECT_EQ(ctx.settings.PercorsoTxt, home + "/Gyrel.Txt");
    EXPECT_TRUE(std::filesystem::is_directory(workingFolderParent()));
    EXPECT_TRUE(std::filesystem::is_directory(home));

    EXPECT_EQ(ctx.main.title, "GYREL Utility --  COM 1  -  9600");
    EXPECT_EQ(ctx.main.Label4, "KRT71");
    EXPECT_FALSE(ctx.main.originVisible);
    EXPECT_FALSE(link.PollingActive);
    EXPECT_FALSE(ctx.main.Check1Checked);
    EXPECT_EQ(ctx.main.Check1Caption, " On line");
    EXPECT_EQ(ctx.main.FinQuota, "offline");
    EXPECT_TRUE(ctx.main.visible);
    EXPECT_FALSE(ctx.about.visible);
    EXPECT_EQ(ctx.about.versionText, "SW KRT71 Rev 5.0.1326");
    EXPECT_TRUE(rig.store.writes().empty());  // settings are only written at shutdown
    EXPECT_TRUE(rig.op.boxes.empty());
}

TEST_F(StartupTest, SplashStaysFourSecondsOfVirtualTime) {
    std::vector<bool> aboutAt, mainAt;
    rig.clock.at(3999, [&] {
        aboutAt.push_back(ctx.about.visible);
        mainAt.push_back(ctx.main.visible);
    });
    const double before = rig.clock.nowMs();
    start();
    EXPECT_EQ(rig.clock.nowMs() - before, 4000);
    EXPECT_EQ(aboutAt, (std::vector<bool>{true}));
    EXPECT_EQ(mainAt, (std::vector<bool>{false}));
    EXPECT_FALSE(ctx.about.visible);
    EXPECT_TRUE(ctx.main.visible);
}

TEST_F(StartupTest, WaitsForTheMainWindowToReportItselfShown) {
    double shownAt = -1;
    rig.clock.at(4300, [&] { shownAt = rig.clock.nowMs(); });
    ctx.hooks.mainWindowVisible = [&] { return shownAt >= 0; };
    start();
    EXPECT_GE(rig.clock.nowMs(), 4300);
    EXPECT_LT(rig.clock.nowMs(), 4310);
}

TEST_F(StartupTest, StoredSpeedConfiguresThePortBeforeTheModelIsApplied) {
    put("Velo", "19200");
    std::vector<std::string> titles, settings;
    ctx.hooks.titleChanged = [&] {
        titles.push_back(ctx.main.title);
        settings.push_back(rig.port.settings());
    };
    start();
    ASSERT_GE(titles.size(), 2u);
    // The port and title as the load handler leaves them ...
    EXPECT_EQ(settings[0], "19200,n,8,1");
    EXPECT_EQ(titles[0], "GYREL Utility --  COM 1  -  19200");
    // ... then the stored model applies its own line speed.
    EXPECT_EQ(titles.back(), "GYREL Utility --  COM 1  -  9600");
    EXPECT_EQ(rig.port.settings(), "9600,n,8,1");
}

TEST_F(StartupTest, StoredValuesAreRestored) {
    put("Tipo", "V820HX");
    put("PortaMem", "3");
    put("Language", "DE");
    put("scala", "4");
    put("Passo", "90");
    put("Primi", "50");
    put("Success", "300");
    put("PercorsoTxt", "/data/press.820");
    put("filtro10", "10");
    start();
    EXPECT_EQ(ctx.model.ModelType, "V820HX");
    EXPECT_EQ(rig.port.commPort(), 3);
    EXPECT_EQ(rig.port.settings(), "115200,n,8,1");
    EXPECT_EQ(ctx.main.title, "GYREL Utility --  COM 3  -  115200");
    EXPECT_EQ(ctx.LanguageCode, "DE");
    EXPECT_STREQ(ctx.ui(0), "Exit");
    EXPECT_EQ(ctx.settings.GraphScale, 4);
    EXPECT_EQ(ctx.settings.GraphPitch, 90);
    EXPECT_EQ(ctx.posTest.TxtPrimi, "50");
    EXPECT_EQ(ctx.posTest.TxtSuccessivi, "300");
    EXPECT_EQ(ctx.settings.PercorsoTxt, "/data/press.820");
    // The model's own factor wins over the stored one.
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 1);
}

TEST_F(StartupTest, PortZeroBecomesOne) {
    put("PortaMem", "0");
    start();
    EXPECT_EQ(rig.port.commPort(), 1);
    startup.TerminaTutto();
    EXPECT_EQ(stored("PortaMem"), "1");
}

TEST_F(StartupTest, ShutdownWritesTheSettingsInOrder) {
    start();
    ctx.LanguageCode = "FR";
    ctx.settings.Primi = "35";
    rig.port.setCommPort(2);
    startup.TerminaTutto();
    std::vector<std::string> keys;
    for (const auto& w : rig.store.writes()) keys.push_back(w.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Filtro10", "Language", "PercorsoTxt", "PortaMem", "scala", "Passo",
                                              "Tipo", "Primi", "Success", "Velo", "PortName",
                                              "VerifyAfterDownload"}));
    EXPECT_EQ(stored("Language"), "FR");
    EXPECT_EQ(stored("PortaMem"), "2");
    EXPECT_EQ(stored("Primi"), "35");
    EXPECT_EQ(stored("Velo"), "9600");
    EXPECT_EQ(stored("Tipo"), "NORM");
}

TEST_F(StartupTest, ShutdownClosesThePortThenTheEditorThenWrites) {
    start();
    rig.port.setPortOpen(true);
    link.PortUsers = UserMonitor | UserEditor;
    bool portOpenAtEditorClose = true;
    std::size_t writesAtEditorClose = 99;
    ctx.hooks.editorVisible = [] { return true; };
    ctx.hooks.editorQueryUnload = [&] {
        portOpenAtEditorClose = rig.port.portOpen();
        writesAtEditorClose = rig.store.writes().size();
        ctx.settings.PercorsoTxt = "/data/last.txt";  // the editor hands back its file
    };
    startup.TerminaTutto();
    EXPECT_FALSE(portOpenAtEditorClose);
    EXPECT_EQ(writesAtEditorClose, 0u);
    EXPECT_EQ(link.PortUsers, 0);
    EXPECT_EQ(stored("PercorsoTxt"), "/data/last.txt");
}

TEST_F(StartupTest, ShutdownRunsOnceWhenBothCloseHandlersCallIt) {
    start();
    int asked = 0;
    ctx.hooks.editorVisible = [] { return true; };
    ctx.hooks.editorQueryUnload = [&] { ++asked; };
    startup.TerminaTutto();
    startup.TerminaTutto();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.store.writes().size(), 12u);
}

TEST_F(StartupTest, HiddenEditorIsNotAskedToClose) {
    start();
    int asked = 0;
    ctx.hooks.editorVisible = [] { return false; };
    ctx.hooks.editorQueryUnload = [&] { ++asked; };
    startup.TerminaTutto();
    EXPECT_EQ(asked, 0);
}

TEST_F(StartupTest, ExitWithV712KeepsTheStoredFactor) {
    put("Filtro10", "10");
    put("Tipo", "V712");
    start();
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 100);
    startup.TerminaTutto();
    EXPECT_EQ(stored("filtro10"), "10");
    EXPECT_EQ(stored("Tipo"), "V712");
}

TEST_F(StartupTest, StoredPx71ComesBackAsNorm) {
    put("Tipo", "Px71");
    start();
    EXPECT_EQ(ctx.model.ModelType, "NORM");
    startup.TerminaTutto();
    EXPECT_EQ(stored("Tipo"), "NORM");
}

TEST_F(StartupTest, ExistingFoldersAreLeftAsTheyAre) {
    rig.temp.create();
    rig.fs.writeAll(inWorkingFolder("lav.lav"), "1 10 20\r\n");
    start();
    EXPECT_EQ(rig.fs.readAll(inWorkingFolder("lav.lav")), "1 10 20\r\n");
    EXPECT_TRUE(rig.op.boxes.empty());
}

// A port whose number 7 is missing today (an adapter not plugged in).
class PortSevenMissing : public testing_doubles::PropertyPort {
public:
    void setCommPort(int n) override {
        if (n == 7) throw SerialError(SerialError::Kind::NoSuchPort, "COM7 not present");
        PropertyPort::setCommPort(n);
    }
};

TEST(StartupMissingPort, StoredNumberIsKeptForTheNextStart) {
    testing_doubles::TempHome temp;
    PortSevenMissing port;
    VirtualClock clock;
    MemorySettingsStore store;
    StdFileSystem fs;
    testing_doubles::RecordingOperator op;
    Context ctx{Services{port, clock, store, fs, op}};
    SerialLink link{ctx};
    MainStartup startup{ctx, link};
    store.set(kSettingsSection, "PortaMem", "7");
    startup.load();
    EXPECT_EQ(port.commPort(), 1);
    startup.TerminaTutto();
    EXPECT_EQ(store.get(kSettingsSection, "PortaMem"), "7");
}

}  // namespace
}  // namespace gyrel
