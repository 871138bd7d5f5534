#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_settings.h"
#include "platform/file_system.h"
#include "platform/memory_settings_store.h"
#include "platform/working_folder.h"

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

}  // namespace
}  // namespace gyrel
