#include "device/model_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "device/model_table.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using testing_doubles::Rig;

class ModelConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.temp.create();
        Hooks& h = rig.ctx.hooks;
        h.checkModif = [this](int mode) {
            asked.push_back(mode);
            atQuestion = rig.ctx.model;
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
    std::vector<std::string> steps;
    std::vector<int> asked;
    ModelGlobals atQuestion;
    int answer = AnswerYes;
    int emptied = 0, reloads = 0, refreshes = 0, relabels = 0;
};

// What each model means to the device and the files: line speed, outputs,
// range, turn size, program numbering, file extension and receive factor; the
// turn displays, the model's name and the menus and panels the editor offers.
TEST_F(ModelConfigTest, EachProcedureAppliesItsModel) {
    using C = ModelConfig;
    // Model, port settings and speed text, last output, range, steps per turn and turns
    // (single-turn models leave them as they were), number base, extension, receive
    // factor, turn displays, name | Origin, Lists, Upload, Deskpl, Graph menus offered |
    // Offsets, 712 grid, Multiple files box, Append buttons shown.
    const std::pair<std::function<void(C&)>, const char*> rows[] = {
        {[](C& c) { c.Configura712(); }, "V712 9600,n,8,1 9600 15 3599 3600 1 0 712 100 0 V 712|...DG|.G.A"},
        {[](C& c) { c.Configura820HX(); },
         "V820HX 115200,n,8,1 115200 7 1048575 4096 256 1 820 1 1 HX /V820|OLU..|O.M."},
        {[](C& c) { c.ConfiguraKMT(); }, "KMT71 115200,n,8,1 115200 7 1048575 4096 256 1 KVX 1 1 KMT71|OLU..|O.M."},
        {[](C& c) { c.Configura820AX(); }, "V820AX 9600,n,8,1 9600 7 16383 512 32 0 820 1 1 AX /V820|.LU..|O.M."},
        {[](C& c) { c.ConfiguraPx71(); },
         "Px71 115200,n,8,1 115200 15 4294967295 8192 524288 0 PHX 1 1 Px71|OLU..|O.M."},
        {[](C& c) { c.ConfiguraSingolo(1); }, "OLD 9600,n,8,1 9600 15 3599 8192 524288 1 TXT 1 0 KRT 5|.L.DG|O.M."},
        {[](C& c) { c.ConfiguraSingolo(0); }, "NORM 9600,n,8,1 9600 15 3599 8192 524288 0 TXT 1 0 KRT71|.L.DG|O.M."},
    };
    rig.ctx.main.barFrameLeft = 120;
    rig.ctx.main.barFrameWidth = 6400;
    rig.port.setPortName("/dev/ttyUSB0");
    for (const auto& [run, expected] : rows) {
        rig.ctx.model.RxTimeoutFactor = 10;  // as chosen in the time-out dialog
        rig.ctx.applyLanguage("EN");
        rig.ctx.LanguageCode = "FR";  // the texts follow the current code again
        run(config);
        SCOPED_TRACE(expected);
        EXPECT_STREQ(rig.ctx.ui(0), "Sortie");
        const ModelGlobals& g = rig.ctx.model;
        const MainView& main = rig.ctx.main;
        const EditorLayout& e = rig.ctx.editorLayout;
        const auto flags = [](const char* letters, std::initializer_list<bool> on) {
            std::string out;
            for (std::size_t i = 0; i < on.size(); ++i) out += on.begin()[i] ? letters[i] : '.';
            return out;
        };
        std::ostringstream shown;
        shown << std::setprecision(12) << g.ModelType << " " << rig.port.settings() << " " << g.SpeedText << " "
              << g.LastOutputIndex << " " << g.MaxPosition << " " << g.StepsPerTurn << " " << g.TurnCount << " "
              << g.ProgramNumberOffset << " " << g.FileExtension << " " << g.RxTimeoutFactor << " "
              << main.turnDisplaysVisible << " " << main.Label4 << "|"
              << flags("OLUDG", {e.menuOrigin, e.menuLists, e.menuUpload, e.menuDeskpl, e.menuGraph}) << "|"
              << flags("OGMA", {e.offsetsPanel, e.outputGrid712, e.multiFileBox, e.appendButtons});
        EXPECT_EQ(shown.str(), expected);
        EXPECT_EQ(main.title, "GYREL Utility --  /dev/ttyUSB0  -  " + g.SpeedText);
        EXPECT_EQ(main.turnMarksVisible, g.ModelType == "V820AX");
        if (main.turnMarksVisible) {  // the bar cut in 32 parts
            EXPECT_EQ(std::make_pair(main.turnMarkX[0], main.turnMarkX[30]), std::make_pair(305, 6305));
        }
    }
}

