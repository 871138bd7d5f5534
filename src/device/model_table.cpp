#include "device/model_table.h"

namespace gyrel {

namespace {
using D = DownloadKind;
using U = UploadKind;
using G = GraphKind;
using L = StatusLayout;

// clang-format off
const std::array<ModelInfo, 7> kModels = {{
//  code      name        menu            colour         speed     out max          steps  turns   multi font marks pno ext    rx   layout tenths download     upload  table pfont offs  grid  multi append origin lists upload deskpl graph   graph           restored
  {"NORM",   "KRT71",    "MenuNewModel", {0, 128, 0},   "9600",   16, 3599.0,       0,     0,      false, 48, false, 0, "TXT", 1,   L::B, true,  D::Standard, U::None, true, 11,  true, false, true, false, false, true, false, true,  true,  G::BarreGraf, true},
  {"OLD",    "KRT 5",    "MenuOldModel", {255, 0, 5},   "9600",   16, 3599.0,       0,     0,      false, 48, false, 1, "TXT", 1,   L::B, true,  D::Standard, U::None, true, 11,  true, false, true, false, false, true, false, true,  true,  G::BarreGraf, true},
  {"V712",   "V 712",    "MenuV712",     {255, 80, 0},  "9600",   16, 3599.0,       0,     0,      false, 48, false, 0, "712", 100, L::B, true,  D::Text712,  U::None, false, 8,  false, true, false, true, false, false, false, true, true,  G::Barre712, true},
  {"V820AX", "AX /V820", "MenuV820AX",   {192, 0, 192}, "9600",   8,  16383.0,      512,   0,      true,  48, true,  0, "820", 1,   L::B, false, D::Standard, U::Standard, true, 11, true, false, true, false, false, true, true, false, false, G::BarreGraf820, true},
  {"V820HX", "HX /V820", "MenuV820HX",   {0, 128, 128}, "115200", 8,  1048575.0,    4096,  256,    true,  40, false, 1, "820", 1,   L::A, false, D::HighResolution, U::HighResolution, true, 9, true, false, true, false, true, true, true, false, false, G::None, true},
  {"KMT71",  "KMT71",    "MenuKMT71",    {0, 128, 128}, "115200", 8,  1048575.0,    4096,  256,    true,  40, false, 1, "KVX", 1,   L::A, false, D::HighResolution, U::HighResolution, true, 9, true, false, true, false, true, true, true, false, false, G::None, true},
  {"Px71",   "Px71",     "MenuPx71",     {0, 128, 255}, "115200", 16, 4294967295.0, 8192,  524288, true,  28, false, 0, "PHX", 1,   L::B, true,  D::HighResolution, U::HighResolution, true, 11, true, false, true, false, true, true, true, false, false, G::None, false},
}};
// clang-format on
}  // namespace

const std::array<ModelInfo, 7>& modelTable() { return kModels; }

const ModelInfo* findModel(const std::string& code) {
    for (const auto& m : kModels)
        if (code == m.code) return &m;
    return nullptr;
}

const ModelInfo& modelOrNorm(const std::string& code) {
    const ModelInfo* m = findModel(code);
    return m ? *m : kModels[0];
}

ModelGlobals globalsOf(const ModelInfo& m) {
    ModelGlobals g;
    g.ModelType = m.code;
    g.LastOutputIndex = m.outputs - 1;
    g.MaxPosition = m.maxPosition;
    if (m.stepsPerTurn > 0) g.StepsPerTurn = m.stepsPerTurn;
    if (m.turnCount > 0) g.TurnCount = m.turnCount;
    g.ProgramNumberOffset = m.programNumberOffset;
    g.FileExtension = m.fileExtension;
    g.SpeedText = m.speed;
    g.RxTimeoutFactor = m.rxTimeoutFactor;
    return g;
}

}  // namespace gyrel
