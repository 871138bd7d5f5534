#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "download_fixture.h"
#include "editor/prepare.h"

namespace gyrel {
namespace {

using xfertest::Rig;

// A random program of whole cams: per output up to three cams on distinct
// positions, some wrapping through the end of the turn, some outputs always ON.
std::vector<CamRow> randomProgram(std::mt19937& rng, int outputs, double maxPosition) {
    std::vector<CamRow> rows;
    std::uniform_real_distribution<double> anywhere(0, maxPosition);
    for (int o = 1; o <= outputs; ++o) {
        const int cams = static_cast<int>(rng() % 4);
        if (cams == 0 && rng() % 5 == 0) {
            rows.push_back({static_cast<double>(o), 1, 1});
            continue;
        }
        std::vector<double> edges;
        while (static_cast<int>(edges.size()) < 2 * cams) {
            const double p = std::floor(anywhere(rng));
            if (std::find(edges.begin(), edges.end(), p) == edges.end()) edges.push_back(p);
        }
        std::sort(edges.begin(), edges.end());
        if (cams > 0 && rng() % 2) std::rotate(edges.begin(), edges.begin() + 1, edges.end());  // wrap
        for (int c = 0; c < cams; ++c) rows.push_back({static_cast<double>(o), edges[2 * c], edges[2 * c + 1]});
    }
    return rows;
}

void roundTrip(const std::string& model, int seeds) {
    Rig r(model);
    const int outputs = r.ctx.model.LastOutputIndex + 1;
    const double max = r.ctx.model.MaxPosition;
    const bool wide = model != "V820AX";
    for (int seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE(model + " seed " + std::to_string(seed));
        std::mt19937 rng(static_cast<unsigned>(seed));
        const std::vector<CamRow> program = randomProgram(rng, outputs, max);
        CamTable prepared;
        prepared.CamCount = buildCamTable(program.data(), static_cast<int>(program.size()), max, prepared);
        r.ed.camTable = prepared;
        r.ed.ProgramIndex = static_cast<int>(rng() % 16);
        const int slot = r.ed.ProgramIndex;
        ASSERT_TRUE(r.link.apri_com(UserEditor));
        ASSERT_FALSE(wide ? r.download.sender.PreparaTxHiRes() : r.download.sender.PreparaTx());
        r.link.chiudi_com(UserEditor);
        r.ed.ProgramIndex = -1;
        ASSERT_EQ(r.upload.ImportaEncoder(slot), 1);
        EXPECT_EQ(r.ed.ProgramIndex, slot);

        auto rebuilt = rebuildRows(r.upload.Imported, static_cast<int>(r.ed.camTable.CamCount));
        ASSERT_TRUE(rebuilt.has_value());
        std::vector<CamRow> rows;
        for (const RebuiltRow& row : *rebuilt) rows.push_back({static_cast<double>(row.output), row.on, row.off});
        CamTable again;
        again.CamCount = buildCamTable(rows.data(), static_cast<int>(rows.size()), max, again);
        ASSERT_EQ(again.CamCount, prepared.CamCount);
        for (int i = 0; i < prepared.storedCount(); ++i) {
            EXPECT_EQ(again.position(i), prepared.position(i)) << "entry " << i;
            EXPECT_EQ(again.mask(i), prepared.mask(i)) << "entry " << i;
        }
    }
}

TEST(RoundTrip, StandardModelGivesTheSameTableBack) { roundTrip("V820AX", 40); }
TEST(RoundTrip, HighResolutionModelGivesTheSameTableBack) { roundTrip("KMT71", 40); }
TEST(RoundTrip, WidestModelGivesTheSameTableBack) { roundTrip("Px71", 25); }

}  // namespace
}  // namespace gyrel
