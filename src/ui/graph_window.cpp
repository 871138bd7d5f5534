#include "ui/graph_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "ui/editor_text.h"

namespace gyrel {

namespace {
constexpr double kTwipsPerPixel = 15.0;
int px(double twips) { return static_cast<int>(twips / kTwipsPerPixel + 0.5); }
}  // namespace

GraphWindow::GraphWindow(Editor& editor, Context& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), editor_(editor), ctx_(ctx) {
    setObjectName("Form2");
    for (int i = 0; i < 16; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QString("Label1_%1").arg(i));
        Label1[i]->hide();
    }
    for (int j = 0; j < 37; ++j) {
        Label2[j] = new QLabel(this);
        Label2[j]->setObjectName(QString("Label2_%1").arg(j));
        Label2[j]->setAlignment(Qt::AlignHCenter);
        Label2[j]->installEventFilter(this);
        Label2[j]->hide();
    }
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* row = new QHBoxLayout(Frame1);
    for (int k = 0; k < 2; ++k) {
        Text1[k] = new QLineEdit(Frame1);
        Text1[k]->setObjectName(QString("Text1_%1").arg(k));
        Text1[k]->setMaximumWidth(50);
        Text1[k]->installEventFilter(this);
        row->addWidget(Text1[k]);
    }
    Frame1->hide();
    resize(px(3750 * 2 + 300), px(2610 * 2 + 500));
}

void GraphWindow::render() {
    if (rendering_) return;
    rendering_ = true;
    const GraphView& g = editor_.graph;
    const GraphDrawing& d = g.drawing;
    if (editor_.st.graphVisible && !isVisible()) {
        if (d.width > 0) resize(px(d.width), px(d.height));
        placeBesideEditor();
        show();
    }
    if (!editor_.st.graphVisible && isVisible()) hide();
    if (!d.title.empty()) setWindowTitle(QString::fromStdString(d.title));
    if (g.redraws != shownRedraws_) {
        shownRedraws_ = g.redraws;
        if (d.width > 0) resize(px(d.width), px(d.height));
        update();
    }
    for (int i = 0; i < 16; ++i) {
        const GraphLabel& l = d.Label1[i];
        Label1[i]->setText(QString::fromStdString(l.text));
        QFont f = Label1[i]->font();
        f.setPointSize(std::max(1, l.fontSize));
        Label1[i]->setFont(f);
        Label1[i]->setGeometry(px(l.left), px(l.top), std::max(px(l.width), 12), std::max(px(l.height), 12));
        Label1[i]->setVisible(l.visible);
    }
    for (int j = 0; j < 37; ++j) {
        const GraphLabel& l = d.Label2[j];
        Label2[j]->setText(QString::fromStdString(l.text));
        Label2[j]->setGeometry(px(l.left), px(l.top), px(l.width), px(l.height));
        Label2[j]->setVisible(l.visible);
    }
    Frame1->setTitle(QString::fromUtf8(ctx_.ui(21)));
    Frame1->adjustSize();
    Frame1->move(px(d.width) / 2 - Frame1->width() / 2, std::max(0, px(d.frameTop)));
    Frame1->setVisible(g.Frame1Visible);
    if (editor_.graph.pitchSelected && g.Frame1Visible) {
        editor_.graph.pitchSelected = false;
        Text1[0]->setText(QString::fromStdString(g.pitchText));
        Text1[1]->setText(QString::fromStdString(g.scaleText));
        Text1[0]->setFocus(Qt::OtherFocusReason);
        Text1[0]->selectAll();
    }
    rendering_ = false;
}

// The graph goes beside the editor, where it hides neither the verify button
// nor the program selector and the log: right of it when the screen has room,
// else left of it, else over the editor's right-hand part.
void GraphWindow::placeBesideEditor() {
    QWidget* editorWindow = parentWidget() ? parentWidget()->window() : nullptr;
    if (!editorWindow) return;
    const QRect e = editorWindow->frameGeometry();
    QScreen* screen = editorWindow->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
    const QSize own = frameGeometry().size().expandedTo(size());
    int left = e.right() + 1;
    if (left + own.width() > area.right() + 1) left = e.left() - own.width();
    if (left < area.left()) left = std::max(area.left(), area.right() + 1 - own.width());
    const int top = std::clamp(e.top(), area.top(), std::max(area.top(), area.bottom() + 1 - own.height()));
    move(left, top);
}

void GraphWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.scale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    for (const GraphLine& l : editor_.graph.drawing.lines) {
        QPen pen(colourOf(l.colour));
        pen.setCosmetic(true);
        p.setPen(pen);
        if (l.point)
            p.drawPoint(QPointF(l.x1, l.y1));
        else
            p.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
}

void GraphWindow::mousePressEvent(QMouseEvent*) { editor_.graphClick(); }

void GraphWindow::closeEvent(QCloseEvent* event) {
    editor_.graphClosed();
    event->accept();
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (QLabel* l : Label2)
            if (watched == l) {
                editor_.graphLabelClick();
                return true;
            }
    }
    if (event->type() == QEvent::KeyPress && (watched == Text1[0] || watched == Text1[1])) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        editor_.graph.pitchText = Text1[0]->text().toStdString();
        editor_.graph.scaleText = Text1[1]->text().toStdString();
        editor_.graphKeyPress(watched == Text1[0] ? 0 : 1, KeyEnter);
        render();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace gyrel
