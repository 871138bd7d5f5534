#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <tuple>

#include "device/model_table.h"
#include "editor/check.h"
#include "editor/editor_check.h"
#include "editor/editor_files.h"
#include "editor/offsets.h"
#include "editor/offsets_file.h"
#include "editor/parse.h"
#include "platform/std_file_system.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

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
    testing_doubles::Rig rig;
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    EditorEnv env{rig.ctx, *ed, {}};
};

// What the operator is told about a text the check refuses, and where the caret is put.
TEST_F(EditorCheckTest, EachRefusalShowsItsBoxAndSelectsTheTokenAndEachSlotCodeAndModelPreparesItsOwnWay) {
    std::string tooMany;
    for (int i = 0; i < 2002; ++i) tooMany += "2 0 0\r\n";
    // text, box title and prompt, selection (start -1: not checked)
    const std::tuple<std::string, const char*, const char*, int, int> rows[] = {
        {"1 100 250\r\n1 100 4000\r\n", "Wrong value", "Not valid  ' 4000 '", 17, 4},
        {tooMany, "Too much parameters", "Not valid  ' 2 '\r\nMAX NUM of ROWS = 2001 !!!", 2001 * 7, 1},
        {"' two cams\r\n3 10 20\r\n3 20 30\r\n", "Crossed values - Output 3 Row2",
         "Output 3    On 20    Off 30\r\n\r\nOutput just turned on\r\nAt row1  -- Value10", -1, 0},
        // ON 100 + 20 meets OFF 130 - 10.
        {"5 100 130\r\n&\r\n5 20 -10\r\n", "Crossed values - Output 5 Row1",
         "Output 5    On 100    Off 130\r\n\r\nUsing Offsets... \r\n\r\n\r\nTwice value\r\nAt row1  -- Value130", -1,
         0},
    };
    for (const auto& [text, title, prompt, selStart, selLength] : rows) {
        SCOPED_TRACE(title);
        EXPECT_FALSE(leggi(text));
        ASSERT_EQ(rig.op.shown.size(), 1u);
        const listtest::Shown& s = rig.op.shown[0];
        EXPECT_EQ(std::make_tuple(s.title, s.prompt, s.icon), std::make_tuple(title, prompt, MsgIcon::Exclamation));
        if (selStart >= 0) {
            EXPECT_EQ(std::make_pair(ed->SelStart, ed->SelLength), std::make_pair(selStart, selLength));
        }
        EXPECT_FALSE(ed->CheckArmed || ed->Command2Enabled || ed->ParsingBusy || ed->PreparingBusy);
    }
    EXPECT_EQ(rig.fs.readAll(inWorkingFolder("lav.lav")), std::get<0>(rows[3]));
    EXPECT_EQ(std::make_tuple(ed->check2[4], ed->Text5[4], ed->check2Back[4]),
              std::make_tuple(true, std::string("-10"), kOffsetAppliedBack));
    // The ON and OFF of row 1 of the overlap ("3 10 20" at 12) in red and purple.
    leggi(std::get<0>(rows[2]));
    EXPECT_TRUE(styled({14, 2, {255, 0, 0}, 12, false, false}));
    EXPECT_TRUE(styled({17, 2, {200, 40, 240}, 12, false, false}));

    std::string cams;
    for (int i = 0; i < 61; ++i)
        cams += "1 " + std::to_string(10 + i * 50) + " " + std::to_string(30 + i * 50) + "\r\n";
    EXPECT_TRUE(leggi(cams));  // too many cams: shown, and the preparation still ends
    EXPECT_EQ(std::make_tuple(rig.op.shown.size(), ed->camTable.storedCount(), ed->Command2Enabled),
              std::make_tuple(1u, 120, true));

    // Line ends, offsets, slot codes, busy flags and models: each stores and prepares its own way.
    EXPECT_TRUE(leggi("1 100 250", 16));
    EXPECT_EQ(ed->ProgBox + rig.fs.readAll(inWorkingFolder("lav.lav")), "1 100 250\r\n1 100 250\r\n");
    EXPECT_EQ(ed->CamRowCount, 1);  // counted in the same check, as the download sends it
    // An error in the cam section leaves the text as it is; one in the offsets passes.
    EXPECT_FALSE(leggi("1 100 4000"));
    EXPECT_EQ(ed->ProgBox, "1 100 4000");
    EXPECT_FALSE(leggi("&\r\n1 1801 0"));
    EXPECT_EQ(ed->ProgBox, "&\r\n1 1801 0\r\n");

    EXPECT_TRUE(leggi("1 3590 250\r\n&\r\n1 20 0\r\n"));
    EXPECT_EQ(std::make_tuple(ed->camTable.CamCount, ed->camTable.position(0), ed->camTable.mask(0),
                              ed->camTable.position(1)),
              std::make_tuple(2.0, 10u, 1u, 250u));
    // Always-ON and always-OFF rows switch their offsets off.
    EXPECT_TRUE(leggi("2 0 0\r\n3 1 1\r\n&\r\n2 5 5\r\n3 7 7\r\n4 9 9\r\n"));
    EXPECT_EQ(std::make_tuple(ed->check2[1] || ed->check2[2], ed->check2[3], ed->check2Back[1]),
              std::make_tuple(false, true, kOffsetOffBack));
    EXPECT_EQ(std::make_pair(ed->camTable.CamCount, ed->camTable.mask(0)), std::make_pair(1.0, 4u));
    // Slot 99 verifies, 16 checks quickly, 81..96 prepare a download, others only parse.
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
    // the first OFF edge ends the output
    EXPECT_EQ(std::make_tuple(rig.op.shown.size(), ed->ButtVerificaPrgEnabled, ed->camTable.CamCount,
                              ed->camTable.position(1)),
              std::make_tuple(0u, true, 2.0, 20u));

    int slot = 85;
    ed->ProgBox = "1 100 250\r\n&\r\n1 10 0";
    EXPECT_TRUE(LeggiLav(env, slot));
    EXPECT_EQ(std::to_string(slot) + ed->SlotTexts[5], "51 100 250\r\n&\r\n1 10 0\r\n");
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

    // Before the first layout nothing is prepared, while busy nothing runs; the hooks run around the check.
    ed->ResizeSeen = 0;
    EXPECT_TRUE(leggi("1 7 7\r\n"));
    EXPECT_EQ(ed->camTable.CamCount, 7);
    ed->ResizeSeen = 1;
    ed->ParsingBusy = true;
    EXPECT_FALSE(leggi("1 7 7\r\n") || !rig.op.shown.empty());
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
    // V712 texts fill the header values and build no cam table; the other models build one.
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
    // The checked text is kept in the work file.
    EXPECT_EQ(std::make_tuple(ed->HeaderParams[1][2][1], rig.fs.readAll(WorkFilePath()), frames),
              std::make_tuple(std::string("200"), ed->ProgBox, 1));
}

