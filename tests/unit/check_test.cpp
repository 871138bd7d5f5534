#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "device/model_table.h"
#include "editor/check.h"
#include "editor/colours.h"
#include "editor/editor_check.h"
#include "editor/editor_files.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using Ranges = std::vector<StyledRange>;
const Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0};

class EditorCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.temp.create();
        rig.ctx.applyLanguage("EN");
        ed->ResizeSeen = 1;
    }
    bool leggi(const std::string& text, int slot = 99) {
        ed->ProgBox = text;
        rig.op.shown.clear();
        return LeggiLav(env, slot);
    }
    bool styled(const StyledRange& r) const {
        return std::find(ed->ProgBoxStyles.begin(), ed->ProgBoxStyles.end(), r) != ed->ProgBoxStyles.end();
    }
    void expectShown(const std::string& title, const std::string& prompt, MsgIcon icon) const {
        ASSERT_EQ(rig.op.shown.size(), 1u);
        EXPECT_EQ(rig.op.shown[0].title, title);
        EXPECT_EQ(rig.op.shown[0].prompt, prompt);
        EXPECT_EQ(rig.op.shown[0].icon, icon);
    }
    testing_doubles::Rig rig;
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    EditorEnv env{rig.ctx, *ed, {}};
};

// What the operator is told about a text the check refuses, and where the caret is put.
TEST_F(EditorCheckTest, EachRefusalShowsItsBoxAndSelectsTheToken) {
    std::string tooMany;
    for (int i = 0; i < 2002; ++i) tooMany += "2 0 0\r\n";
    struct Row {
        std::string text;
        const char* title;
        const char* prompt;
        int selStart, selLength;
    };
    const Row rows[] = {
        {"1 100 250\r\n1 100 4000\r\n", "Wrong value", "Not valid  ' 4000 '", 17, 4},
        {tooMany, "Too much parameters", "Not valid  ' 2 '\r\nMAX NUM of ROWS = 2001 !!!", 2001 * 7, 1},
        {"' two cams\r\n3 10 20\r\n3 20 30\r\n", "Crossed values - Output 3 Row2",
         "Output 3    On 20    Off 30\r\n\r\nOutput just turned on\r\nAt row1  -- Value10", -1, 0},
        // ON 100 + 20 meets OFF 130 - 10.
        {"5 100 130\r\n&\r\n5 20 -10\r\n", "Crossed values - Output 5 Row1",
         "Output 5    On 100    Off 130\r\n\r\nUsing Offsets... \r\n\r\n\r\nTwice value\r\nAt row1  -- Value130", -1,
         0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.title);
        EXPECT_FALSE(leggi(r.text));
        expectShown(r.title, r.prompt, MsgIcon::Exclamation);
        if (r.selStart >= 0) {
            EXPECT_EQ(std::make_pair(ed->SelStart, ed->SelLength), std::make_pair(r.selStart, r.selLength));
        }
        EXPECT_FALSE(ed->CheckArmed || ed->Command2Enabled || ed->ParsingBusy || ed->PreparingBusy);
    }
    EXPECT_EQ(rig.fs.readAll(inWorkingFolder("lav.lav")), rows[3].text);
    EXPECT_EQ(std::make_tuple(ed->check2[4], ed->Text5[4], ed->check2Back[4]),
              std::make_tuple(true, std::string("-10"), kOffsetAppliedBack));
    // The ON and OFF of row 1 of the overlap ("3 10 20" at 12) in red and purple.
    leggi(rows[2].text);
    EXPECT_TRUE(styled({14, 2, {255, 0, 0}, 12, false, false}));
    EXPECT_TRUE(styled({17, 2, {200, 40, 240}, 12, false, false}));

    std::string cams;
    for (int i = 0; i < 61; ++i)
        cams += "1 " + std::to_string(10 + i * 50) + " " + std::to_string(30 + i * 50) + "\r\n";
    EXPECT_TRUE(leggi(cams));  // too many cams: shown, and the preparation still ends
    expectShown("too much cams", "Programmed 122 camms\r\nMAX NUM of CAMS = 120 !!!", MsgIcon::Stop);
    EXPECT_EQ(ed->camTable.storedCount(), 120);
    EXPECT_TRUE(ed->Command2Enabled);
}

