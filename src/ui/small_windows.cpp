#include "ui/small_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shape_widget.h"
#include "ui/ui_util.h"

namespace gyrel::ui {
namespace {

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

void setFieldText(QLineEdit* e, const std::string& text) {
    const QString t = qs(text);
    if (e->text() != t) e->setText(t);
}

// A small drawn emblem for the about box: an encoder disc with its cams.
class DiscImage : public QWidget {
public:
    explicit DiscImage(QWidget* parent) : QWidget(parent) { setFixedSize(64, 64); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(QColor(192, 192, 255));
        p.drawEllipse(QRectF(4, 4, 56, 56));
        p.setBrush(QColor(0, 128, 0));
        p.drawPie(QRectF(4, 4, 56, 56), 30 * 16, 70 * 16);
        p.drawPie(QRectF(4, 4, 56, 56), 200 * 16, 40 * 16);
        p.setBrush(QColor(240, 240, 240));
        p.drawEllipse(QRectF(24, 24, 16, 16));
    }
};

}  // namespace

void followVisible(QWidget* w, bool visible) {
    if (visible && !w->isVisible()) w->show();
    if (!visible && w->isVisible()) w->hide();
}

// ---- Filtform ----

FiltformWindow::FiltformWindow(Context& ctx, FiltForm& logic, QWidget* parent)
    : QDialog(parent), ctx_(ctx), logic_(logic) {
    setObjectName("Filtform");
    setWindowTitle(FiltForm::kTitle);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (const FiltForm::Option& o : FiltForm::options()) {
        auto* b = new QRadioButton(o.caption, this);
        b->setObjectName(QString("Option1_%1").arg(o.index));
        b->setAutoExclusive(false);
        const int index = o.index;
        connect(b, &QRadioButton::clicked, this, [this, index] {
            logic_.optionClick(index);
            refresh();
        });
        layout->addWidget(b);
        options_[o.index] = b;
    }
    refresh();
}

void FiltformWindow::refresh() {
    for (auto& [index, b] : options_)
        if (b->isChecked() != (ctx_.filter.selected == index)) b->setChecked(ctx_.filter.selected == index);
    followVisible(this, ctx_.filter.visible);
}

void FiltformWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    reject();
}

void FiltformWindow::reject() {
    logic_.hide();
    refresh();
}

// ---- Form3 ----

Form3Window::Form3Window(Context& ctx, PositionTestForm& logic, QWidget* parent)
    : QDialog(parent), ctx_(ctx), logic_(logic) {
    setObjectName("Form3");
    setWindowTitle(PositionTestForm::kTitle);
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);

    auto* lock = new QHBoxLayout;
    label10_ = label("Label10", "Password:", this);
    password_ = new QLineEdit(this);
    password_->setObjectName("TxtPassword");
    password_->setEchoMode(QLineEdit::Password);
    connect(password_, &QLineEdit::textEdited, this, [this](const QString& t) { ctx_.posTest.TxtPassword = t.toStdString(); });
    connect(password_, &QLineEdit::returnPressed, this, [this] {
        ctx_.posTest.TxtPassword = password_->text().toStdString();
        logic_.TxtPasswordKeyPress(13);
        refresh();
    });
    lock->addWidget(label10_);
    lock->addWidget(password_);
    top->addLayout(lock);

    frame1_ = new QGroupBox("Tollerance", this);
    frame1_->setObjectName("Frame1");
    auto* tol = new QGridLayout(frame1_);
    captions_[0] = label("Label2", "Primi 2 giri", frame1_);
    captions_[1] = label("Label3", "Successivi", frame1_);
    txtPrimi_ = new QLineEdit(frame1_);
    txtPrimi_->setObjectName("TxtPrimi");
    txtSuccessivi_ = new QLineEdit(frame1_);
    txtSuccessivi_->setObjectName("TxtSuccessivi");
    connect(txtPrimi_, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.TxtPrimiChange(t.toStdString()); });
    connect(txtSuccessivi_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.TxtSuccessiviChange(t.toStdString()); });
    tol->addWidget(captions_[0], 0, 0);
    tol->addWidget(txtPrimi_, 0, 1);
    tol->addWidget(captions_[1], 1, 0);
    tol->addWidget(txtSuccessivi_, 1, 1);
    top->addWidget(frame1_);

    auto* stats = new QGridLayout;
    label6_ = label("Label6", "", this);
    lblMax_ = label("LblMax", "0", this);
    lblMin_ = label("LblMin", "0", this);
    label4_ = label("Label4", "Errors:", this);
    label5_ = label("Label5", "", this);
    for (QLabel* l : {label6_, lblMax_, lblMin_, label5_}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(70);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    label6_->setToolTip("Last step");
    lblMax_->setToolTip("Largest step");
    lblMin_->setToolTip("Smallest step");
    stats->addWidget(label6_, 0, 0);
    stats->addWidget(lblMax_, 0, 1);
    stats->addWidget(lblMin_, 0, 2);
    stats->addWidget(label4_, 0, 3, Qt::AlignRight);
    stats->addWidget(label5_, 0, 4);
    top->addLayout(stats);

    auto* list = new QGridLayout;
    const char* headerNames[] = {"Label7", "Label8", "Label9"};
    for (int c = 0; c < 3; ++c) {
        headers_[static_cast<std::size_t>(c)] = label(headerNames[c], "    pos            error", this);
        list->addWidget(headers_[static_cast<std::size_t>(c)], 0, c);
    }
    QFont mono("DejaVu Sans Mono");
    mono.setStyleHint(QFont::Monospace);
    for (int i = 0; i < 15; ++i) {
        QLabel* l = label("", "", this);
        l->setObjectName(QString("Label1_%1").arg(i));
        l->setFont(mono);
        l->setMinimumWidth(150);
        l->setFrameShape(QFrame::StyledPanel);
        lines_[static_cast<std::size_t>(i)] = l;
        list->addWidget(l, 1 + i % 5, i / 5);
    }
    top->addLayout(list);

    command1_ = new QPushButton("CLEAR ALL", this);
    command1_->setObjectName("Command1");
    connect(command1_, &QPushButton::clicked, this, [this] {
        logic_.Command1Click();
        refresh();
    });
    top->addWidget(command1_, 0, Qt::AlignRight);
    refresh();
}