class ParseTest : public ::testing::Test {
protected:
    ParseResult parse(const std::string& text, double max = 3599) { return parseCamText(text, max, *ed); }
    std::vector<CamRow> rows() const { return {ed->CamRows.begin(), ed->CamRows.begin() + ed->CamRowCount}; }
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
};

// Texts that pass: the rows counted (a last line without line feed is checked, not counted).
TEST_F(ParseTest, TextsThatPassAndTheFirstRefusedTokenOfThoseThatDoNot) {
    const std::pair<const char*, std::vector<CamRow>> cases[] = {
        {"", {}}, {"' nothing 1 2 3\r\n\r\n   ' more\r\n", {}},
        {"1\t10-20\r\n2,30.40\r\n3 x5y 6\r\n", {{1, 10, 20}, {2, 30, 40}, {3, 5, 6}}},
        // A number needs no blank after it: an apostrophe, "&", a line feed or the end completes it.
        {"1 100 250' first\r\n2 5 6\n3 7 8&4 10 -10", {{1, 100, 250}, {2, 5, 6}, {3, 7, 8}}},
        {"1 100 200\r\n2 300 400", {{1, 100, 200}}},
    };
    for (const auto& [text, want] : cases) {
        ASSERT_TRUE(parse("1 5 6\r\n2 9 9\r\n3 1 1\r\n4 1 2\r\n&\r\n3 7 8\r\n").ok);
        ASSERT_TRUE(parse(text).ok) << text;
        EXPECT_EQ(rows(), want) << text;  // nothing left of the earlier parse
        EXPECT_EQ(std::make_pair(ed->CamRows[3], ed->TextOffsets[0][2]), std::make_pair(CamRow{0, 0, 0}, short{0}))
            << text;
    }
    EXPECT_EQ(ed->CamRows[1], (CamRow{2, 300, 400}));
    ASSERT_TRUE(parse("1 100 250' first\r\n2 5 6\n3 7 8&4 10 -10").ok);
    EXPECT_EQ(ed->TextOffsets[1][3], -10);
    EXPECT_TRUE(parse("1 0 4294967295\r\n", 4294967295.0).ok);
    EXPECT_EQ(ed->CamRows[0][2], 4294967295.0);
    // The first refused token: its error word, its text, where it starts, the rows read before it and
    // whether it stands among the offsets.
    const std::tuple<const char*, int, const char*, int, int, bool> rows[] = {
        {"1 10--20\r\n", 5, "-20", 5, 0, false},  // a sign only starts a number
        {"1 100 3600\r\n", 5, "3600", 6, 0, false}, {"1 -5 10\r\n", 5, "-5", 2, 0, false},
        {"1 100 200\r\n  7\r\n", 2, "7", 13, 1, false},  // Needed ON value
        {"7 100 ' no OFF\r\n", 3, "100", 2, 0, false},   // Needed OFF value
        {"1 100&\r\n", 3, "100", 2, 0, false},           // "&" ends the cam line it stands on
        {"7 100 200 300\r\n", 6, "300", 10, 0, false},   // Too much parameters
        {"17 100 200\r\n", 4, "17", 0, 0, false},        // Output does not exist
        {"0 100 200\r\n", 4, "0", 0, 0, false}, {"- 100 200\r\n", 4, "-", 0, 0, false},  // a lone sign reads as 0
        {"1 100 200\r\n2 300 4000", 5, "4000", 17, 1, false},
        {"1 1 2\r\n1 3600 2\r\n99 1 1\r\n", 5, "3600", 9, 1, false},  // stops at the first error
        {"1 1 2\r\n&\r\n2 0 1801\r\n", 7, "1801", 14, 1, true}, {"&\r\n17 0 0\r\n", 4, "17", 3, 0, true},
    };
    for (const auto& [text, word, token, start, rowsBefore, inOffsets] : rows) {
        const ParseResult p = parse(text);
        EXPECT_EQ(std::make_tuple(p.ok, p.error.word, p.error.token, p.error.tokenStart, ed->CamRowCount,
                                  p.error.inOffsets),
                  std::make_tuple(false, word, std::string(token), start, rowsBefore, inOffsets))
            << text;
    }
    ASSERT_TRUE(parse("&\r\n1 5 6 2 -7 8\r\n3 9\r\n4 10 11 16 -1800 1800\r\n").ok);
    const auto& on = ed->TextOffsets[0];
    const auto& off = ed->TextOffsets[1];
    // A short group sets the ON offset only.
    EXPECT_EQ((std::vector<int>{on[0], off[0], on[1], off[1], on[2], off[2], on[15], off[15]}),
              (std::vector<int>{5, 6, -7, 8, 9, 0, -1800, 1800}));
}