TEST_F(EditorCheckTest, ATextWithoutFinalLineEndGetsOneAndOffsetsWrap) {
    EXPECT_TRUE(leggi("1 100 250", 16));
    EXPECT_EQ(ed->ProgBox + rig.fs.readAll(inWorkingFolder("lav.lav")), "1 100 250\r\n1 100 250\r\n");
    EXPECT_EQ(ed->CamRowCount, 1);  // counted in the same check, as the download sends it
    // An error in the cam section leaves the text as it is; one in the offsets passes.
    EXPECT_FALSE(leggi("1 100 4000"));
    EXPECT_EQ(ed->ProgBox, "1 100 4000");
    EXPECT_FALSE(leggi("&\r\n1 1801 0"));
    EXPECT_EQ(ed->ProgBox, "&\r\n1 1801 0\r\n");

    EXPECT_TRUE(leggi("1 3590 250\r\n&\r\n1 20 0\r\n"));
    EXPECT_EQ(ed->camTable.CamCount, 2);
    EXPECT_EQ(std::make_tuple(ed->camTable.position(0), ed->camTable.mask(0), ed->camTable.position(1)),
              std::make_tuple(10u, 1u, 250u));
    // Always-ON and always-OFF rows switch their offsets off.
    EXPECT_TRUE(leggi("2 0 0\r\n3 1 1\r\n&\r\n2 5 5\r\n3 7 7\r\n4 9 9\r\n"));
    EXPECT_EQ(std::make_tuple(ed->check2[1] || ed->check2[2], ed->check2[3], ed->check2Back[1]),
              std::make_tuple(false, true, kOffsetOffBack));
    EXPECT_EQ(std::make_pair(ed->camTable.CamCount, ed->camTable.mask(0)), std::make_pair(1.0, 4u));
    EXPECT_TRUE(styled({2, 1, {0, 200, 120}, 12, false, true}));
    EXPECT_TRUE(styled({7, 1, {250, 0, 180}, 11, true, false}));
}

// Slot 99 verifies, 16 checks quickly, 81..96 prepare a download, others only parse.
TEST_F(EditorCheckTest, EachSlotCodeStoresAndPreparesItsOwnWay) {
    ed->CurrentSlot = 4;
    EXPECT_TRUE(leggi("1 100 250\r\n", 99));
    EXPECT_EQ(std::make_tuple(ed->CurrentSlot, ed->SlotTexts[16], ed->ButtVerificaPrgEnabled),
              std::make_tuple(16, std::string("1 100 250\r\n"), false));
    EXPECT_FALSE(leggi("1 10 20\r\n1 15 30\r\n", 99));  // a failed verify stores nothing
    EXPECT_EQ(ed->SlotTexts[16], "1 100 250\r\n");
    ed->SelezMulti = true;  // with multiple files the slot stays
    ed->CurrentSlot = 3;
    EXPECT_TRUE(leggi("2 5 6\r\n", 99));
    EXPECT_EQ(ed->SlotTexts[3], "2 5 6\r\n");
    ed->SelezMulti = false;

    // Quick: unchanged text prepares nothing; changed, table only, the overlap unreported.
    ed->SlotTexts[16] = "1 10 20\r\n1 15 30\r\n";
    ed->camTable.CamCount = 0;
    EXPECT_TRUE(leggi("1 10 20\r\n1 15 30\r\n", 16));
    EXPECT_EQ(ed->camTable.CamCount, 0);
    EXPECT_TRUE(leggi("1 10 20\r\n1 15 40\r\n", 16));
    EXPECT_TRUE(rig.op.shown.empty());
    EXPECT_TRUE(ed->ButtVerificaPrgEnabled);
    EXPECT_EQ(ed->camTable.CamCount, 2);
    EXPECT_EQ(ed->camTable.position(1), 20u);  // the first OFF edge ends the output

    int slot = 85;
    ed->ProgBox = "1 100 250\r\n&\r\n1 10 0";
    EXPECT_TRUE(LeggiLav(env, slot));
    EXPECT_EQ(slot, 5);
    EXPECT_EQ(ed->SlotTexts[5], "1 100 250\r\n&\r\n1 10 0\r\n");
    // A quick check leaves a table without offsets; the download of the same text prepares again with them.
    EXPECT_TRUE(leggi(ed->ProgBox + "' x\r\n", 16));
    EXPECT_EQ(ed->camTable.position(0), 100u);
    ed->ProgBox = ed->SlotTexts[5];
    EXPECT_TRUE(LeggiLav(env, slot = 85));
    EXPECT_EQ(ed->camTable.position(0), 110u);
    ed->ProgBox = "1 100 250\r\n2 300 400";  // a last row without its line end is sent too
    EXPECT_TRUE(LeggiLav(env, slot = 96));
    EXPECT_EQ(ed->camTable.CamCount, 4);
    ed->ProgBox = "1 7 7\r\n";  // a failing text is not stored
    EXPECT_FALSE(LeggiLav(env, slot = 85));
    EXPECT_EQ(ed->SlotTexts[5], "1 100 250\r\n&\r\n1 10 0\r\n");

    ed->camTable.CamCount = 7;
    EXPECT_TRUE(leggi("1 7 7\r\n", 50));
    EXPECT_EQ(ed->camTable.CamCount, 7);
}

