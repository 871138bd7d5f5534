#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace gyrel {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

enum class StatusLayout { A, B };
enum class DownloadKind { Standard, HighResolution, Text712 };
enum class UploadKind { None, Standard, HighResolution };
enum class GraphKind { None, BarreGraf, Barre712, BarreGraf820 };

// One column of the model table: everything that differs between models.
struct ModelInfo {
    const char* code;              // ModelType
    const char* name;              // Label4 caption
    const char* menuEntry;         // main menu item
    Rgb nameColour;
    const char* speed;             // SpeedText
    int outputs;                   // LastOutputIndex + 1
    double maxPosition;
    double stepsPerTurn;           // 0: left as it was
    double turnCount;              // 0: left as it was
    bool multiTurnDisplays;        // LblGiri / LblGiro shown
    int positionFontSize;          // FinQuota
    bool turnMarks;                // Line1(0..30), 32 divisions
    int programNumberOffset;
    const char* fileExtension;
    int rxTimeoutFactor;
    StatusLayout layout;
    bool positionInTenths;
    DownloadKind download;
    UploadKind upload;
    bool tableBuilt;
    int programFontSize;
    bool offsetsPanel;             // Frame2
    bool outputGrid712;            // Frame4
    bool multiFileBox;             // SelezMulti
    bool appendButtons;            // PulsAppend(0), PulsAppend(1)
    bool menuOrigin;               // MenuSettings
    bool menuLists;                // MenuLoadList, MenuSaveList
    bool menuUpload;               // Menuencoder
    bool menuDeskpl;               // MenuDeskpl
    bool menuGraph;                // MenEnableGraphic
    GraphKind graph;
    bool restoredAtStart;          // false: PreConf turns it into "NORM"
};

const std::array<ModelInfo, 7>& modelTable();
// The entry for a code (compared exactly); nullptr for an unknown code.
const ModelInfo* findModel(const std::string& code);
// The entry for a code, or "NORM" for an unknown one.
const ModelInfo& modelOrNorm(const std::string& code);

// The globals the model configuration writes and everything else reads.
struct ModelGlobals {
    std::string ModelType = "NORM";
    int LastOutputIndex = 15;
    double MaxPosition = 3599;
    double StepsPerTurn = 3600;
    double TurnCount = 1;
    int ProgramNumberOffset = 0;
    std::string FileExtension = "TXT";
    std::string SpeedText = "9600";
    int RxTimeoutFactor = 1;

    const ModelInfo& info() const { return modelOrNorm(ModelType); }
};

// The globals a model leaves behind, for the jobs that use a model without
// configuring the windows for it (the command line, tests).
ModelGlobals globalsOf(const ModelInfo& m);

}  // namespace gyrel
