#include "ui/origin_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gyrel {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The logic's colour while the box takes input; a box that does not is drawn
// grey on grey, so that it never looks like one that can be typed in.
QString background(Rgb c) {
    return QStringLiteral("QLineEdit { background-color: rgb(%1, %2, %3); }"
                          " QLineEdit:disabled { background-color: rgb(212, 212, 212); color: rgb(110, 110, 110); }")
        .arg(c.r)
        .arg(c.g)
        .arg(c.b);
}

void setSheet(QWidget* w, const QString& sheet) {
    if (w->styleSheet() != sheet) w->setStyleSheet(sheet);
}

}  // namespace

OriginDialogWidget::OriginDialogWidget(Context& ctx, OriginDialog& logic, QWidget* parent)
    : QDialog(parent), ctx_(ctx), logic_(logic) {
    setObjectName("OriginDialog");
    auto* grid = new QGridLayout;
    LblPreset = new QLabel(this);
    LblPreset->setObjectName("LblPreset");
    LblOrigin = new QLabel(this);
    LblOrigin->setObjectName("LblOrigin");
    grid->addWidget(LblPreset, 0, 1);
    grid->addWidget(LblOrigin, 0, 2);
    for (int i = 0; i < 16; ++i) {
        const auto n = static_cast<std::size_t>(i);
        LblNumProg[n] = new QLabel(QString::number(i + 1), this);
        LblNumProg[n]->setObjectName(QStringLiteral("LblNumProg_%1").arg(i));
        TxtPreset[n] = new QLineEdit(this);
        TxtPreset[n]->setObjectName(QStringLiteral("TxtPreset_%1").arg(i));
        TxtOrigin[n] = new QLineEdit(this);
        TxtOrigin[n]->setObjectName(QStringLiteral("TxtOrigin_%1").arg(i));
        grid->addWidget(LblNumProg[n], i + 1, 0);
        grid->addWidget(TxtPreset[n], i + 1, 1);
        grid->addWidget(TxtOrigin[n], i + 1, 2);
        connect(TxtPreset[n], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { logic_.presetEdited(i, t.toStdString()); });
        connect(TxtOrigin[n], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { logic_.originEdited(i, t.toStdString()); });
    }
    ChkOrig = new QCheckBox(this);
    ChkOrig->setObjectName("ChkOrig");
    PulsClonaPres = new QPushButton(this);
    PulsClonaPres->setObjectName("PulsClonaPres");
    PulsClonaOrig = new QPushButton(this);
    PulsClonaOrig->setObjectName("PulsClonaOrig");
    grid->addWidget(ChkOrig, 17, 0);
    grid->addWidget(PulsClonaPres, 17, 1);
    grid->addWidget(PulsClonaOrig, 17, 2);

    PulsRx = new QPushButton(this);
    PulsRx->setObjectName("PulsRx");
    PulsTx = new QPushButton(this);
    PulsTx->setObjectName("PulsTx");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PulsRx);
    buttons->addWidget(PulsTx);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // The buttons stay usable during an exchange only for Cancel, which the progress window offers.
    auto busy = [this](bool on) {
        exchanging_ = on;
        PulsRx->setEnabled(!on);
        PulsTx->setEnabled(!on);
        PulsClonaPres->setEnabled(!on);
        PulsClonaOrig->setEnabled(!on);
        ChkOrig->setEnabled(!on);
    };
    connect(PulsRx, &QPushButton::clicked, this, [this, busy] {
        busy(true);
        logic_.PulsRx();
        busy(false);
        render();
    });
    connect(PulsTx, &QPushButton::clicked, this, [this, busy] {
        busy(true);
        logic_.PulsTx();
        busy(false);
        render();
    });
    connect(PulsClonaPres, &QPushButton::clicked, this, [this] {
        logic_.PulsClonaPres();
        render();
    });
    connect(PulsClonaOrig, &QPushButton::clicked, this, [this] {
        logic_.PulsClonaOrig();
        render();
    });
    connect(ChkOrig, &QCheckBox::clicked, this, [this](bool ticked) {
        logic_.ChkOrigClick(ticked);
        render();
    });
    logic_.changed = [this] { render(); };
    relabel();
    render();
}

OriginDialogWidget::~OriginDialogWidget() { logic_.changed = nullptr; }

void OriginDialogWidget::relabel() {
    setWindowTitle(q(std::string(ctx_.ui(29)) + " / " + ctx_.ui(30)));
    PulsRx->setText(q(ctx_.ui(13)));
    PulsTx->setText(q(ctx_.ui(22)));
    PulsClonaPres->setText(q(ctx_.ui(28)));
    PulsClonaOrig->setText(q(ctx_.ui(28)));
    LblPreset->setText(q(ctx_.ui(29)));
    LblOrigin->setText(q(ctx_.ui(30)));
    ChkOrig->setText(q(ctx_.ui(30)));
}

void OriginDialogWidget::render() {
    for (std::size_t i = 0; i < 16; ++i) {
        const OriginRow& row = logic_.rows[i];
        if (TxtPreset[i]->text().toStdString() != row.TxtPreset) TxtPreset[i]->setText(q(row.TxtPreset));
        if (TxtOrigin[i]->text().toStdString() != row.TxtOrigin) TxtOrigin[i]->setText(q(row.TxtOrigin));
        setSheet(TxtPreset[i], background(row.presetBack));
        setSheet(TxtOrigin[i], background(row.originBack));
        TxtOrigin[i]->setEnabled(logic_.originEnabled());
    }
    ChkOrig->setChecked(logic_.ChkOrig);
    renderLineBusy();
}

void OriginDialogWidget::renderLineBusy() {
    if (exchanging_) return;
    const bool other = ctx_.EditorBusy || ctx_.lineClaimed();
    const QString why = other ? q(ctx_.texts->lineBusy) : QString();
    for (QPushButton* b : {PulsRx, PulsTx}) {
        if (b->isEnabled() == other) b->setEnabled(!other);
        if (b->toolTip() != why) b->setToolTip(why);
    }
}

void OriginDialogWidget::showEvent(QShowEvent* event) {
    logic_.show();
    render();
    QDialog::showEvent(event);
}

void OriginDialogWidget::hideEvent(QHideEvent* event) {
    logic_.hide();
    QDialog::hideEvent(event);
}

}  // namespace gyrel
