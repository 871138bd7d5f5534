#include "ui/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "device/editor_transfers.h"
#include "platform/cp1252.h"
#include "ui/editor_text.h"
#include "ui/graph_window.h"
#include "ui/multi_panel.h"
#include "ui/origin_dialog.h"

namespace gyrel {

namespace {

// Counts a transfer started from this window for as long as it runs.
struct Running {
    explicit Running(int& depth) : depth_(depth) { ++depth_; }
    ~Running() { --depth_; }
    int& depth_;
};

constexpr int kCloseRetryMs = 50;

QPointer<EditorWindow> g_editor;

std::string fromBox(const QString& text) { return utf8ToCp1252(text.toStdString()); }
QString toBox(const std::string& bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

QString indexed(const char* name, int i) { return QString("%1_%2").arg(name).arg(i); }

}  // namespace

EditorWindow::EditorWindow(Context& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
    setObjectName("Form1");
    editor_ = std::make_unique<Editor>(ctx_);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        editor_->workAreaHeight = screen->availableGeometry().height() * 15.0;
    build();
    graph_ = new GraphWindow(*editor_, ctx_, this);
    editor_->refresh = [this] {
        render();
        graph_->render();
    };
    editor_->load();
    render();
}

EditorWindow::~EditorWindow() {
    // The origin window draws the transfers' dialog, and they work on the editor.
    delete originWindow_;
    originWindow_ = nullptr;
    transfers_.reset();
    editor_->refresh = nullptr;
    // The graph and the slot boxes work on the editor as well, and a slot box that
    // loses the focus while the window comes down checks its file: both go first.
    delete graph_;
    graph_ = nullptr;
    delete Frame3;
    Frame3 = nullptr;
}

void EditorWindow::attachLink(SerialLink& link) {
    if (transfers_) return;
    transfers_ = std::make_unique<EditorTransfers>(ctx_, link, *editor_);
    originWindow_ = new OriginDialogWidget(ctx_, transfers_->origin, this);
    onDownload = [this] { transfers_->dl.Command2(); };
    onUpload = [this] { transfers_->upload(); };
    onOriginDialog = [this] {
        originWindow_->relabel();
        originWindow_->show();
        originWindow_->raise();
    };
    render();
}

void EditorWindow::build() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->addWidget(buildProgramFrame(), 0, 0, 2, 1);
    grid->addWidget(buildOffsetsFrame(), 0, 1);
    grid->addWidget(buildGridFrame(), 1, 1);

    auto* bottom = new QHBoxLayout;
    VScroll1 = new QScrollBar(Qt::Horizontal, central);
    VScroll1->setObjectName("VScroll1");
    VScroll1->setRange(1, 16);
    VScroll1->setPageStep(1);
    Text1 = new QLineEdit(central);
    Text1->setObjectName("Text1");
    Text1->setMaximumWidth(50);
    Command2 = new QPushButton(central);
    Command2->setObjectName("Command2");
    SelezMulti = new QCheckBox(central);
    SelezMulti->setObjectName("SelezMulti");
    bottom->addWidget(VScroll1, 1);
    bottom->addWidget(Text1);
    bottom->addWidget(SelezMulti);
    bottom->addWidget(Command2, 2);
    grid->addLayout(bottom, 2, 0, 1, 2);

    Frame3 = new MultiPanelWidget(editor_->multi, ctx_, central);
    Frame3->onChanged = [this] { render(); };
    grid->addWidget(Frame3, 3, 0, 1, 2);
    Frame5 = new QGroupBox("errors", central);
    Frame5->setObjectName("Frame5");
    auto* logLayout = new QVBoxLayout(Frame5);
    Text2 = new QPlainTextEdit(Frame5);
    Text2->setObjectName("Text2");
    Text2->setReadOnly(true);
    Text2->setMaximumHeight(90);
    Command1 = new QPushButton("Clear", Frame5);
    Command1->setObjectName("Command1");
    logLayout->addWidget(Text2);
    logLayout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (transfers_) transfers_->dl.Command1();
        render();
    });
    grid->addWidget(Frame5, 4, 0, 1, 2);
    setCentralWidget(central);

    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) {
        if (rendering_) return;
        editor_->VScroll1Change(v);
        render();
    });
    connect(Text1, &QLineEdit::textEdited, this, [this](const QString& t) {
        editor_->Text1Change(fromBox(t));
        render();
    });
    // Transfers work once the holder of the link attached them.
    Command2->setEnabled(false);
    connect(Command2, &QPushButton::clicked, this, [this] {
        const Running running(transferDepth_);
        if (onDownload) onDownload();
        render();
    });
    connect(SelezMulti, &QCheckBox::clicked, this, [this](bool on) {
        editor_->multi.SelezMultiReleased(on);
        render();
    });
    buildMenus();
}