void Form3Window::refresh() {
    const PositionTestView& v = ctx_.posTest;
    const bool on = v.unlocked;
    for (QWidget* w : std::initializer_list<QWidget*>{frame1_, label6_, lblMax_, lblMin_, label4_, label5_, command1_})
        setShown(w, on);
    for (QLabel* h : headers_) setShown(h, on);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        setShown(lines_[i], on);
        setText(lines_[i], v.Label1[i]);
    }
    setShown(label10_, !on);
    setShown(password_, !on);
    if (!password_->hasFocus()) setFieldText(password_, v.TxtPassword);
    if (!txtPrimi_->hasFocus()) setFieldText(txtPrimi_, v.TxtPrimi);
    if (!txtSuccessivi_->hasFocus()) setFieldText(txtSuccessivi_, v.TxtSuccessivi);
    setBackground(txtPrimi_, v.TxtPrimiBack);
    setBackground(txtSuccessivi_, v.TxtSuccessiviBack);
    setText(label6_, v.Label6);
    setText(lblMax_, v.LblMax);
    setText(lblMin_, v.LblMin);
    setText(label5_, v.Label5);
    followVisible(this, v.visible);
}

void Form3Window::closeEvent(QCloseEvent* e) {
    e->ignore();
    reject();
}

void Form3Window::reject() {
    logic_.close();
    refresh();
}

// ---- WaitForm ----

WaitFormWindow::WaitFormWindow(WaitView& view, std::unique_ptr<WaitForm> logic, QWidget* parent)
    : WaitFormWindow(view, *logic, parent) {
    owned_ = std::move(logic);
}

WaitFormWindow::WaitFormWindow(WaitView& view, WaitForm& logic, QWidget* parent)
    : QDialog(parent), view_(view), logic_(logic) {
    setObjectName("WaitForm");
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    label1_ = label("Label1", "Update Graphics .....", this);
    label1_->setMinimumWidth(px(view_.barFrameWidth) + 2);
    top->addWidget(label1_);
    barFrame_ = new QFrame(this);
    barFrame_->setFrameShape(QFrame::Box);
    barFrame_->setFixedSize(px(view_.barFrameWidth) + 2, 18);
    bar_ = new ShapeWidget(ShapeWidget::Kind::Rectangle, barFrame_);
    bar_->setObjectName("BarraElabora");
    bar_->setFillColour(QColor(0, 0, 160));
    top->addWidget(barFrame_);
    count_ = new QProgressBar(this);
    count_->setObjectName("Count");
    count_->setTextVisible(true);
    top->addWidget(count_);
    timeLeft_ = label("TimeLeft", "", this);
    top->addWidget(timeLeft_);
    text1_ = new QLineEdit(this);
    text1_->setObjectName("Text1");
    text1_->setReadOnly(true);
    top->addWidget(text1_);
    outcome_ = label("Outcome", "", this);
    QFont bold = outcome_->font();
    bold.setBold(true);
    outcome_->setFont(bold);
    outcome_->setWordWrap(true);
    top->addWidget(outcome_);
    command1_ = new QPushButton("Cancel", this);
    command1_->setObjectName("Command1");
    connect(command1_, &QPushButton::clicked, this, [this] { logic_.Command1Click(); });
    top->addWidget(command1_, 0, Qt::AlignRight);
    outcomeTimer_ = new QTimer(this);
    outcomeTimer_->setSingleShot(true);
    connect(outcomeTimer_, &QTimer::timeout, this, [this] {
        lingering_ = false;
        refresh();
    });
    refresh();
}

