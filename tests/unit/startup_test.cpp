// The stored settings, the program's start and shutdown around them, its text sets
// and Windows-1252 text.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_settings.h"
#include "app/startup.h"
#include "lang/texts.h"
#include "link/serial_link.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/memory_settings_store.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

// The default program file's path is asserted by StartupTest.FirstRunWithAnEmptyStoreAndItsShutdown.
TEST(SettingsTest, DefaultsWrittenValuesReadBackInAnyCaseNumbersRoundedOrDefaulted) {
    MemorySettingsStore store;
    AppSettings s;
    s.read(store);
    EXPECT_EQ(std::make_tuple(s.RxTimeoutFactor, s.PortaMem, s.GraphScale, s.GraphPitch), std::make_tuple(1, 1, 2, 45));
    EXPECT_EQ(s.LanguageCode + " " + s.ModelType + " " + s.SpeedText + " " + s.Primi + " " + s.Success + s.PortName,
              "IT NORM 9600 20 200");

    AppSettings a;
    std::tie(a.RxTimeoutFactor, a.PortaMem, a.GraphScale, a.GraphPitch, a.VerifyAfterDownload) = std::make_tuple(10, 4, 3, 90, 1);
    std::tie(a.LanguageCode, a.PercorsoTxt, a.ModelType, a.SpeedText, a.Primi, a.Success, a.PortName) =
        std::make_tuple("FR", "/data/cams/press.txt", "V820HX", "115200", "50", "300", "/dev/ttyUSB0");
    a.write(store);  // in this order and spelling (a V712 writes no factor: StartupTest)
    std::vector<std::string> keys;
    for (const auto& w : store.writes()) keys.push_back(w.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Filtro10", "Language", "PercorsoTxt", "PortaMem", "scala", "Passo",
                                              "Tipo", "Primi", "Success", "Velo", "PortName", "VerifyAfterDownload"}));
    EXPECT_EQ(store.writes()[5].section + "/" + store.writes()[5].value, "startup/90");
    s.read(store);
    EXPECT_EQ(std::make_tuple(s.RxTimeoutFactor, s.PortaMem, s.GraphScale, s.GraphPitch, s.VerifyAfterDownload),
              std::make_tuple(10, 4, 3, 90, 1));
    EXPECT_EQ(std::make_tuple(s.LanguageCode, s.PercorsoTxt, s.ModelType, s.SpeedText, s.Primi, s.Success, s.PortName),
              std::make_tuple(a.LanguageCode, a.PercorsoTxt, a.ModelType, a.SpeedText, a.Primi, a.Success, a.PortName));

    // Stored numbers as an operator or an earlier tool left them: rounded, or the default.
    const auto F = &AppSettings::RxTimeoutFactor, M = &AppSettings::PortaMem, S = &AppSettings::GraphScale;
    const auto P = &AppSettings::GraphPitch;
    const std::tuple<const char*, const char*, int AppSettings::*, int> rows[] = {
        {"filtro10", "9.6", F, 10}, {"filtro10", "0", F, 1},  // 0 would end every reply wait at once
        {"filtro10", "abc", F, 1},  {"Filtro10", "100", F, 100},  // written with another case
        {"PortaMem", "0", M, 1},    {"PortaMem", "COM3", M, 1},  {"PortaMem", "-2", M, 1}, {"PortaMem", "7", M, 7},
        {"scala", " 3 ", S, 3},     {"scala", "300", S, 2},  // not a byte
        {"passo", "44.5", P, 44},  // half to even
        {"passo", "", P, 45},       {"passo", "40000", P, 45},   {"PASSO", "30", P, 30},
    };
    for (const auto& [key, stored, field, read] : rows) {
        MemorySettingsStore one;
        one.set(kSettingsSection, key, stored);
        AppSettings fresh;
        fresh.GraphScale = 4;  // a previous value is not kept
        fresh.read(one);
        EXPECT_EQ(fresh.*field, read) << key << "=\"" << stored << "\"";
    }
}

using testing_doubles::Rig;

