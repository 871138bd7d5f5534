#include "ui/set_seriale_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/ui_util.h"

namespace gyrel::ui {
namespace {

constexpr Rgb kBrown{128, 64, 0};
constexpr Rgb kPlain{0, 0, 0};

QGroupBox* group(const char* name, const char* caption, QWidget* parent) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    new QVBoxLayout(g);
    return g;
}

}  // namespace

SetSerialeWindow::SetSerialeWindow(SetSeriale& logic, QWidget* parent) : QDialog(parent), logic_(logic) {
    setObjectName("SetSeriale");
    setWindowTitle(SetSeriale::kTitle);
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    failure_ = new QLabel(this);
    failure_->setObjectName("LblFailure");
    failure_->setWordWrap(true);
    failure_->setMinimumWidth(220);
    setForeground(failure_, Rgb{192, 0, 0});
    top->addWidget(failure_);

    auto* grid = new QGridLayout;
    top->addLayout(grid);

    comGroup_ = group("FrameComPort", "&Com Port", this);
    for (int i = 1; i <= 6; ++i) {
        auto* b = new QRadioButton(comGroup_);
        b->setObjectName(QString("ComPort_%1").arg(i));
        b->setAutoExclusive(false);
        b->installEventFilter(this);
        connect(b, &QRadioButton::clicked, this, [this, i] { act([this, i] { logic_.ComPortClick(i); }); });
        comGroup_->layout()->addWidget(b);
        comPort_[static_cast<std::size_t>(i - 1)] = b;
    }
    combo1_ = new QComboBox(comGroup_);
    combo1_->setObjectName("Combo1");
    combo1_->setEditable(logic_.typedPathsAllowed);
    combo1_->setMinimumWidth(150);
    if (logic_.typedPathsAllowed) {
        combo1_->lineEdit()->setPlaceholderText("/dev/ttyUSB0");
        connect(combo1_, &QComboBox::editTextChanged, this, [this](const QString& t) {
            if (!updating_) logic_.Combo1Change(t.toStdString()), refresh();
        });
    } else {
        connect(combo1_, &QComboBox::textActivated, this,
                [this](const QString& t) { act([this, t] { logic_.Combo1Change(t.toStdString()); }); });
    }
    comGroup_->layout()->addWidget(combo1_);
    auto* update = new QPushButton("Update", comGroup_);
    update->setObjectName("PulsUpdt");
    connect(update, &QPushButton::clicked, this, [this] { act([this] { logic_.PulsUpdtClick(); }); });
    comGroup_->layout()->addWidget(update);
    grid->addWidget(comGroup_, 0, 0, 2, 1, Qt::AlignTop);

    QGroupBox* baud = group("FrameBaud", "&Baud Rate", this);
    const char* baudNames[] = {"Baud3", "Baud6", "Baud12", "Baud24", "Baud48", "Baud96", "Baud192", "Baud1152"};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::string caption = SetSeriale::speeds()[i];
        addOption(baud, baudNames[i], SetSeriale::speeds()[i], [this, caption] { logic_.speedClick(caption); });
    }
    QGroupBox* parity = group("FrameParity", "&Parity", this);
    addOption(parity, "NoParity", "None", [this] { logic_.parityClick('N'); });
    addOption(parity, "OddParity", "Odd", [this] { logic_.parityClick('O'); });
    addOption(parity, "EvenParity", "Even", [this] { logic_.parityClick('E'); });
    QGroupBox* data = group("FrameData", "&Data Bits", this);
    addOption(data, "Data7", "7", [this] { logic_.dataBitsClick(7); });
    addOption(data, "Data8", "8", [this] { logic_.dataBitsClick(8); });
    QGroupBox* stop = group("FrameStop", "&Stop Bits", this);
    addOption(stop, "Stop1", "1", [this] { logic_.stopBitsClick(1); });
    addOption(stop, "Stop2", "2", [this] { logic_.stopBitsClick(2); });
    QGroupBox* flow = group("FrameFlow", "&Flow Control", this);
    addOption(flow, "NoFlow", "None", [this] { logic_.flowClick(0); });
    addOption(flow, "XonFlow", "Xon/Xoff", [this] { logic_.flowClick(1); });
    addOption(flow, "RTSFlow", "RTS", [this] { logic_.flowClick(2); });
    addOption(flow, "BothFlow", "Xon/RTS", [this] { logic_.flowClick(3); });
    QGroupBox* echo = group("FrameEcho", "&Echo", this);
    addOption(echo, "EchoOff", "Off", [this] { logic_.echoClick(false); });
    addOption(echo, "EchoOn", "On", [this] { logic_.echoClick(true); });
    otherGroups_ = {baud, parity, data, stop, flow, echo};
    grid->addWidget(baud, 0, 1, 2, 1, Qt::AlignTop);
    grid->addWidget(parity, 0, 2, Qt::AlignTop);
    grid->addWidget(flow, 1, 2, Qt::AlignTop);
    grid->addWidget(data, 0, 3, Qt::AlignTop);
    grid->addWidget(stop, 1, 3, Qt::AlignTop);
    grid->addWidget(echo, 0, 4, Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { act([this] { logic_.OKButtonClick(); }); });
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelButton");
    connect(cancel, &QPushButton::clicked, this, [this] { act([this] { logic_.CancelButtonClick(); }); });
    advButton_ = new QPushButton("Advanced", this);
    advButton_->setObjectName("AdvButton");
    connect(advButton_, &QPushButton::clicked, this, [this] { act([this] { logic_.AdvButtonClick(); }); });
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(advButton_);
    refresh();
}

