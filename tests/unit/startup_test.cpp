#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/startup.h"
#include "link/serial_link.h"
#include "platform/file_system.h"
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
