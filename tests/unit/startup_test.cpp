// The stored settings, and the program's start and shutdown around them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_settings.h"
#include "app/startup.h"
#include "link/serial_link.h"
#include "platform/file_system.h"
#include "platform/memory_settings_store.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("GYREL_HOME", "/tmp/gyrel-settings-test-home", 1); }
    void TearDown() override { unsetenv("GYREL_HOME"); }
    std::vector<std::string> writtenKeys() const {
        std::vector<std::string> keys;
        for (const auto& w : store.writes()) keys.push_back(w.key);
        return keys;
    }
    MemorySettingsStore store;
};

TEST_F(SettingsTest, EmptyStoreGivesEveryDefaultAndWrittenValuesReadBackInAnyCase) {
    AppSettings s;
    s.read(store);
    EXPECT_EQ(std::make_tuple(s.RxTimeoutFactor, s.PortaMem, s.GraphScale, s.GraphPitch), std::make_tuple(1, 1, 2, 45));
    EXPECT_EQ(s.LanguageCode + " " + s.ModelType + " " + s.SpeedText + " " + s.Primi + " " + s.Success + s.PortName,
              "IT NORM 9600 20 200");
    EXPECT_EQ(s.PercorsoTxt, joinPath("/tmp/gyrel-settings-test-home", "Gyrel.Txt"));

    AppSettings a;
    std::tie(a.RxTimeoutFactor, a.PortaMem, a.GraphScale, a.GraphPitch, a.VerifyAfterDownload) = std::make_tuple(10, 4, 3, 90, 1);
    std::tie(a.LanguageCode, a.PercorsoTxt, a.ModelType, a.SpeedText, a.Primi, a.Success, a.PortName) =
        std::make_tuple("FR", "/data/cams/press.txt", "V820HX", "115200", "50", "300", "/dev/ttyUSB0");
    a.write(store);  // in this order and spelling (a V712 writes no factor: StartupTest)
    EXPECT_EQ(writtenKeys(), (std::vector<std::string>{"Filtro10", "Language", "PercorsoTxt", "PortaMem", "scala", "Passo",
                                                       "Tipo", "Primi", "Success", "Velo", "PortName", "VerifyAfterDownload"}));
    EXPECT_EQ(store.writes()[5].section + "/" + store.writes()[5].value, "startup/90");
    AppSettings b;
    b.read(store);
    EXPECT_EQ(std::make_tuple(b.RxTimeoutFactor, b.PortaMem, b.GraphScale, b.GraphPitch, b.VerifyAfterDownload),
              std::make_tuple(10, 4, 3, 90, 1));
    EXPECT_EQ(std::make_tuple(b.LanguageCode, b.PercorsoTxt, b.ModelType, b.SpeedText, b.Primi, b.Success, b.PortName),
              std::make_tuple(a.LanguageCode, a.PercorsoTxt, a.ModelType, a.SpeedText, a.Primi, a.Success, a.PortName));
    store.set("STARTUP", "verifyafterdownload", "0");  // keys and sections in any case
    b.read(store);
    EXPECT_EQ(b.VerifyAfterDownload, 0);
}

// Stored numbers as an operator or an earlier tool left them.
TEST_F(SettingsTest, NumbersAreRoundedAndUnusableOnesFallBackToTheirDefaults) {
    struct Row {
        const char* key;
        const char* stored;
        int read;
    };
    const Row rows[] = {
        {"filtro10", "9.6", 10}, {"filtro10", "0", 1},      // 0 would end every reply wait at once
        {"filtro10", "abc", 1},  {"Filtro10", "100", 100},  // written with another case
        {"PortaMem", "0", 1},    {"PortaMem", "COM3", 1},  {"PortaMem", "-2", 1},
        {"PortaMem", "7", 7},    {"scala", " 3 ", 3},      {"scala", "300", 2},  // not a byte
        {"passo", "44.5", 44},                                                   // half to even
        {"passo", "", 45},       {"passo", "40000", 45},   {"Passo", "30", 30},
    };
    for (const Row& r : rows) {
        MemorySettingsStore one;
        one.set(kSettingsSection, r.key, r.stored);
        AppSettings s;
        s.GraphScale = 4;  // a previous value is not kept
        s.read(one);
        const char k = static_cast<char>(std::tolower(r.key[0]));
        const int got = k == 'f' ? s.RxTimeoutFactor : k == 'p' && r.key[1] == 'o' ? s.PortaMem
                        : k == 's'                                               ? s.GraphScale
                                                                                 : s.GraphPitch;
        EXPECT_EQ(got, r.read) << r.key << "=\"" << r.stored << "\"";
    }
}

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