// A declined change keeps only the steps before the question; an accepted one empties the
// editor and the work file; the same model or family again keeps them.
TEST_F(ModelConfigTest, ChangeAskedDeclinedAcceptedOrKeptWithinTheFamily) {
    config.Configura712();  // from the initial "NORM"
    writeWorkFile("PRG=1\r\n");
    restart();
    answer = AnswerNo;
    config.Configura820HX();
    EXPECT_EQ(asked, (std::vector<int>{1}));
    EXPECT_EQ(steps.size(), 9u);
    const ModelGlobals& g = rig.ctx.model;
    // Applied before the question, and not applied.
    EXPECT_EQ(rig.ctx.main.title, "GYREL Utility --  COM 1  -  115200");
    EXPECT_EQ(std::make_pair(g.FileExtension, g.MaxPosition), std::make_pair(std::string("820"), 1048575.0));
    EXPECT_EQ(g.ModelType, "V712");
    EXPECT_TRUE(rig.ctx.editorLayout.outputGrid712);
    EXPECT_EQ(emptied + reloads + refreshes + relabels, 0);
    EXPECT_EQ(rig.fs.readAll(workFile()), "PRG=1\r\n");

    restart();
    answer = AnswerYes;
    config.Configura712();  // the same model again
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(rig.fs.readAll(workFile()), "PRG=1\r\n");
    EXPECT_EQ(reloads + refreshes, 2);
    restart();
    config.Configura820AX();
    EXPECT_EQ(asked, (std::vector<int>{1}));
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(rig.fs.readAll(workFile()), "");

    config.Configura820HX();
    restart();
    answer = AnswerNo;
    config.Configura712();
    EXPECT_EQ(atQuestion.LastOutputIndex, 15);
    EXPECT_FALSE(rig.ctx.main.turnDisplaysVisible);
    EXPECT_EQ(rig.ctx.model.FileExtension + rig.ctx.model.ModelType, "820V820HX");

    answer = AnswerYes;
    config.ConfiguraSingolo(0);  // the single-turn reload happens inside the change only
    writeWorkFile("1 10 20\r\n");
    restart();
    config.ConfiguraSingolo(1);  // NORM and OLD are one family
    config.ConfiguraSingolo(0);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(emptied + reloads, 0);
    EXPECT_EQ(refreshes + relabels, 4);
    EXPECT_EQ(rig.fs.readAll(workFile()), "1 10 20\r\n");
}

TEST_F(ModelConfigTest, PreConfRestoresStoredModelOrNorm) {
    for (const char* code : {"Px71", "v712", "", "OLD", "V712", "V820AX", "V820HX", "KMT71"}) {
        restart();
        rig.ctx.model.ModelType = code;
        config.PreConf();
        const bool restored = findModel(code) && findModel(code)->restoredAtStart;
        EXPECT_EQ(rig.ctx.model.ModelType, restored ? code : "NORM") << code;
        EXPECT_EQ(refreshes, 1) << code;
    }
}

TEST(ModelConfigNoFolder, WorkFileThatCannotBeWrittenIsReportedAndTheModelStillChanges) {
    Rig rig;  // its working folder does not exist
    ModelConfig config(rig.ctx);
    config.ConfiguraKMT();
    EXPECT_EQ(rig.ctx.model.ModelType, "KMT71");
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "cannot write " + inWorkingFolder("lav.lav") + ": No such file or directory");
}

}  // namespace
}  // namespace gyrel