QWidget* EditorWindow::buildProgramFrame() {
    Frame1 = new QGroupBox("Program", this);
    Frame1->setObjectName("Frame1");
    auto* layout = new QVBoxLayout(Frame1);
    ProgBox = new QTextEdit(Frame1);
    ProgBox->setObjectName("ProgBox");
    ProgBox->setAcceptRichText(false);
    ProgBox->setLineWrapMode(QTextEdit::NoWrap);
    ProgBox->installEventFilter(this);
    ButtVerificaPrg = new QPushButton("Verify", Frame1);
    ButtVerificaPrg->setObjectName("ButtVerificaPrg");
    layout->addWidget(ProgBox, 1);
    layout->addWidget(ButtVerificaPrg);
    connect(ProgBox, &QTextEdit::textChanged, this, [this] {
        if (rendering_) return;
        editor_->progBoxChange(programTextFromDisplay(ProgBox->toPlainText()));
        shownText_ = editor_->st.ProgBox;
        // An emptied box would type on in the style of the text that was deleted
        // (a comment's, when it began with one): it types in the program style.
        if (ProgBox->document()->isEmpty()) {
            QTextCharFormat f;
            f.setForeground(QColor(0, 0, 0));
            f.setFontPointSize(ctx_.model.info().programFontSize);
            f.setFontWeight(QFont::Normal);
            f.setFontItalic(false);
            ProgBox->setCurrentCharFormat(f);
        }
    });
    connect(ButtVerificaPrg, &QPushButton::clicked, this, [this] {
        editor_->ButtVerificaPrg();
        render();
    });
    return Frame1;
}