// Before the first layout nothing is prepared, while busy nothing runs; the hooks run around the check.
TEST_F(EditorCheckTest, NothingIsPreparedBeforeTheLayoutOrWhileBusyAndHooksRunAround) {
    ed->camTable.CamCount = 7;
    ed->ResizeSeen = 0;
    EXPECT_TRUE(leggi("1 7 7\r\n"));
    EXPECT_EQ(ed->camTable.CamCount, 7);
    ed->ResizeSeen = 1;
    ed->ParsingBusy = true;
    EXPECT_FALSE(leggi("1 7 7\r\n"));
    EXPECT_TRUE(rig.op.shown.empty());
    ed->ParsingBusy = false;
    ed->PreparingBusy = true;
    EXPECT_FALSE(PreparaDati(env, 0));
    ed->PreparingBusy = false;

    ed->graphVisible = true;
    int redraws = 0;
    std::string seen = "none";
    env.hooks.redrawGraphics = [&] { ++redraws; };
    env.hooks.saveOffs = [&] { seen = ed->ParsingBusy ? "busy" : "idle"; };
    EXPECT_TRUE(leggi("1 100 250\r\n"));
    EXPECT_EQ(std::make_tuple(redraws, seen, ed->wait.visible, ed->wait.barWidth),
              std::make_tuple(1, std::string("busy"), false, 6200));
}

// V712 texts fill the header values, are coloured and build no cam table; the other models build one.
TEST_F(EditorCheckTest, EachModelBuildsATableOrReadsTheHeaderValues) {
    for (const ModelInfo& m : modelTable()) {
        SCOPED_TRACE(m.code);
        rig.ctx.model.ModelType = m.code;
        ed->camTable.CamCount = 5;
        EXPECT_TRUE(leggi("1 100 250\r\n"));
        EXPECT_EQ(ed->camTable.CamCount != 0, m.tableBuilt);
    }
    rig.ctx.model.ModelType = "V712";
    int frames = 0;
    env.hooks.aggFrame = [&] { ++frames; };
    ed->ProgBox = "' p\r\nPRG=2,OUT=3,OFS=10,CON=200,COF=300\r\n";
    verifyProgram(env);
    EXPECT_EQ(ed->HeaderParams[1][2][1], "200");
    EXPECT_EQ(rig.fs.readAll(WorkFilePath()), ed->ProgBox);  // the checked text is kept in the work file
    EXPECT_EQ(frames, 1);
    EXPECT_TRUE(styled({0, 4, {0, 0, 255}, 8}));
}

TEST(Colours, CommentsBlueAtSize8OneLineRecolouredAtTheCaretAndPaintingCutsWhatItCovers) {
    auto ed = std::make_unique<EditorState>();
    ed->ProgBox = "' head\r\n1 2 3 ' tail\r\n4 5 6\r\n";
    ed->FullRecolour = 1;
    AggColori(*ed, 1, 11);
    EXPECT_EQ(ed->ProgBoxStyles, (Ranges{{0, 7, kBlue, 8}, {7, 7, kBlack, 11}, {14, 7, kBlue, 8}, {21, 8, kBlack, 11}}));
    EXPECT_EQ(ed->FullRecolour, 0);
    ed->ProgBox = "1 2 3\r\n4 5 6\r\n";
    AggColori(*ed, 1, 9);
    ed->ProgBox = "1 2 3\r\n4 '5\r\n";
    ed->CaretPosition = 10;
    AggColori(*ed, 0, 9);
    EXPECT_EQ(ed->ProgBoxStyles, (Ranges{{0, 7, kBlack, 9}, {7, 2, kBlack, 9}, {9, 3, kBlue, 8}, {12, 2, kBlack, 9}}));

    Ranges list{{0, 10, kBlack, 11}, {10, 5, kBlue, 8}};
    paintRange(list, {8, 4, kRed, 12});
    EXPECT_EQ(list, (Ranges{{0, 8, kBlack, 11}, {8, 4, kRed, 12}, {12, 3, kBlue, 8}}));
    paintRange(list, {20, 2, kBlack, 11});
    EXPECT_EQ(list.back(), (StyledRange{20, 2, kBlack, 11}));
    paintRange(list, {2, 0, kBlue, 8});  // nothing to paint
    EXPECT_EQ(list.size(), 4u);
}

}  // namespace
}  // namespace gyrel
