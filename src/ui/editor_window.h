#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/context.h"
#include "editor/editor_window.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTextEdit;

namespace gyrel {

class GraphWindow;
class MultiPanelWidget;
class OriginDialogWidget;
class SerialLink;
struct EditorTransfers;

// The cam program editor window Form1: renders the editor logic's state and
// forwards every event to it. Controls carry the names of the logic
// ("ProgBox", "Text4_3" for element 3 of the Text4 array, ...).
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EditorWindow(Context& ctx, QWidget* parent = nullptr);
    ~EditorWindow() override;

    Editor& editor() { return *editor_; }

    // The transfer commands and the origin dialog, wired by whoever holds the
    // serial link. A control whose command is not wired stays disabled.
    std::function<void()> onDownload;       // Command2
    std::function<void()> onUpload;         // Menuencoder
    std::function<void()> onOriginDialog;   // MenuSettings
    GraphWindow& graphWindow() { return *graph_; }
    // Gives the editor its transfers over `link` (once): the download and its
    // buttons, the V712 row commands, the upload and the origin dialog.
    void attachLink(SerialLink& link);
    EditorTransfers* transfers() { return transfers_.get(); }
    // Draws the logic's state on the controls.
    void render();
    // A transfer started from this window is still running.
    bool transferRunning() const { return transferDepth_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void scheduleFirstResize();
    void build();
    QWidget* buildProgramFrame();
    QWidget* buildOffsetsFrame();
    QWidget* buildGridFrame();
    void buildMenus();
    void renderProgBox();
    void renderTexts();
    void focusOffsetBox();
    int offsetBoxOf(QObject* o, int& column) const;

    Context& ctx_;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<EditorTransfers> transfers_;  // goes before the editor it works on
    OriginDialogWidget* originWindow_ = nullptr;
    std::string shownLog_;
    GraphWindow* graph_ = nullptr;
    bool rendering_ = false;
    int transferDepth_ = 0;      // transfers started here still running
    bool closePending_ = false;  // a close waits for them to end
    bool closeChosen_ = false;   // the operator chose to cancel them and close
    bool offsetBusy_ = false;
    bool firstResizeScheduled_ = false;
    std::string shownText_;
    std::vector<StyledRange> shownStyles_;
    int shownFontSize_ = 0;

    QGroupBox* Frame1 = nullptr;
    QTextEdit* ProgBox = nullptr;
    QPushButton* ButtVerificaPrg = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    std::array<QLabel*, 2> Label1{};
    std::array<QCheckBox*, 16> check2{};
    std::array<QLineEdit*, 16> Text4{};
    std::array<QLineEdit*, 16> Text5{};
    QGroupBox* Frame4 = nullptr;
    std::array<QLabel*, 16> LblOut{};
    std::array<QLineEdit*, 16> TxtOFS{}, TxtCON{}, TxtCOF{};
    std::array<QPushButton*, 16> PulsInvio{}, Puls0{}, Puls1{};
    QPushButton* CmdDFT = nullptr;
    QPushButton* CmdRST = nullptr;
    std::array<QPushButton*, 2> PulsAppend{};
    MultiPanelWidget* Frame3 = nullptr;
    QCheckBox* SelezMulti = nullptr;
    QGroupBox* Frame5 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command5 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label4 = nullptr;

    QMenu* MenuFile = nullptr;
    QMenu* MenuShow = nullptr;
    QMenu* MenuImport = nullptr;
    QAction* MenuLoadProgram = nullptr;
    QAction* MenuSaveProgram = nullptr;
    QAction* MenuLoadList = nullptr;
    QAction* MenuSaveList = nullptr;
    QAction* MenuDeskpl = nullptr;
    QAction* Menuencoder = nullptr;
    QAction* Exit = nullptr;
    QAction* MenEnableGraphic = nullptr;
    QAction* MenuSettings = nullptr;
};

// The main window's Communications item: creates the editor on first use,
// places it beside the main window, applies the language, shows it and checks
// its program (Leggi712 on "V712", else LeggiLav with slot 16). `wire` runs once
// on a new editor, for the links the logic needs (the port release).
EditorWindow* openEditor(Context& ctx, QWidget* mainWindow, const std::function<void(Editor&)>& wire = {});
// The editor window if it is open, else nullptr.
EditorWindow* currentEditor();

}  // namespace gyrel