QWidget* EditorWindow::buildOffsetsFrame() {
    Frame2 = new QGroupBox("Offsets", this);
    Frame2->setObjectName("Frame2");
    auto* grid = new QGridLayout(Frame2);
    grid->setVerticalSpacing(1);
    Check1 = new QCheckBox("Sinchronize", Frame2);
    Check1->setObjectName("Check1");
    Option1 = new QRadioButton("All", Frame2);
    Option1->setObjectName("Option1");
    Option2 = new QRadioButton("All", Frame2);
    Option2->setObjectName("Option2");
    Option1->setAutoExclusive(false);
    Option2->setAutoExclusive(false);
    grid->addWidget(Check1, 0, 0, 1, 3);
    grid->addWidget(Option1, 1, 0, 1, 3);
    grid->addWidget(Option2, 2, 0, 1, 3);
    for (int k = 0; k < 2; ++k) {
        Label1[k] = new QLabel(Frame2);
        Label1[k]->setObjectName(indexed("Label1", k));
        grid->addWidget(Label1[k], 3, k + 1);
    }
    for (int i = 0; i < 16; ++i) {
        check2[i] = new QCheckBox(QString::number(i + 1), Frame2);
        check2[i]->setObjectName(indexed("check2", i));
        check2[i]->setAutoFillBackground(true);
        Text4[i] = new QLineEdit(Frame2);
        Text4[i]->setObjectName(indexed("Text4", i));
        Text5[i] = new QLineEdit(Frame2);
        Text5[i]->setObjectName(indexed("Text5", i));
        for (QLineEdit* box : {Text4[i], Text5[i]}) {
            box->setMaximumWidth(60);
            box->installEventFilter(this);
        }
        grid->addWidget(check2[i], 4 + i, 0);
        grid->addWidget(Text4[i], 4 + i, 1);
        grid->addWidget(Text5[i], 4 + i, 2);
        connect(check2[i], &QCheckBox::clicked, this, [this, i](bool on) {
            editor_->check2MouseUp(i, on);
            render();
        });
        connect(Text4[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { editor_->st.Text4[i] = fromBox(t); });
        connect(Text5[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { editor_->st.Text5[i] = fromBox(t); });
    }
    Command5 = new QPushButton("Append--->", Frame2);
    Command5->setObjectName("Command5");
    Command5->setEnabled(false);
    grid->addWidget(Command5, 20, 0, 1, 3);
    connect(Command5, &QPushButton::clicked, this, [this] {
        if (transfers_) transfers_->dl.Command5();
        render();
    });
    connect(Check1, &QCheckBox::clicked, this, [this](bool on) {
        editor_->Check1MouseUp(on);
        render();
    });
    connect(Option1, &QRadioButton::clicked, this, [this] {
        editor_->Option1Click();
        render();
    });
    connect(Option2, &QRadioButton::clicked, this, [this] {
        editor_->Option2Click();
        render();
    });
    return Frame2;
}

QWidget* EditorWindow::buildGridFrame() {
    Frame4 = new QGroupBox("712", this);
    Frame4->setObjectName("Frame4");
    auto* grid = new QGridLayout(Frame4);
    grid->setVerticalSpacing(1);
    grid->addWidget(new QLabel("offset", Frame4), 0, 1);
    grid->addWidget(new QLabel("camON", Frame4), 0, 2);
    grid->addWidget(new QLabel("camOFF", Frame4), 0, 3);
    for (int i = 0; i < 16; ++i) {
        LblOut[i] = new QLabel(QString::number(i + 1), Frame4);
        LblOut[i]->setObjectName(indexed("LblOut", i));
        TxtOFS[i] = new QLineEdit(Frame4);
        TxtOFS[i]->setObjectName(indexed("TxtOFS", i));
        TxtCON[i] = new QLineEdit(Frame4);
        TxtCON[i]->setObjectName(indexed("TxtCON", i));
        TxtCOF[i] = new QLineEdit(Frame4);
        TxtCOF[i]->setObjectName(indexed("TxtCOF", i));
        PulsInvio[i] = new QPushButton(Frame4);
        PulsInvio[i]->setObjectName(indexed("PulsInvio", i));
        PulsInvio[i]->setEnabled(false);  // until the link is attached
        Puls0[i] = new QPushButton("0", Frame4);
        Puls0[i]->setObjectName(indexed("Puls0", i));
        Puls1[i] = new QPushButton("1", Frame4);
        Puls1[i]->setObjectName(indexed("Puls1", i));
        const int row = i + 1;
        grid->addWidget(LblOut[i], row, 0);
        grid->addWidget(TxtOFS[i], row, 1);
        grid->addWidget(TxtCON[i], row, 2);
        grid->addWidget(TxtCOF[i], row, 3);
        grid->addWidget(PulsInvio[i], row, 4);
        grid->addWidget(Puls0[i], row, 5);
        grid->addWidget(Puls1[i], row, 6);
        connect(TxtOFS[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { editor_->view.TxtOFS[i] = fromBox(t); });
        connect(TxtCON[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { editor_->view.TxtCON[i] = fromBox(t); });
        connect(TxtCOF[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { editor_->view.TxtCOF[i] = fromBox(t); });
        connect(PulsInvio[i], &QPushButton::clicked, this, [this, i] {
            if (!transfers_) return;
            const Running running(transferDepth_);
            const EditorView& v = editor_->view;
            transfers_->dl.text712.PulsInvio(i, v.Text1, v.TxtOFS[i], v.TxtCON[i], v.TxtCOF[i],
                                             fromBox(PulsInvio[i]->text()));
            render();
        });
        connect(Puls0[i], &QPushButton::clicked, this, [this, i] { editor_->Puls0(i); render(); });
        connect(Puls1[i], &QPushButton::clicked, this, [this, i] { editor_->Puls1(i); render(); });
    }
    CmdDFT = new QPushButton("DFT", Frame4);
    CmdDFT->setObjectName("CmdDFT");
    CmdRST = new QPushButton("RST", Frame4);
    CmdRST->setObjectName("CmdRST");
    CmdDFT->setEnabled(false);
    CmdRST->setEnabled(false);
    connect(CmdDFT, &QPushButton::clicked, this, [this] {
        const Running running(transferDepth_);
        if (transfers_) transfers_->dl.text712.CmdDFT(editor_->view.Text1);
        render();
    });
    connect(CmdRST, &QPushButton::clicked, this, [this] {
        const Running running(transferDepth_);
        if (transfers_) transfers_->dl.text712.CmdRST(editor_->view.Text1);
        render();
    });
    grid->addWidget(CmdDFT, 17, 1, 1, 2);
    grid->addWidget(CmdRST, 17, 3, 1, 2);
    for (int k = 0; k < 2; ++k) {
        PulsAppend[k] = new QPushButton(Frame4);
        PulsAppend[k]->setObjectName(indexed("PulsAppend", k));
        connect(PulsAppend[k], &QPushButton::clicked, this, [this, k] {
            editor_->PulsAppend(k);
            render();
        });
        grid->addWidget(PulsAppend[k], 18, 1 + 2 * k, 1, 2);
    }
    return Frame4;
}

void EditorWindow::buildMenus() {
    MenuFile = menuBar()->addMenu("&File");
    MenuFile->setObjectName("MenuFile");
    MenuLoadProgram = MenuFile->addAction("Load progr.");
    MenuLoadProgram->setObjectName("MenuLoadProgram");
    MenuSaveProgram = MenuFile->addAction("Save progr.");
    MenuSaveProgram->setObjectName("MenuSaveProgram");
    MenuFile->addSeparator();
    MenuLoadList = MenuFile->addAction("Load list");
    MenuLoadList->setObjectName("MenuLoadList");
    MenuSaveList = MenuFile->addAction("Save list");
    MenuSaveList->setObjectName("MenuSaveList");
    MenuImport = MenuFile->addMenu("Import");
    MenuImport->setObjectName("MenuImport");
    MenuDeskpl = MenuImport->addAction("From DESKPL");
    MenuDeskpl->setObjectName("MenuDeskpl");
    Menuencoder = MenuImport->addAction("From ENCODER");
    Menuencoder->setObjectName("Menuencoder");
    MenuFile->addSeparator();
    Exit = MenuFile->addAction("Exit");
    Exit->setObjectName("Exit");
    MenuShow = menuBar()->addMenu("Tools");
    MenuShow->setObjectName("MenuShow");
    MenEnableGraphic = MenuShow->addAction("Display graphics");
    MenEnableGraphic->setObjectName("MenEnableGraphic");
    MenEnableGraphic->setCheckable(true);
    MenuSettings = menuBar()->addAction("Settings");
    MenuSettings->setObjectName("MenuSettings");

    connect(MenuLoadProgram, &QAction::triggered, this, [this] {
        editor_->MenuLoadProgram();
        render();
    });
    connect(MenuSaveProgram, &QAction::triggered, this, [this] {
        editor_->MenuSaveProgram();
        render();
    });
    connect(MenuLoadList, &QAction::triggered, this, [this] {
        editor_->multi.MenuLoadList();
        render();
    });
    connect(MenuSaveList, &QAction::triggered, this, [this] {
        editor_->multi.MenuSaveList();
        render();
    });
    connect(MenuDeskpl, &QAction::triggered, this, [this] {
        editor_->multi.MenuDeskpl();
        render();
    });
    connect(Menuencoder, &QAction::triggered, this, [this] {
        const Running running(transferDepth_);
        if (onUpload) onUpload();
        render();
    });
    connect(MenuSettings, &QAction::triggered, this, [this] {
        if (onOriginDialog) onOriginDialog();
        render();
    });
    connect(Exit, &QAction::triggered, this, [this] { close(); });
    connect(MenEnableGraphic, &QAction::triggered, this, [this] {
        editor_->MenEnableGraphic();
        render();
        graph_->render();
    });
}

// The first layout of the shown window runs once, after the event that brought it.
void EditorWindow::scheduleFirstResize() {
    if (editor_->st.ResizeSeen != 0 || firstResizeScheduled_) return;
    firstResizeScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        editor_->firstResize();
        render();
    });
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible()) scheduleFirstResize();
}

void EditorWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    scheduleFirstResize();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // A transfer waits with this window's logic on its stack: freeing it now
    // would pull that from under it. The operator chooses: the transfer is
    // cancelled and the window closes once it has unwound, or it goes on.
    if (transferDepth_ > 0 || ctx_.EditorBusy || ctx_.lineClaimed()) {
        event->ignore();
        if (!closeChosen_) {
            const int answer = ctx_.svc.op.messageBox(ctx_.texts->closeDuringTransfer, MsgButtons::YesNo,
                                                      MsgIcon::Question, windowTitle().toStdString());
            if (answer != AnswerYes) return;
            closeChosen_ = true;
        }
        ctx_.CancelRequested = true;
        if (!closePending_) {
            closePending_ = true;
            QTimer::singleShot(kCloseRetryMs, this, [this] {
                closePending_ = false;
                close();
            });
        }
        return;
    }
    closeChosen_ = false;
    editor_->queryUnload();
    editor_->unload();
    graph_->hide();
    event->accept();
    deleteLater();
}

int EditorWindow::offsetBoxOf(QObject* o, int& column) const {
    for (int i = 0; i < 16; ++i) {
        if (o == Text4[i]) return column = 0, i;
        if (o == Text5[i]) return column = 1, i;
    }
    return -1;
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == ProgBox && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = windowsKeyCode(key->key(), key->text());
        if (type == QEvent::KeyPress) {
            const int caret = byteIndexOf(editor_->st.ProgBox, ProgBox->textCursor().position());
            editor_->progBoxKeyDown(code, caret);
        } else if (!key->isAutoRepeat()) {
            editor_->progBoxKeyUp(code);
        }
        render();
        return false;
    }
    int column = 0;
    const int i = offsetBoxOf(watched, column);
    if (i >= 0 && type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = windowsKeyCode(key->key(), key->text());
        offsetBusy_ = true;
        editor_->offsetKey(column, i, code);
        offsetBusy_ = false;
        render();
        focusOffsetBox();
        return code == KeyEnter || code == KeyUp || code == KeyDown;
    }
    if (i >= 0 && type == QEvent::FocusOut && !offsetBusy_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        offsetBusy_ = true;
        const bool ok = editor_->offsetLostFocus(column, i);
        offsetBusy_ = false;
        if (!ok) QTimer::singleShot(0, this, [this] { focusOffsetBox(); });
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::focusOffsetBox() {
    EditorView& v = editor_->view;
    if (v.focusIndex < 0 || v.focusIndex > 15) return;
    QLineEdit* box = v.focusColumn == 0 ? Text4[v.focusIndex] : Text5[v.focusIndex];
    v.focusIndex = -1;
    if (box->isEnabled()) box->setFocus(Qt::OtherFocusReason);
}

// The places the main window's Communications item opens the editor at.
EditorWindow* openEditor(Context& ctx, QWidget* mainWindow, const std::function<void(Editor&)>& wire) {
    if (!g_editor) {
        g_editor = new EditorWindow(ctx);
        if (wire) wire(g_editor->editor());
    }
    EditorWindow* w = g_editor;
    QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size = w->sizeHint().expandedTo(w->size());
        const int left = mainWindow ? mainWindow->frameGeometry().right() + 4 : area.left();
        const int top = area.bottom() - size.height() - 8;  // 120 twips above the work area's end
        w->move(std::max(area.left(), std::min(left, area.right() - size.width())), std::max(area.top(), top));
    }
    ctx.applyLanguage(ctx.LanguageCode);
    w->show();
    w->raise();
    Editor& ed = w->editor();
    ed.view.visible = true;
    w->render();
    // Shown means laid out too: the first layout's notice comes before the check.
    auto* box = w->findChild<QTextEdit*>("ProgBox");
    ctx.svc.clock.waitUntil([box, &ed] { return box && box->isVisible() && ed.st.ResizeSeen != 0; }, 5000);
    if (ctx.model.ModelType == "V712")
        ed.leggi712();
    else
        ed.leggiLav(16);
    w->render();
    return w;
}

EditorWindow* currentEditor() { return g_editor; }

}  // namespace gyrel
