#include "ui/mainform.h"


#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/shape_widget.h"
#include "ui/ui_util.h"

namespace gyrel::ui {
namespace {

constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kOutputOn{0, 176, 0};
constexpr int kWidth = 456;
constexpr int kHeight = 262;
constexpr int kTurnFontSize = 16;

// Turns a twips x of the window into a pixel x inside the bar frame.
int markX(int twips, int frameLeft) { return px(twips - frameLeft); }

}  // namespace

const std::array<const char*, 7>& Mainform::modelMenuNames() {
    static const std::array<const char*, 7> kNames = {"MenuNewModel", "MenuKMT71",  "MenuOldModel", "MenuV712",
                                                      "MenuPx71",     "MenuV820AX", "MenuV820HX"};
    return kNames;
}

Mainform::Mainform(Context& ctx, Actions actions, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), actions_(std::move(actions)) {
    setObjectName("Mainform");
    buildMenus();
    buildDisplay();
    setMinimumSize(kWidth, kHeight + menuBar()->sizeHint().height());
    refresh();
}

QAction* Mainform::addItem(QMenu* menu, const char* name, const char* caption, std::function<void()> handler) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] {
            handler();
            redraw();
        });
    else
        a->setEnabled(false);
    return a;
}

QAction* Mainform::action(const char* objectName) const { return findChild<QAction*>(objectName); }

void Mainform::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File");
    addItem(file, "Exit", "E&xit", [this] { close(); });

    toolsMenu_ = menuBar()->addMenu("&Tools");
    toolsMenu_->setObjectName("Tools");
    addItem(toolsMenu_, "Communications", "&Communications", actions_.communications);
    toolsMenu_->addSeparator()->setObjectName("Barra4");
    toolsMenu_->addSeparator()->setObjectName("Barra5");
    addItem(toolsMenu_, "TestEncoder", "&Test Pos", actions_.testEncoder)->setCheckable(true);

    settingsMenu_ = menuBar()->addMenu("&Settings");
    settingsMenu_->setObjectName("Settings");
    modelMenu_ = settingsMenu_->addMenu("&Model");
    modelMenu_->setObjectName("MenuModel");
    const char* captions[] = {"KRT&71", "K&MT71", "KRT&5", "&V712", "P&x71", "&AX  /V820", "&HX  /V820"};
    for (int i = 0; i < 7; ++i) {
        std::function<void()> h;
        if (actions_.model) h = [this, i] { actions_.model(i); };
        addItem(modelMenu_, modelMenuNames()[static_cast<std::size_t>(i)], captions[i], h);
        if (i == 1) modelMenu_->addSeparator()->setObjectName("Barra6");
    }
    settingsMenu_->addSeparator()->setObjectName("barra1");
    QMenu* language = settingsMenu_->addMenu("&Language");
    language->setObjectName("Language");
    const char* names[] = {"Italiano", "Inglese", "Tedesco", "Francese"};
    const char* langCaptions[] = {"&Italiano", "&English", "&Deutsch", "&Fran\xC3\xA7" "ais"};
    static const char* codes[] = {"IT", "EN", "DE", "FR"};
    for (int i = 0; i < 4; ++i) {
        std::function<void()> h;
        if (actions_.language) h = [this, i] { actions_.language(codes[i]); };
        addItem(language, names[i], langCaptions[i], h);
    }
    addItem(settingsMenu_, "Seriale", "&Serial line", actions_.seriale);
    settingsMenu_->addSeparator()->setObjectName("barra2");
    addItem(settingsMenu_, "Filter", "&Filter", actions_.filter);
    settingsMenu_->addSeparator()->setObjectName("Barra3");
    addItem(settingsMenu_, "EnbEcon", "Enable ECON", actions_.enbEcon)->setCheckable(true);
    addItem(settingsMenu_, "info", "&Info", actions_.info);
}