// The splash stays four seconds, then waits for the main window to be shown.
TEST_F(StartupTest, FirstRunWithAnEmptyStore) {
    const std::string home = rig.temp.home();
    ASSERT_FALSE(std::filesystem::exists(home));
    ASSERT_FALSE(std::filesystem::exists(workingFolderParent()));
    bool aboutAt3999 = false;
    rig.clock.at(3999, [&] { aboutAt3999 = ctx.about.visible && !ctx.main.visible; });
    start();
    EXPECT_EQ(rig.clock.nowMs(), 4000);
    EXPECT_EQ(std::make_tuple(aboutAt3999, ctx.about.visible, ctx.main.visible), std::make_tuple(true, false, true));

    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_STREQ(ctx.ui(0), "Esci");
    EXPECT_EQ(ctx.settings.PercorsoTxt, joinPath(home, "Gyrel.Txt"));  // "\\" on Windows
    EXPECT_TRUE(std::filesystem::is_directory(home));
    EXPECT_EQ(ctx.main.title + "|" + ctx.main.Label4 + "|" + ctx.main.FinQuota, "GYREL Utility --  COM 1  -  9600|KRT71|offline");
    EXPECT_FALSE(link.PollingActive);
    EXPECT_TRUE(rig.store.writes().empty());  // settings are only written at shutdown
    EXPECT_TRUE(rig.op.shown.empty());

    double shownAt = -1;
    rig.clock.at(8300, [&] { shownAt = rig.clock.nowMs(); });
    ctx.hooks.mainWindowVisible = [&] { return shownAt >= 0; };
    start();
    EXPECT_GE(rig.clock.nowMs(), 8300);
    EXPECT_LT(rig.clock.nowMs(), 8310);
}

// The stored speed configures the port before the stored model applies its own.
TEST_F(StartupTest, StoredValuesAndFilesAreRestored) {
    rig.temp.create();
    rig.fs.writeAll(inWorkingFolder("lav.lav"), "1 10 20\r\n");
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"Tipo", "V820HX"}, {"PortaMem", "3"}, {"Language", "DE"},
                                     {"scala", "4"}, {"Primi", "50"}, {"PercorsoTxt", "/data/press.820"}, {"filtro10", "10"},
                                     {"Velo", "19200"}})
        put(key, value);
    std::vector<std::string> titles, settings;
    ctx.hooks.titleChanged = [&] {
        titles.push_back(ctx.main.title);
        settings.push_back(rig.port.settings());
    };
    start();
    ASSERT_GE(titles.size(), 2u);
    EXPECT_EQ(titles[0] + "|" + settings[0], "GYREL Utility --  COM 3  -  19200|19200,n,8,1");
    EXPECT_EQ(ctx.main.title + "|" + rig.port.settings(), "GYREL Utility --  COM 3  -  115200|115200,n,8,1");
    EXPECT_EQ(ctx.model.ModelType, "V820HX");
    EXPECT_STREQ(ctx.ui(0), "Exit");
    EXPECT_EQ(std::make_tuple(ctx.settings.GraphScale, ctx.posTest.TxtPrimi, ctx.settings.PercorsoTxt),
              std::make_tuple(4, std::string("50"), std::string("/data/press.820")));
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 1);  // the model's own factor wins over the stored one
    EXPECT_EQ(rig.fs.readAll(inWorkingFolder("lav.lav")), "1 10 20\r\n");  // existing folders are left as they are
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST_F(StartupTest, ShutdownClosesThePortThenAVisibleEditorThenWritesWhatTheOperatorChangedOnce) {
    start();
    ctx.LanguageCode = "FR";
    rig.port.setCommPort(2);
    rig.port.setPortOpen(true);
    link.PortUsers = UserMonitor | UserEditor;
    bool portOpenAtEditorClose = true, visible = true;
    std::size_t writesAtEditorClose = 99;
    int asked = 0;
    ctx.hooks.editorVisible = [&] { return visible; };
    ctx.hooks.editorQueryUnload = [&] {
        ++asked;
        portOpenAtEditorClose = rig.port.portOpen();
        writesAtEditorClose = rig.store.writes().size();
        ctx.settings.PercorsoTxt = "/data/last.txt";  // the editor hands back its file
    };
    startup.TerminaTutto();
    startup.TerminaTutto();  // both close handlers call it
    EXPECT_EQ(std::make_tuple(asked, portOpenAtEditorClose, writesAtEditorClose, link.PortUsers),
              std::make_tuple(1, false, std::size_t{0}, 0));
    EXPECT_EQ(rig.store.writes().size(), 12u);
    EXPECT_EQ(stored("PercorsoTxt"), "/data/last.txt");
    EXPECT_EQ(stored("Language") + stored("PortaMem") + stored("Velo"), "FR29600");
    visible = false;
    MainStartup again{ctx, link};
    again.TerminaTutto();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.store.writes().size(), 24u);
}

TEST_F(StartupTest, StoredV712KeepsItsFactorPx71ComesBackAsNormAMissingPortIsKept) {
    put("Filtro10", "10");
    put("Tipo", "V712");
    put("PortaMem", "7");
    rig.port.missingPort = 7;
    start();
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 100);
    EXPECT_EQ(rig.port.commPort(), 1);
    startup.TerminaTutto();
    EXPECT_EQ(stored("filtro10") + stored("Tipo") + stored("PortaMem"), "10V7127");

    put("Tipo", "Px71");
    MainStartup again{ctx, link};
    again.load();
    EXPECT_EQ(ctx.model.ModelType, "NORM");
    again.TerminaTutto();
    EXPECT_EQ(stored("Tipo"), "NORM");
}

}  // namespace
}  // namespace gyrel
