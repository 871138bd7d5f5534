#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/model_config.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using testing_doubles::Rig;
using Steps = std::vector<std::string>;

class ModelConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.temp.create();
        Hooks& h = rig.ctx.hooks;
        h.checkModif = [this](int mode) {
            asked.push_back(mode);
            atQuestion = rig.ctx.model;
            stepsAtQuestion = steps;
            return answer;
        };
        h.emptyEditor = [this] { ++emptied; };
        h.aggBox = [this] { ++reloads; };
        h.leggiDato = [this] { ++refreshes; };
        h.languageApplied = [this] { ++relabels; };
        config.trace = &steps;
    }
    std::string workFile() const { return inWorkingFolder("lav.lav"); }
    void writeWorkFile(const std::string& text) { rig.fs.writeAll(workFile(), text); }
    void restart() {
        steps.clear();
        asked.clear();
        emptied = reloads = refreshes = relabels = 0;
    }

    Rig rig;
    ModelConfig config{rig.ctx};
    Steps steps, stepsAtQuestion;
    std::vector<int> asked;
    ModelGlobals atQuestion;
    int answer = AnswerYes;
    int emptied = 0, reloads = 0, refreshes = 0, relabels = 0;
};

TEST_F(ModelConfigTest, StepOrderOfEachProcedure) {
    // Every procedure started from another model, so that each asks.
    rig.ctx.model.ModelType = "NORM";
    config.Configura712();
    EXPECT_EQ(steps, (Steps{"S", "T", "LastOutputIndex", "T", "C", "E", "MaxPosition", "M", "N", "L", "U", "F",
                            "R", "W", "K", "A", "D"}));
    restart();
    config.Configura820AX();
    EXPECT_EQ(steps, (Steps{"S", "T", "E", "Z", "F", "C", "M", "N", "L", "U", "R", "W", "K", "A", "D"}));
    restart();
    config.Configura820HX();
    const Steps multi{"S", "T", "F", "M", "R", "N", "E", "Z", "C", "L", "U", "W", "K", "A", "D"};
    EXPECT_EQ(steps, multi);
    restart();
    config.ConfiguraKMT();
    EXPECT_EQ(steps, multi);
    restart();
    config.ConfiguraPx71();
    EXPECT_EQ(steps, (Steps{"S", "T", "MaxPosition", "F", "E", "StepsPerTurn", "C", "M", "N", "L", "U", "R", "W",
                            "K", "A", "D"}));
    restart();
    config.ConfiguraSingolo(1);
    EXPECT_EQ(steps, (Steps{"S", "Z", "F", "T", "E", "C", "M", "N", "L", "U", "K", "R", "W", "D"}));
    EXPECT_EQ(asked, (std::vector<int>{1}));
    EXPECT_EQ(reloads, 1);  // the single-turn reload happens inside the change only
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(relabels, 1);
}

TEST_F(ModelConfigTest, DeclinedChangeKeepsOnlyTheStepsBeforeTheQuestion) {
    config.Configura712();  // from the initial "NORM"
    ASSERT_EQ(rig.ctx.model.ModelType, "V712");
    writeWorkFile("PRG=1\r\n");
    restart();
    answer = AnswerNo;

    config.Configura820HX();
    EXPECT_EQ(asked, (std::vector<int>{1}));
    EXPECT_EQ(steps, (Steps{"S", "T", "F", "M", "R", "N", "E", "Z", "C"}));
    const ModelGlobals& g = rig.ctx.model;
    // Applied before the question.
    EXPECT_EQ(g.SpeedText, "115200");
    EXPECT_EQ(rig.port.settings(), "115200,n,8,1");
    EXPECT_EQ(rig.ctx.main.title, "GYREL Utility --  COM 1  -  115200");
    EXPECT_TRUE(rig.ctx.main.turnDisplaysVisible);
    EXPECT_EQ(rig.ctx.main.FinQuotaFontSize, 40);
    EXPECT_EQ(g.RxTimeoutFactor, 1);
    EXPECT_EQ(g.ProgramNumberOffset, 1);
    EXPECT_EQ(g.FileExtension, "820");
    EXPECT_EQ(g.LastOutputIndex, 7);
    EXPECT_EQ(g.MaxPosition, 1048575);
    // Not applied.
    EXPECT_EQ(g.ModelType, "V712");
    EXPECT_EQ(rig.ctx.main.Label4, "V 712");
    EXPECT_TRUE(rig.ctx.editorLayout.outputGrid712);
    EXPECT_FALSE(rig.ctx.editorLayout.menuUpload);
    EXPECT_EQ(emptied, 0);
    EXPECT_EQ(reloads + refreshes + relabels, 0);
    EXPECT_EQ(rig.fs.readAll(workFile()), "PRG=1\r\n");
}