void Mainform::buildDisplay() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    setBackground(central, kLightGrey);
    auto* top = new QVBoxLayout(central);
    top->setContentsMargins(8, 6, 8, 6);
    top->setSpacing(6);

    // The position and, beside it, the turns and the position within the turn.
    auto* positionRow = new QHBoxLayout;
    finQuota_ = new QLabel(central);
    finQuota_->setObjectName("FinQuota");
    finQuota_->setMinimumSize(300, 72);
    finQuota_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    finQuota_->setFrameShape(QFrame::Panel);
    finQuota_->setFrameShadow(QFrame::Sunken);
    positionRow->addWidget(finQuota_, 1);
    auto* turns = new QVBoxLayout;
    lblGiri_ = new QLabel(central);
    lblGiri_->setObjectName("LblGiri");
    lblGiri_->setToolTip("Turns");
    lblGiro_ = new QLabel(central);
    lblGiro_->setObjectName("LblGiro");
    lblGiro_->setToolTip("Position within the turn");
    for (QLabel* l : {lblGiri_, lblGiro_}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumSize(132, 30);
        QFont f = l->font();
        f.setPointSize(kTurnFontSize);
        f.setBold(true);
        l->setFont(f);
        turns->addWidget(l);
    }
    positionRow->addLayout(turns);
    top->addLayout(positionRow);

    // The bar of the position within its range; its place comes in twips from the logic.
    barArea_ = new QWidget(central);
    barArea_->setObjectName("BarArea");
    barArea_->setFixedHeight(24);
    barFrame_ = new ShapeWidget(ShapeWidget::Kind::Rectangle, barArea_);
    barFrame_->setObjectName("Shape2_0");
    barFrame_->setFillStyle(FillStyle::Solid);
    barFrame_->setFillColour(Qt::white);
    barFill_ = new ShapeWidget(ShapeWidget::Kind::Rectangle, barFrame_);
    barFill_->setObjectName("Shape2_1");
    barFill_->setBorderColour(QColor(0, 0, 160));
    for (std::size_t i = 0; i < line1_.size(); ++i) {
        auto* line = new QWidget(barFrame_);
        line->setObjectName(QString("Line1_%1").arg(i));
        setBackground(line, Rgb{0, 0, 0});
        line->hide();
        line1_[i] = line;
    }
    top->addWidget(barArea_);

    auto* numbers = new QHBoxLayout;
    programCaption_ = new QLabel("Program:", central);
    programCaption_->setObjectName("LblProgram");
    finProgr_ = new QLabel(central);
    finProgr_->setObjectName("FinProgr");
    finProgr_->setMinimumWidth(44);
    camsCaption_ = new QLabel("Cams:", central);
    camsCaption_->setObjectName("LblCams");
    finCamme_ = new QLabel(central);
    finCamme_->setObjectName("FinCamme");
    finCamme_->setMinimumWidth(48);
    originCaption_ = new QLabel("Origine:", central);
    originCaption_->setObjectName("Label6");
    finOrigin_ = new QLabel(central);
    finOrigin_->setObjectName("FinOrigin");
    finOrigin_->setMinimumWidth(40);
    for (QLabel* l : {finProgr_, finCamme_, finOrigin_}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    label4_ = new QLabel(central);
    label4_->setObjectName("Label4");
    label4_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont nameFont = label4_->font();
    nameFont.setPointSize(13);
    nameFont.setBold(true);
    label4_->setFont(nameFont);
    for (QWidget* w : std::initializer_list<QWidget*>{programCaption_, finProgr_, camsCaption_, finCamme_,
                                                     originCaption_, finOrigin_})
        numbers->addWidget(w);
    numbers->addStretch(1);
    numbers->addWidget(label4_);
    top->addLayout(numbers);

    frame1_ = new QGroupBox("Output status", central);
    frame1_->setObjectName("Frame1");
    auto* outputs = new QGridLayout(frame1_);
    outputs->setHorizontalSpacing(2);
    outputs->setVerticalSpacing(2);
    for (int i = 0; i < 16; ++i) {
        auto* s = new ShapeWidget(ShapeWidget::Kind::Circle, frame1_);
        s->setObjectName(QString("Shape1_%1").arg(i));
        s->setFixedSize(18, 18);
        s->setFillColour(qcolor(kOutputOn));
        shape1_[static_cast<std::size_t>(i)] = s;
        auto* l = new QLabel(QString::number(i + 1), frame1_);
        l->setObjectName(QString("Label1_%1").arg(i));
        l->setMinimumWidth(24);
        l->setAlignment(Qt::AlignCenter);
        label1_[static_cast<std::size_t>(i)] = l;
        outputs->addWidget(s, 0, i, Qt::AlignHCenter);
        outputs->addWidget(l, 1, i);
    }
    top->addWidget(frame1_);

    auto* status = new QHBoxLayout;
    check1_ = new QCheckBox(" On line", central);
    check1_->setObjectName("Check1");
    // The toggle acts when the mouse button is released over it, after its state
    // changed; a change made from code does not act.
    connect(check1_, &QCheckBox::clicked, this, [this](bool checked) {
        ctx_.main.Check1Checked = checked;
        if (actions_.check1MouseUp) actions_.check1MouseUp(checked);
        redraw();
    });
    status->addWidget(check1_);

    auto* quality = new QWidget(central);
    quality->setObjectName("LinkQuality");
    quality->setFixedSize(50, 26);
    for (int i = 0; i < 5; ++i) {
        auto* bar = new ShapeWidget(ShapeWidget::Kind::Rectangle, quality);
        bar->setObjectName(QString("Shape3_%1").arg(i));
        const int h = 6 + i * 4;
        bar->setGeometry(i * 10, 26 - h, 7, h);
        bar->hide();
        shape3_[static_cast<std::size_t>(i)] = bar;
    }
    status->addWidget(quality);

    label5_ = new QLabel("econ", central);
    label5_->setObjectName("Label5");
    label5_->setMinimumWidth(44);
    label5_->setAlignment(Qt::AlignCenter);
    status->addWidget(label5_);
    status->addStretch(1);
    top->addLayout(status);
}