QRadioButton* SetSerialeWindow::addOption(QGroupBox* g, const char* name, const char* caption,
                                          std::function<void()> click) {
    auto* b = new QRadioButton(caption, g);
    b->setObjectName(name);
    b->setAutoExclusive(false);  // the logic decides what is selected
    connect(b, &QRadioButton::clicked, this, [this, click] { act(click); });
    g->layout()->addWidget(b);
    options_[name] = b;
    return b;
}

QRadioButton* SetSerialeWindow::option(const std::string& objectName) const {
    auto it = options_.find(objectName);
    return it == options_.end() ? nullptr : it->second;
}

void SetSerialeWindow::act(const std::function<void()>& f) {
    f();
    refresh();
}

bool SetSerialeWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (std::size_t i = 0; i < comPort_.size(); ++i)
            if (watched == comPort_[i]) {
                act([this, i] { logic_.ComPortDblClick(static_cast<int>(i) + 1); });
                return true;
            }
    }
    return QDialog::eventFilter(watched, e);
}

void SetSerialeWindow::refresh() {
    updating_ = true;
    const SerialDialogView& v = logic_.view();
    setBackground(this, v.background);
    const std::string selected[] = {v.speedButton, v.parityButton, v.dataButton, v.stopButton, v.flowButton, v.echoButton};
    for (auto& [name, button] : options_) {
        bool on = false;
        for (const std::string& s : selected) on = on || s == name;
        if (button->isChecked() != on) button->setChecked(on);
        setForeground(button, v.brown.count(name) ? kBrown : kPlain);
    }
    for (std::size_t i = 0; i < comPort_.size(); ++i) {
        setText(comPort_[i], v.comPortCaption[i]);
        setShown(comPort_[i], v.comPortVisible[i]);
        const bool on = v.comPortSelected == static_cast<int>(i) + 1;
        if (comPort_[i]->isChecked() != on) comPort_[i]->setChecked(on);
    }
    QStringList items;
    for (const std::string& s : v.comboItems) items << qs(s);
    QStringList current;
    for (int i = 0; i < combo1_->count(); ++i) current << combo1_->itemText(i);
    if (current != items) {
        combo1_->clear();
        combo1_->addItems(items);
    }
    if (combo1_->currentText() != qs(v.comboText)) {
        if (combo1_->isEditable())
            combo1_->setEditText(qs(v.comboText));
        else
            combo1_->setCurrentText(qs(v.comboText));
    }
    setShown(combo1_, v.comboVisible);
    setText(failure_, v.failureText);
    setShown(failure_, !v.failureText.empty());
    setText(advButton_, v.advCaption);
    if (advancedShown_ != v.advanced) {
        advancedShown_ = v.advanced;
        for (QGroupBox* g : otherGroups_) g->setVisible(v.advanced);
    }
    if (v.visible && !isVisible()) show();
    if (!v.visible && isVisible()) hide();
    updating_ = false;
}

// The close box and Escape count as Cancel: the dialog is only hidden.
void SetSerialeWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    act([this] { logic_.CancelButtonClick(); });
}

void SetSerialeWindow::reject() { act([this] { logic_.CancelButtonClick(); }); }

}  // namespace gyrel::ui