TEST_F(ModelConfigTest, DeclinedV712KeepsExtensionAndRange) {
    rig.ctx.model.ModelType = "V820HX";
    rig.ctx.model.LastOutputIndex = 7;
    rig.ctx.model.MaxPosition = 1048575;
    rig.ctx.model.FileExtension = "820";
    rig.ctx.main.turnDisplaysVisible = true;
    answer = AnswerNo;
    config.Configura712();
    EXPECT_EQ(atQuestion.LastOutputIndex, 15);
    EXPECT_EQ(rig.ctx.model.LastOutputIndex, 15);
    EXPECT_FALSE(rig.ctx.main.turnDisplaysVisible);
    EXPECT_EQ(rig.ctx.main.LblGiri, "0");
    EXPECT_EQ(rig.ctx.model.FileExtension, "820");
    EXPECT_EQ(rig.ctx.model.MaxPosition, 1048575);
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 1);
    EXPECT_EQ(rig.ctx.model.ModelType, "V820HX");
}

TEST_F(ModelConfigTest, AcceptedChangeEmptiesEditorAndWorkFile) {
    config.Configura712();
    writeWorkFile("PRG=1\r\n");
    restart();
    config.Configura820AX();
    EXPECT_EQ(asked, (std::vector<int>{1}));
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(rig.fs.readAll(workFile()), "");
    EXPECT_EQ(reloads, 1);  // the A step
    EXPECT_EQ(rig.ctx.model.ModelType, "V820AX");
}

TEST_F(ModelConfigTest, ReselectingTheSameModelAsksNothingAndKeepsTheText) {
    config.Configura712();
    writeWorkFile("PRG=1\r\n");
    restart();
    config.Configura712();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(emptied, 0);
    EXPECT_EQ(rig.fs.readAll(workFile()), "PRG=1\r\n");
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ModelConfigTest, SwitchingBetweenNormAndOldKeepsTheText) {
    writeWorkFile("1 10 20\r\n");
    config.ConfiguraSingolo(1);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(emptied, 0);
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(rig.ctx.model.ModelType, "OLD");
    EXPECT_EQ(rig.ctx.model.ProgramNumberOffset, 1);
    EXPECT_EQ(rig.ctx.main.Label4, "KRT 5");
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{255, 0, 5}));
    config.ConfiguraSingolo(0);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(rig.ctx.model.ModelType, "NORM");
    EXPECT_EQ(rig.ctx.model.ProgramNumberOffset, 0);
    EXPECT_EQ(rig.ctx.main.Label4, "KRT71");
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{0, 128, 0}));
    EXPECT_EQ(rig.fs.readAll(workFile()), "1 10 20\r\n");
}

TEST_F(ModelConfigTest, ReceiveFactorIs100OnlyForV712) {
    rig.ctx.model.RxTimeoutFactor = 10;  // chosen in the time-out dialog
    config.Configura712();
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 100);
    config.ConfiguraKMT();
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 1);
    rig.ctx.model.RxTimeoutFactor = 10;
    config.ConfiguraSingolo(0);
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 1);
    rig.ctx.model.RxTimeoutFactor = 10;
    config.ConfiguraPx71();
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 1);
    rig.ctx.model.RxTimeoutFactor = 10;
    config.Configura820AX();
    EXPECT_EQ(rig.ctx.model.RxTimeoutFactor, 1);
}

