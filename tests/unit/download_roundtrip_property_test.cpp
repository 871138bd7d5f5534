// What prepare shows is what the device stores and what reads back: seeded
// random program texts through `prepare`, `download --verify` and the
// simulated device, and the editor's graph table against its own download.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "cli/program_check.h"
#include "device/editor_transfers.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

// A program text as people and older tools write them: blanks or tabs between
// the numbers, comments, empty lines, an offsets section, CR LF or bare LF,
// and sometimes no line end after the last line.
std::string randomProgram(std::mt19937& rng, int outputs, std::uint32_t maxPosition) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string eol = pick(0, 1) ? "\r\n" : "\n";
    const char* seps[] = {" ", "\t", "  ", " \t"};
    auto sep = [&] { return std::string(seps[pick(0, 3)]); };
    std::string text;
    if (pick(0, 2) == 0) text += "' program " + std::to_string(pick(1, 99)) + eol;
    const int rows = pick(0, 5);
    for (int r = 0; r < rows; ++r) {
        if (pick(0, 4) == 0) text += eol;
        const std::uint32_t on = std::uniform_int_distribution<std::uint32_t>(1, maxPosition - 1)(rng);
        std::uint32_t off = std::uniform_int_distribution<std::uint32_t>(1, maxPosition - 1)(rng);
        if (off == on) off = on + 1;
        text += std::to_string(pick(1, outputs)) + sep() + std::to_string(on) + sep() + std::to_string(off);
        if (pick(0, 3) == 0) text += sep() + "' row " + std::to_string(r);
        text += eol;
    }
    if (pick(0, 2) == 0) {
        text += "&" + eol;
        for (int g = pick(1, 3); g > 0; --g)
            text += std::to_string(pick(1, outputs)) + sep() + std::to_string(pick(-40, 40)) + sep() +
                    std::to_string(pick(-40, 40)) + eol;
    }
    if (pick(0, 1) == 0) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    }
    return text;
}

// The "POSITION MASK" lines of gyrel-cli prepare as the device stores them;
// an empty program is stored as one entry with every output off.
sim::CamTable preparedTable(const std::string& out) {
    std::istringstream in(out);
    std::string header;  // "CamCount n"
    std::getline(in, header);
    sim::CamTable t;
    std::uint32_t p = 0, m = 0;
    while (in >> p >> m) t.push_back({p, m});
    if (t.empty()) t.push_back({0, 0});
    return t;
}

class DownloadRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(DownloadRoundTrip, PreparedTableIsStoredAndReadBackForRandomTexts) {
    const std::string model = GetParam();
    const ModelInfo& info = *findModel(model);
    clitest::CliRig r(model);
    std::mt19937 rng(20261206);
    int sent = 0;
    for (int i = 0; i < 120; ++i) {
        const std::string text = randomProgram(rng, info.outputs, static_cast<std::uint32_t>(info.maxPosition));
        const std::string f = r.file("p.txt", text);
        if (r.run({"prepare", "--model", model, f}) != 0) continue;  // overlapping rows: refused alike below
        const sim::CamTable expected = preparedTable(r.out.str());
        const int slot = 1 + i % 16;
        r.device.clearProgram(slot - 1);
        ASSERT_EQ(r.run({"download", "--model", model, "--port", "p", "--slot", std::to_string(slot), "--yes",
                         "--verify", f}),
                  0)
            << text << "\n" << r.err.str();
        ASSERT_EQ(r.device.program(slot - 1), expected) << text;
        ++sent;
    }
    EXPECT_GE(sent, 60);
}

INSTANTIATE_TEST_SUITE_P(Models, DownloadRoundTrip, ::testing::Values("KMT71", "V820AX"));

// The editor: the table behind the graph is the one its download stores.
TEST(DownloadRoundTrip, TheEditorSendsTheTableItsGraphShows) {
    xfertest::Rig r("KMT71");
    Editor editor(r.ctx);
    EditorTransfers transfers(r.ctx, r.link, editor);
    editor.st.ResizeSeen = 1;
    editor.st.graphVisible = true;
    auto tableOf = [](const CamTable& t) {
        sim::CamTable out;
        for (int k = 0; k < t.storedCount(); ++k) out.push_back({t.position(k), t.mask(k)});
        if (out.empty()) out.push_back({0, 0});
        return out;
    };
    std::mt19937 rng(7);
    int sent = 0;
    for (int i = 0; i < 40; ++i) {
        const std::string written = randomProgram(rng, 8, 1048575);
        editor.st.ProgBox = written;
        r.op.boxes.clear();
        // The check the editor runs with the graph shown, then the graph's table.
        if (!editor.leggiLav(99) || !r.op.boxes.empty()) continue;
        const sim::CamTable graph = tableOf(editor.st.camTable);
        // ... which is the text's own table, as gyrel-cli prepare shows it.
        EXPECT_EQ(graph, tableOf(cli::checkProgramText("KMT71", "EN", written, r.clock).table)) << written;
        editor.st.ProgramIndex = i % 16;
        transfers.dl.Command2();
        ASSERT_EQ(transfers.dl.lastOutcome, DownloadCommand::Outcome::Sent) << editor.st.ProgBox;
        EXPECT_EQ(r.device.program(i % 16), graph) << editor.st.ProgBox;
        ++sent;
    }
    EXPECT_GE(sent, 10);
}

}  // namespace
}  // namespace gyrel