class StartupTest : public ::testing::Test {
protected:
    void put(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [key, value] : values) rig.store.set(kSettingsSection, key, value);
    }
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
TEST_F(StartupTest, FirstRunWithAnEmptyStoreAndItsShutdown) {
    const std::string home = rig.temp.home();
    ASSERT_FALSE(std::filesystem::exists(home) || std::filesystem::exists(workingFolderParent()));
    bool aboutAt3999 = false;
    rig.clock.at(3999, [&] { aboutAt3999 = ctx.about.visible && !ctx.main.visible; });
    start();
    EXPECT_EQ(rig.clock.nowMs(), 4000);
    EXPECT_EQ(std::make_tuple(aboutAt3999, ctx.about.visible, ctx.main.visible), std::make_tuple(true, false, true));

    EXPECT_FALSE(rig.port.portOpen() || link.PollingActive);
    EXPECT_EQ(ctx.settings.PercorsoTxt, joinPath(home, "Gyrel.Txt"));  // "\\" on Windows
    EXPECT_EQ(std::string(ctx.ui(0)) + "|" + ctx.main.title + "|" + ctx.main.Label4 + "|" + ctx.main.FinQuota,
              "Esci|GYREL Utility --  COM 1  -  9600|KRT71|offline");
    EXPECT_TRUE(rig.store.writes().empty() && rig.op.shown.empty());  // settings are only written at shutdown

    double shownAt = -1;
    rig.clock.at(8300, [&] { shownAt = rig.clock.nowMs(); });
    ctx.hooks.mainWindowVisible = [&] { return shownAt >= 0; };
    start();
    EXPECT_EQ(rig.clock.nowMs(), 8300);

    // Shutdown closes the port, then a visible editor, then writes what the operator changed, once.
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

// The stored speed configures the port before the stored model applies its own.
TEST_F(StartupTest, StoredValuesAndFilesAreRestored) {
    rig.temp.create();
    rig.fs.writeAll(inWorkingFolder("lav.lav"), "1 10 20\r\n");
    put({{"Tipo", "V820HX"}, {"PortaMem", "3"}, {"Language", "DE"}, {"scala", "4"}, {"Primi", "50"},
         {"PercorsoTxt", "/data/press.820"}, {"filtro10", "10"}, {"Velo", "19200"}});
    std::vector<std::string> titles;
    ctx.hooks.titleChanged = [&] { titles.push_back(ctx.main.title + "|" + rig.port.settings()); };
    start();
    ASSERT_GE(titles.size(), 2u);
    EXPECT_EQ(titles[0], "GYREL Utility --  COM 3  -  19200|19200,n,8,1");
    EXPECT_EQ(ctx.main.title + "|" + rig.port.settings(), "GYREL Utility --  COM 3  -  115200|115200,n,8,1");
    EXPECT_EQ(ctx.model.ModelType + "|" + ctx.ui(0) + "|" + ctx.posTest.TxtPrimi + "|" + ctx.settings.PercorsoTxt,
              "V820HX|Exit|50|/data/press.820");
    EXPECT_EQ(ctx.settings.GraphScale, 4);
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 1);  // the model's own factor wins over the stored one
    EXPECT_EQ(rig.fs.readAll(inWorkingFolder("lav.lav")), "1 10 20\r\n");  // existing folders are left as they are
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST_F(StartupTest, StoredV712KeepsItsFactorPx71ComesBackAsNormAMissingPortIsKept) {
    put({{"Filtro10", "10"}, {"Tipo", "V712"}, {"PortaMem", "7"}});
    rig.port.missingPort = 7;
    start();
    EXPECT_EQ(std::make_pair(ctx.model.RxTimeoutFactor, rig.port.commPort()), std::make_pair(100, 1));
    startup.TerminaTutto();
    EXPECT_EQ(stored("filtro10") + stored("Tipo") + stored("PortaMem"), "10V7127");

    put({{"Tipo", "Px71"}});
    MainStartup again{ctx, link};
    again.load();
    const std::string loaded = ctx.model.ModelType;
    again.TerminaTutto();
    EXPECT_EQ(loaded + "|" + stored("Tipo"), "NORM|NORM");
}

TEST(Texts, CodeChoosesTheSetAndWindows1252RoundTripsEveryByteAndReplacesTheRest) {
    EXPECT_EQ(&textSetFor("DE"), &textSetFor("EN"));
    for (const char* italian : {"IT", "ES", "", "fr"}) EXPECT_EQ(&textSetFor(italian), &textSetFor("IT")) << italian;
    EXPECT_TRUE(&textSetFor("FR") != &textSetFor("IT") && &textSetFor("FR") != &textSetFor("EN"));

    // Windows-1252: every byte survives the round trip, the high range differs from Latin-1.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    const std::pair<const char*, const char*> rows[] = {
        {"Modalit\xE0 90\xB0 \xFF", "Modalit\xC3\xA0 90\xC2\xB0 \xC3\xBF"},  // a grave, degree sign, y diaeresis
        {"\x80", "\xE2\x82\xAC"},                                            // euro sign
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: C1 controls
    };
    for (const auto& [cp, utf8] : rows) {
        EXPECT_EQ(cp1252ToUtf8(cp), utf8) << cp;
        EXPECT_EQ(utf8ToCp1252(utf8), cp) << cp;
    }
    // Unrepresentable and malformed input becomes the replacement character.
    const std::pair<const char*, const char*> others[] = {
        // Greek alpha, a CJK character and an emoji have no byte in the code page.
        {"a\xCE\xB1" "b\xE4\xB8\xAD" "c\xF0\x9F\x98\x80" "d", "a?b?c?d"},
        {"\xC2\x80\xC2\x96", "??"},  // C1 code points Windows-1252 spends on printable characters
        {"x\x80y", "x?y"},           // a lone continuation byte
        {"x\xE2\x82", "x??"},        // cut short at the end
        {"\xC0\xAF", "??"},          // overlong
        {"", ""},
    };
    for (const auto& [utf8, cp] : others) EXPECT_EQ(utf8ToCp1252(utf8), cp) << utf8;
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80", '#'), "###");  // an encoded surrogate
}

}  // namespace
}  // namespace gyrel
