#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "platform/memory_settings_store.h"
#include "platform/working_folder.h"

namespace gyrel {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("GYREL_HOME", "/tmp/gyrel-settings-test-home", 1); }
    void TearDown() override { unsetenv("GYREL_HOME"); }
    MemorySettingsStore store;
};

std::vector<std::string> writtenKeys(const MemorySettingsStore& s) {
    std::vector<std::string> keys;
    for (const auto& w : s.writes()) keys.push_back(w.key);
    return keys;
}

TEST_F(SettingsTest, MemoryStoreIgnoresCaseOfKeysAndSections) {
    store.set("startup", "Passo", "30");
    EXPECT_EQ(store.get("startup", "passo"), "30");
    EXPECT_EQ(store.get("STARTUP", "PASSO"), "30");
    store.set("Startup", "PASSO", "60");
    EXPECT_EQ(store.get("startup", "Passo"), "60");
    EXPECT_FALSE(store.get("other", "Passo").has_value());
    EXPECT_FALSE(store.get("startup", "Pass").has_value());
}

TEST_F(SettingsTest, EmptyStoreGivesEveryDefault) {
    AppSettings s;
    s.read(store);
    EXPECT_EQ(s.RxTimeoutFactor, 1);
    EXPECT_EQ(s.LanguageCode, "IT");
    EXPECT_EQ(s.PercorsoTxt, "/tmp/gyrel-settings-test-home/Gyrel.Txt");
    EXPECT_EQ(s.PortaMem, 1);
    EXPECT_EQ(s.GraphScale, 2);
    EXPECT_EQ(s.GraphPitch, 45);
    EXPECT_EQ(s.ModelType, "NORM");
    EXPECT_EQ(s.SpeedText, "9600");
    EXPECT_EQ(s.Primi, "20");
    EXPECT_EQ(s.Success, "200");
    EXPECT_EQ(s.PortName, "");
}

TEST_F(SettingsTest, WrittenValuesReadBack) {
    AppSettings s;
    s.RxTimeoutFactor = 10;
    s.LanguageCode = "FR";
    s.PercorsoTxt = "/data/cams/press.txt";
    s.PortaMem = 4;
    s.GraphScale = 3;
    s.GraphPitch = 90;
    s.ModelType = "V820HX";
    s.SpeedText = "115200";
    s.Primi = "50";
    s.Success = "300";
    s.PortName = "/dev/ttyUSB0";
    s.VerifyAfterDownload = 1;
    s.write(store);

    AppSettings back;
    back.read(store);
    EXPECT_EQ(back.RxTimeoutFactor, 10);
    EXPECT_EQ(back.LanguageCode, "FR");
    EXPECT_EQ(back.PercorsoTxt, "/data/cams/press.txt");
    EXPECT_EQ(back.PortaMem, 4);
    EXPECT_EQ(back.GraphScale, 3);
    EXPECT_EQ(back.GraphPitch, 90);
    EXPECT_EQ(back.ModelType, "V820HX");
    EXPECT_EQ(back.SpeedText, "115200");
    EXPECT_EQ(back.Primi, "50");
    EXPECT_EQ(back.Success, "300");
    EXPECT_EQ(back.PortName, "/dev/ttyUSB0");
    EXPECT_EQ(back.VerifyAfterDownload, 1);
}

TEST_F(SettingsTest, KeysReadWithOtherCaseAddressTheSameValue) {
    // Written as "Passo" and "Filtro10", read as "passo" and "filtro10".
    store.set(kSettingsSection, "Passo", "30");
    store.set(kSettingsSection, "Filtro10", "100");
    AppSettings s;
    s.read(store);
    EXPECT_EQ(s.GraphPitch, 30);
    EXPECT_EQ(s.RxTimeoutFactor, 100);

    s.GraphPitch = 15;
    s.write(store);
    EXPECT_EQ(store.get(kSettingsSection, "passo"), "15");

    store.set(kSettingsSection, "verifyafterdownload", "1");
    s.read(store);
    EXPECT_EQ(s.VerifyAfterDownload, 1);
}

TEST_F(SettingsTest, WriteOrderAndSpelling) {
    AppSettings s;
    s.write(store);
    EXPECT_EQ(writtenKeys(store),
              (std::vector<std::string>{"Filtro10", "Language", "PercorsoTxt", "PortaMem", "scala", "Passo", "Tipo",
                                        "Primi", "Success", "Velo", "PortName", "VerifyAfterDownload"}));
    for (const auto& w : store.writes()) EXPECT_EQ(w.section, "startup");
    EXPECT_EQ(store.writes()[0].value, "1");
    EXPECT_EQ(store.writes()[3].value, "1");
    EXPECT_EQ(store.writes()[5].value, "45");
}

TEST_F(SettingsTest, FactorNotWrittenWhileModelIsV712) {
    store.set(kSettingsSection, "Filtro10", "10");
    store.clearWrites();
    AppSettings s;
    s.ModelType = "V712";
    s.RxTimeoutFactor = 100;
    s.write(store);
    EXPECT_EQ(store.get(kSettingsSection, "filtro10"), "10");
    EXPECT_EQ(writtenKeys(store).front(), "Language");
    EXPECT_EQ(store.writes().size(), 11u);
}

TEST_F(SettingsTest, NumbersAreRoundedAndPortZeroBecomesOne) {
    store.set(kSettingsSection, "filtro10", "9.6");
    store.set(kSettingsSection, "PortaMem", "0");
    store.set(kSettingsSection, "scala", " 3 ");
    store.set(kSettingsSection, "passo", "44.5");  // half to even
    AppSettings s;
    s.read(store);
    EXPECT_EQ(s.RxTimeoutFactor, 10);
    EXPECT_EQ(s.PortaMem, 1);
    EXPECT_EQ(s.GraphScale, 3);
    EXPECT_EQ(s.GraphPitch, 44);
}

TEST_F(SettingsTest, UnusableNumbersFallBackToTheirDefaults) {
    store.set(kSettingsSection, "filtro10", "0");       // would make every reply wait end at once
    store.set(kSettingsSection, "PortaMem", "COM3");
    store.set(kSettingsSection, "scala", "300");        // not a byte
    store.set(kSettingsSection, "passo", "");
    AppSettings s;
    s.GraphScale = 4;  // a previous value is not kept either
    s.read(store);
    EXPECT_EQ(s.RxTimeoutFactor, 1);
    EXPECT_EQ(s.PortaMem, 1);
    EXPECT_EQ(s.GraphScale, 2);
    EXPECT_EQ(s.GraphPitch, 45);

    store.set(kSettingsSection, "filtro10", "abc");
    store.set(kSettingsSection, "PortaMem", "-2");
    store.set(kSettingsSection, "passo", "40000");
    s.read(store);
    EXPECT_EQ(s.RxTimeoutFactor, 1);
    EXPECT_EQ(s.PortaMem, 1);
    EXPECT_EQ(s.GraphPitch, 45);
}

}  // namespace
}  // namespace gyrel