TEST_F(ModelConfigTest, V820AXMarksCutTheBarIn32Parts) {
    rig.ctx.main.barFrameLeft = 120;
    rig.ctx.main.barFrameWidth = 6400;
    config.Configura820AX();
    EXPECT_TRUE(rig.ctx.main.turnMarksVisible);
    EXPECT_EQ(rig.ctx.main.turnMarkX[0], 305);
    EXPECT_EQ(rig.ctx.main.turnMarkX[15], 3305);
    EXPECT_EQ(rig.ctx.main.turnMarkX[30], 6305);
    for (int i = 1; i < 31; ++i) EXPECT_EQ(rig.ctx.main.turnMarkX[i] - rig.ctx.main.turnMarkX[i - 1], 200);
    config.ConfiguraSingolo(0);
    EXPECT_FALSE(rig.ctx.main.turnMarksVisible);
    config.Configura820AX();
    config.Configura820HX();
    EXPECT_FALSE(rig.ctx.main.turnMarksVisible);
}

TEST_F(ModelConfigTest, MultiTurnModels) {
    config.Configura820HX();
    ModelGlobals g = rig.ctx.model;
    EXPECT_EQ(g.ModelType, "V820HX");
    EXPECT_EQ(g.LastOutputIndex, 7);
    EXPECT_EQ(g.MaxPosition, 1048575);
    EXPECT_EQ(g.StepsPerTurn, 4096);
    EXPECT_EQ(g.TurnCount, 256);
    EXPECT_EQ(g.SpeedText, "115200");
    EXPECT_EQ(g.ProgramNumberOffset, 1);
    EXPECT_EQ(g.FileExtension, "820");
    EXPECT_EQ(rig.ctx.main.Label4, "HX /V820");
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{0, 128, 128}));
    EXPECT_TRUE(rig.ctx.main.turnDisplaysVisible);
    EXPECT_EQ(rig.ctx.main.LblGiri, "");
    EXPECT_EQ(rig.ctx.main.LblGiro, "");
    EXPECT_TRUE(rig.ctx.editorLayout.menuOrigin);
    EXPECT_TRUE(rig.ctx.editorLayout.menuUpload);
    EXPECT_FALSE(rig.ctx.editorLayout.menuDeskpl);
    EXPECT_FALSE(rig.ctx.editorLayout.menuGraph);

    config.ConfiguraKMT();
    g = rig.ctx.model;
    EXPECT_EQ(g.ModelType, "KMT71");
    EXPECT_EQ(g.FileExtension, "KVX");
    EXPECT_EQ(g.TurnCount, 256);
    EXPECT_EQ(rig.ctx.main.Label4, "KMT71");

    config.ConfiguraPx71();
    g = rig.ctx.model;
    EXPECT_EQ(g.ModelType, "Px71");
    EXPECT_EQ(g.LastOutputIndex, 15);
    EXPECT_EQ(g.MaxPosition, 4294967295.0);
    EXPECT_EQ(g.StepsPerTurn, 8192);
    EXPECT_EQ(g.TurnCount, 524288);
    EXPECT_EQ(g.ProgramNumberOffset, 0);
    EXPECT_EQ(g.FileExtension, "PHX");
    EXPECT_EQ(rig.ctx.main.FinQuotaFontSize, 28);
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{0, 128, 255}));

    config.Configura820AX();
    g = rig.ctx.model;
    EXPECT_EQ(g.LastOutputIndex, 7);
    EXPECT_EQ(g.MaxPosition, 16383);
    EXPECT_EQ(g.StepsPerTurn, 512);
    EXPECT_EQ(g.TurnCount, 32);
    EXPECT_EQ(g.SpeedText, "9600");
    EXPECT_EQ(g.ProgramNumberOffset, 0);
    EXPECT_EQ(rig.ctx.main.FinQuotaFontSize, 48);
    EXPECT_EQ(rig.ctx.main.Label4, "AX /V820");
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{192, 0, 192}));
    EXPECT_FALSE(rig.ctx.editorLayout.menuOrigin);
    EXPECT_TRUE(rig.ctx.editorLayout.menuUpload);
}