void Mainform::redraw() {
    if (actions_.afterEvent)
        actions_.afterEvent();
    else
        refresh();
}

void Mainform::relabel() {
    action("Exit")->setText(QString::fromUtf8(ctx_.ui(0)));
    action("Communications")->setText(QString::fromUtf8(ctx_.ui(1)));
    toolsMenu_->setTitle(QString::fromUtf8(ctx_.ui(2)));
    action("Seriale")->setText(QString::fromUtf8(ctx_.ui(3)));
    programCaption_->setText(QString::fromUtf8(ctx_.ui(4)));
    camsCaption_->setText(QString::fromUtf8(ctx_.ui(5)));
    modelMenu_->setTitle(QString::fromUtf8(ctx_.ui(23)));
    settingsMenu_->setTitle(QString::fromUtf8(ctx_.ui(24)));
    originCaption_->setText(QString::fromUtf8(ctx_.ui(30)) + ":");
}

void Mainform::refresh() {
    const MainView& m = ctx_.main;
    const QString title = qs(m.title);
    if (windowTitle() != title) setWindowTitle(title);

    setFittedText(finQuota_, m.FinQuota, m.FinQuotaFontSize);
    setBackground(finQuota_, m.FinQuotaBack);
    setText(finProgr_, m.FinProgr);
    setText(finCamme_, m.FinCamme);
    setText(finOrigin_, m.FinOrigin);
    setShown(finOrigin_, m.originVisible);
    setShown(originCaption_, m.originVisible);
    setFittedText(lblGiri_, m.LblGiri, kTurnFontSize);
    setFittedText(lblGiro_, m.LblGiro, kTurnFontSize);
    setShown(lblGiri_, m.turnDisplaysVisible);
    setShown(lblGiro_, m.turnDisplaysVisible);

    for (std::size_t i = 0; i < 16; ++i) {
        shape1_[i]->setFillStyle(m.Shape1Fill[i]);
        shape1_[i]->setBorderStyle(m.Shape1Border[i]);
        QLabel* l = label1_[i];
        if (l->property("on").toBool() != m.Label1On[i] || !l->property("on").isValid()) {
            l->setProperty("on", m.Label1On[i]);
            QFont f = l->font();
            f.setBold(m.Label1On[i]);
            l->setFont(f);
            if (m.Label1On[i]) {
                setBackground(l, kOutputOn);
                setForeground(l, Rgb{255, 255, 255});
            } else {
                setBackground(l, kLightGrey);
                setForeground(l, Rgb{12, 12, 12});
            }
        }
    }

    // The logic places the bar in the window's twips; the bar area starts at its own left.
    const QRect frame(std::max(0, px(m.barFrameLeft) - barArea_->x()), 0, px(m.barFrameWidth), 24);
    if (barArea_->minimumWidth() < frame.right() + 1) barArea_->setMinimumWidth(frame.right() + 1);
    if (barFrame_->geometry() != frame) barFrame_->setGeometry(frame);
    const int fillWidth = std::max(0, std::min(px(m.barFillWidth), frame.width()));
    const QRect fill(0, 0, fillWidth, frame.height());
    if (barFill_->geometry() != fill) barFill_->setGeometry(fill);
    setShown(barFill_, fillWidth > 0);
    barFill_->setFillColour(qcolor(m.barFillColour));
    for (std::size_t i = 0; i < line1_.size(); ++i) {
        const QRect mark(markX(m.turnMarkX[i], m.barFrameLeft), 0, 1, frame.height());
        if (line1_[i]->geometry() != mark) line1_[i]->setGeometry(mark);
        setShown(line1_[i], m.turnMarksVisible);
    }

    for (std::size_t i = 0; i < 5; ++i) {
        shape3_[i]->setFillStyle(FillStyle::Solid);
        shape3_[i]->setFillColour(qcolor(m.Shape3Colour[i]));
        setShown(shape3_[i], m.Shape3Visible[i]);
    }

    setText(label4_, m.Label4);
    setForeground(label4_, m.Label4Colour);
    setShown(label4_, m.Label4Visible);
    setShown(label5_, m.econVisible);
    setBackground(label5_, m.econBack);

    if (check1_->isChecked() != m.Check1Checked) check1_->setChecked(m.Check1Checked);
    setText(check1_, m.Check1Caption);
    // Why going on line waits: the status bar is made only when there is one to show.
    const QString notice = QString::fromStdString(m.busyNotice);
    if (check1_->toolTip() != notice) check1_->setToolTip(notice);
    if (!notice.isEmpty() || findChild<QStatusBar*>() != nullptr) {
        if (statusBar()->currentMessage() != notice) statusBar()->showMessage(notice);
    }
    if (QAction* a = action("TestEncoder"); a->isChecked() != m.testEncoderChecked) a->setChecked(m.testEncoderChecked);
    if (QAction* a = action("EnbEcon"); a->isChecked() != m.enbEconChecked) a->setChecked(m.enbEconChecked);

    if (m.visible && !isVisible() && !closing_) show();
}

void Mainform::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    const bool minimized = isMinimized();
    if (ctx_.main.minimized == minimized) return;
    ctx_.main.minimized = minimized;
    if (actions_.windowStateChanged) actions_.windowStateChanged();
    refresh();
}

void Mainform::closeEvent(QCloseEvent* e) {
    if (!closing_) {
        closing_ = true;
        if (actions_.closing) actions_.closing();
    }
    e->accept();
}

}  // namespace gyrel::ui