struct OffsetsFileTest : ::testing::Test {
    testing_doubles::TempHome temp;  // its folders do not exist yet
    StdFileSystem fs_;
    std::unique_ptr<EditorState> st = std::make_unique<EditorState>();
};

std::string defaultContent() {
    std::string text = "0\r\n";
    for (int i = 0; i < 16; ++i) text += "0   0   0   \r\n";
    return text;
}

// Check1, then each of the first three outputs of the panel as ticked ("x") or not, its ON and OFF box.
std::string panel(const EditorState& s) {
    std::string out = s.Check1 ? "1" : "0";
    for (int i = 0; i < 3; ++i)
        out += std::string(" ") + (s.check2[i] ? "x" : "-") + s.Text4[i] + "/" + s.Text5[i];
    return out;
}

// A missing file reads as the default and is created with the default lines; saved lines read back
// the same. Letters, blanks, "+" and line feeds are skipped; only "-" and digits make the text. A CR
// ends the line: fields not reached keep their boxes. A first line 1 leaves the boxes to the program
// text; short files read as 0.
TEST_F(OffsetsFileTest, MissingFileIsCreatedSavedLinesReadBackLoadFollowsTheReaderAndOffsetsAreTaken) {
    ASSERT_FALSE(std::filesystem::exists(std::filesystem::path(temp.home()).parent_path()));
    st->Check1 = true;
    LoadOffs(fs_, *st);  // no file at all
    EXPECT_FALSE(st->Check1);
    ensureOffsetsFile(fs_);
    EXPECT_EQ(OffsetsFilePath(), joinPath(temp.home(), "Offs.lav"));
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), defaultContent());
    fs_.writeAll(OffsetsFilePath(), "1\r\n");  // an existing file is left alone
    ensureOffsetsFile(fs_);
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), "1\r\n");
    st->Check1 = false;
    std::string expected = "0\r\n";
    for (int i = 0; i < 16; ++i) {
        st->check2[i] = i % 3 == 0;
        st->Text4[i] = std::to_string(i * 10 - 50);
        st->Text5[i] = i == 1 ? "" : std::to_string(-i);
        expected += (i % 3 == 0 ? "1\t" : "0\t") + st->Text4[i] + "\t" + st->Text5[i] + "\t\r\n";
    }
    SaveOffs(fs_, *st);
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), expected);
    auto b = std::make_unique<EditorState>();
    LoadOffs(fs_, *b);
    EXPECT_EQ(std::make_tuple(b->check2, b->Text4, b->Text5, b->ActiveOffsets[19]),
              std::make_tuple(st->check2, st->Text4, st->Text5, -3));
    st->Check1 = true;
    EXPECT_EQ(offsetsFileContent(*st).substr(0, 3), "1\r\n");

    const std::pair<const char*, const char*> rows[] = {
        {"0\r\n1\t20\t-15\t\r\n0\t5\t6\t\r\n1\t-1800\t1800\t\r\n", "0 x20/-15 -5/6 x-1800/1800"},
        {"1\r\n0\t99\t99\t\r\n", "1 xold/kept -/ -/"},
        {"", "0 xold/kept -/ -/"},
        {"0", "0 xold/kept -/ -/"},
        {"0\r\n1\t2a0\t-3 x5+\t\r\n\n 0 \t1\t2\t\r\n", "0 x20/-35 -1/2 -/"},
        {"0\r\n1\t44\r\n0\t\t9\t\r\n", "0 xold/kept -/9 -/"},
        {"0\r\n2\t1\t1\t\r\n", "0 -1/1 -/ -/"},  // a check2 field other than 1 is not ticked
    };
    for (const auto& [content, want] : rows) {
        auto s = std::make_unique<EditorState>();
        s->Check1 = s->check2[0] = true;
        s->Text4[0] = "old";
        s->Text5[0] = "kept";
        s->check2Back[0] = 1234;
        LoadOffs(*s, content);
        EXPECT_EQ(panel(*s), want) << content;
        EXPECT_EQ(s->check2Back[0] == 1234, *content == '1') << content;  // nor recoloured
    }
    LoadOffs(*st, "0\r\n1\t20\t-15\t\r\n0\t5\t6\t\r\n");
    // Not ticked: not applied.
    const auto& active = st->ActiveOffsets;
    EXPECT_EQ(std::make_tuple(active[0], active[16], active[1], active[17]), std::make_tuple(20, -15, 0, 0));
    EXPECT_EQ(std::make_tuple(st->check2Back[0], st->Text5Back[0], st->Text4Back[1]),
              std::make_tuple(kOffsetAppliedBack, kOffsetAppliedBox, 0x80000005u));
    // The default content changes no box but recolours; reading stops after the sixteenth line.
    st->Text5[4] = "-3";
    st->check2[4] = true;
    LoadOffs(*st, defaultContent());
    EXPECT_EQ(std::make_tuple(st->check2[4], st->ActiveOffsets[20], st->check2Back[4]),
              std::make_tuple(true, -3, kOffsetAppliedBack));
    std::string content = "0\r\n";
    for (int i = 0; i < 20; ++i) content += "1\t" + std::to_string(i) + "\t" + std::to_string(i) + "\t\r\n";
    LoadOffs(*st, content);
    EXPECT_EQ(st->Text4[15], "15");
    for (bool t : st->check2) EXPECT_TRUE(t);

    // Whole numbers of the boxes; offsets taken from the text or from the ticked boxes.
    const std::pair<const char*, int> numbers[] = {{" -15", -15}, {"12.6", 13}, {"7abc", 7}, {"abc", 0},
                                                   {"99999999", 32767}, {"-99999999", -32768}, {"-32769", -32768}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(wholeNumber(text), value) << text;
    // From the text the boxes follow and non-zero outputs are ticked.
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = ed->check2[1] = true;
    ed->TextOffsets[0][0] = 20;
    ed->TextOffsets[1][0] = -15;
    ed->TextOffsets[1][2] = 3;
    takeOffsets(*ed);
    EXPECT_EQ(panel(*ed), "1 x20/-15 -0/0 x0/3");
    EXPECT_EQ(std::make_tuple(ed->ActiveOffsets[16], ed->ActiveOffsets[18], ed->Text4Back[2],
                              ed->check2Back[1]),
              std::make_tuple(-15, 3, kOffsetAppliedBox, kOffsetOffBack));
    // From the boxes only ticked outputs are taken.
    ed->Check1 = false;
    ed->ActiveOffsets[1] = 44;
    ed->Text4[0] = "12";
    ed->Text5[0] = "-8";
    ed->Text4[1] = "99";
    takeOffsets(*ed);
    EXPECT_EQ((std::vector<int>{ed->ActiveOffsets[0], ed->ActiveOffsets[16], ed->ActiveOffsets[1]}),
              (std::vector<int>{12, -8, 44}));  // not ticked: kept, and not applied
    // ColoriOffs switches to the boxes; an output not ticked applies nothing.
    ed->Check1 = true;
    ed->Text5[2] = "6";
    ed->check2[0] = false;
    ColoriOffs(*ed);
    EXPECT_EQ(std::make_tuple(ed->Check1, ed->ActiveOffsets[18], ed->ActiveOffsets[0], ed->check2Back[2]),
              std::make_tuple(false, 6, 0, kOffsetAppliedBack));
}

}  // namespace
}  // namespace gyrel