// A progress window belongs above the window whose work it shows: the origin
// dialog, the editor or the main window, whichever the operator was using.
void WaitFormWindow::stackAboveStarter() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    if (w) w = w->window();
    if (!w || w == this || w->isHidden()) w = parentWidget() ? parentWidget()->window() : nullptr;
    starter_ = w;
    if (!w) return;
    if (!windowHandle()) create();
    if (QWindow* handle = windowHandle(); handle && w->windowHandle()) handle->setTransientParent(w->windowHandle());
    // Centred over the starter.
    const QSize size = sizeHint();
    move(w->frameGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

void WaitFormWindow::showCount() {
    const ProgressState& p = view_.progress;
    const WindowTexts& t = logic_.texts();
    // Only the work running now, or the one whose outcome is up: an outcome read
    // earlier is not shown again by a later wait that counts nothing.
    const bool current = p.outcome == ProgressOutcome::Running || lingering_;
    const bool counting = current && p.total > 0 && p.outcome != ProgressOutcome::None;
    setShown(count_, counting);
    if (counting) {
        if (count_->maximum() != p.total) count_->setRange(0, static_cast<int>(p.total));
        if (count_->value() != p.done) count_->setValue(static_cast<int>(p.done));
        const QString format = qs(framesText(p, t));
        if (count_->format() != format) count_->setFormat(format);
    }
    setText(timeLeft_, timeLeftText(p, t));
    setShown(timeLeft_, p.counting() && !timeLeft_->text().isEmpty());
    setText(outcome_, outcomeText(p, t));
    setShown(outcome_, lingering_ && p.finished());
    setForeground(outcome_, p.outcome == ProgressOutcome::Done ? Rgb{0, 110, 0}
                            : p.outcome == ProgressOutcome::Failed ? Rgb{176, 0, 0}
                                                                   : Rgb{40, 40, 40});
}

void WaitFormWindow::refresh() {
    const QString caption = qs(view_.caption);
    if (windowTitle() != caption) setWindowTitle(caption);
    setText(label1_, view_.label);
    setShown(barFrame_, view_.barVisible);
    const QRect bar(1, 1, std::max(0, px(view_.barWidth)), 16);
    if (bar_->geometry() != bar) bar_->setGeometry(bar);
    setShown(text1_, view_.textVisible);
    setFieldText(text1_, view_.text);

    // A work that ended leaves its outcome up a few seconds, no click needed.
    const ProgressState& p = view_.progress;
    if (p.finished() && p.endings != endingsShown_) {
        endingsShown_ = p.endings;
        lingering_ = true;
        outcomeTimer_->start(kOutcomeMs);
    }
    if (view_.visible && !p.finished()) {
        lingering_ = false;
        outcomeTimer_->stop();
    }
    showCount();
    setShown(command1_, view_.buttonVisible && !lingering_);
    const bool shown = view_.visible || lingering_;
    if (shown && !isVisible()) {
        stackAboveStarter();
        show();
        raise();
    } else if (!shown && isVisible()) {
        hide();
    }
}

void WaitFormWindow::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) logic_.Activate();
}

void WaitFormWindow::closeEvent(QCloseEvent* e) {
    if (lingering_) {  // only an outcome is up: the window may go (the program may end)
        lingering_ = false;
        outcomeTimer_->stop();
        e->accept();
        return;
    }
    e->ignore();
    reject();
}

void WaitFormWindow::reject() {
    if (lingering_) {  // the outcome read: closing it cancels nothing
        lingering_ = false;
        outcomeTimer_->stop();
    } else {
        logic_.closedByUser();
    }
    refresh();
}

// ---- creditform ----

CreditformWindow::CreditformWindow(Context& ctx, CreditForm& logic, QWidget* parent)
    : QDialog(parent), ctx_(ctx), logic_(logic) {
    setObjectName("creditform");
    setWindowTitle("Info");
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    row->addWidget(new DiscImage(this));
    auto* texts = new QVBoxLayout;
    version_ = label("Label1", "", this);
    QFont f = version_->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    version_->setFont(f);
    contact_ = label("Label2", "", this);
    texts->addWidget(version_);
    texts->addWidget(contact_);
    row->addLayout(texts);
    row->addWidget(new DiscImage(this));
    top->addLayout(row);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command1");
    connect(ok, &QPushButton::clicked, this, [this] {
        logic_.Command1Click();
        refresh();
    });
    top->addWidget(ok, 0, Qt::AlignHCenter);
    refresh();
}

void CreditformWindow::refresh() {
    setText(version_, ctx_.about.versionText);
    // The contact lines are joined with CR LF; a label breaks at LF.
    QString contact = qs(ctx_.about.contactText);
    contact.remove('\r');
    if (contact_->text() != contact) contact_->setText(contact);
    followVisible(this, ctx_.about.visible);
}

void CreditformWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    reject();
}

void CreditformWindow::reject() {
    logic_.hide();
    refresh();
}

}  // namespace gyrel::ui