TEST_F(ModelConfigTest, V712LayoutAndSingleTurnLayout) {
    rig.ctx.editorLayout.progBoxHeight = 3000;
    rig.ctx.editorLayout.multiFileChecked = true;
    config.Configura712();
    const EditorLayout& e = rig.ctx.editorLayout;
    EXPECT_EQ(e.progBoxHeight, 3000);  // the V712 keeps the box height of its grid layout
    EXPECT_FALSE(e.offsetsPanel);
    EXPECT_TRUE(e.outputGrid712);
    EXPECT_FALSE(e.multiFilePanel);
    EXPECT_EQ(e.multiFileCaption, "Multiple Files ");
    EXPECT_FALSE(e.multiFileBox);
    EXPECT_FALSE(e.multiFileChecked);
    EXPECT_TRUE(e.appendButtons);
    EXPECT_FALSE(e.menuLists);
    EXPECT_TRUE(e.menuDeskpl);
    EXPECT_TRUE(e.menuGraph);
    EXPECT_EQ(rig.ctx.model.FileExtension, "712");
    EXPECT_EQ(rig.ctx.main.Label4, "V 712");
    EXPECT_EQ(rig.ctx.main.Label4Colour, (Rgb{255, 80, 0}));

    config.ConfiguraSingolo(0);
    EXPECT_EQ(e.progBoxHeight, 5400);
    EXPECT_TRUE(e.offsetsPanel);
    EXPECT_FALSE(e.outputGrid712);
    EXPECT_TRUE(e.multiFileBox);
    EXPECT_FALSE(e.appendButtons);
    EXPECT_TRUE(e.menuLists);
    EXPECT_EQ(rig.ctx.model.FileExtension, "TXT");
    EXPECT_EQ(rig.ctx.main.LblGiri, "0");
    EXPECT_FALSE(rig.ctx.main.turnDisplaysVisible);
}

TEST_F(ModelConfigTest, PreConfRestoresStoredModel) {
    rig.ctx.model.ModelType = "Px71";
    config.PreConf();
    EXPECT_EQ(rig.ctx.model.ModelType, "NORM");
    EXPECT_TRUE(asked.empty());

    rig.ctx.model.ModelType = "v712";  // codes are compared exactly
    config.PreConf();
    EXPECT_EQ(rig.ctx.model.ModelType, "NORM");

    rig.ctx.model.ModelType = "";
    config.PreConf();
    EXPECT_EQ(rig.ctx.model.ModelType, "NORM");

    for (const char* code : {"OLD", "V712", "V820AX", "V820HX", "KMT71"}) {
        restart();
        rig.ctx.model.ModelType = code;
        config.PreConf();
        EXPECT_EQ(rig.ctx.model.ModelType, code);
        EXPECT_TRUE(asked.empty()) << code;
        EXPECT_EQ(refreshes, 1) << code;
    }
}

TEST_F(ModelConfigTest, LanguageIsAppliedAgainWithTheCurrentCode) {
    rig.ctx.LanguageCode = "FR";
    config.Configura820HX();
    EXPECT_EQ(relabels, 1);
    EXPECT_EQ(rig.ctx.LanguageCode, "FR");
    EXPECT_STREQ(rig.ctx.ui(0), "Sortie");
}

TEST_F(ModelConfigTest, TitleUsesTheDevicePathWhenOneIsSet) {
    rig.port.setPortName("/dev/ttyUSB0");
    config.ConfiguraKMT();
    EXPECT_EQ(rig.ctx.main.title, "GYREL Utility --  /dev/ttyUSB0  -  115200");
}

TEST(ModelConfigNoFolder, WorkFileThatCannotBeWrittenIsReportedAndTheModelStillChanges) {
    Rig rig;  // its working folder does not exist
    ModelConfig config(rig.ctx);
    config.ConfiguraKMT();
    EXPECT_EQ(rig.ctx.model.ModelType, "KMT71");
    ASSERT_EQ(rig.op.boxes.size(), 1u);
    EXPECT_EQ(rig.op.boxes[0].prompt, "cannot write " + inWorkingFolder("lav.lav") + ": No such file or directory");
    EXPECT_EQ(rig.op.boxes[0].icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace gyrel
