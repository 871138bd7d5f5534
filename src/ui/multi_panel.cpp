#include "ui/multi_panel.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace gyrel {

namespace {
QString css(ColourValue v) {
    // Stored colours have red in the low byte.
    return QString("background-color: rgb(%1, %2, %3);").arg(v & 0xFF).arg(v >> 8 & 0xFF).arg(v >> 16 & 0xFF);
}
}  // namespace

MultiPanelWidget::MultiPanelWidget(MultiFiles& logic, Context& ctx, QWidget* parent)
    : QGroupBox(parent), logic_(logic), ctx_(ctx) {
    setObjectName("Frame3");
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    for (int k = 0; k < 16; ++k) {
        auto* label = new QLabel(QString::number(k + 1), this);
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("MultiPath_%1").arg(k));
        box->installEventFilter(this);
        auto* button = new QPushButton("...", this);
        button->setObjectName(QString("MultiButt_%1").arg(k));
        button->setFixedWidth(28);
        grid->addWidget(label, k, 0);
        grid->addWidget(box, k, 1);
        grid->addWidget(button, k, 2);
        boxes_[k] = box;
        buttons_[k] = button;
        connect(box, &QLineEdit::textEdited, this, [this, k](const QString& t) {
            logic_.panel.MultiPath[k] = t.toStdString();
        });
        connect(button, &QPushButton::clicked, this, [this, k] {
            logic_.MultiButt(k);
            changed();
        });
    }
    render();
}

void MultiPanelWidget::render() {
    rendering_ = true;
    const EditorLayout& l = ctx_.editorLayout;
    setVisible(l.multiFilePanel);
    setTitle(QString::fromStdString(l.multiFileCaption));
    for (int k = 0; k < 16; ++k) {
        const QString text = QString::fromStdString(logic_.panel.MultiPath[k]);
        if (boxes_[k]->text() != text) boxes_[k]->setText(text);
        boxes_[k]->setStyleSheet(css(logic_.panel.MultiPathBack[k]));
        buttons_[k]->setEnabled(logic_.panel.MultiButtEnabled);
    }
    rendering_ = false;
}

void MultiPanelWidget::changed() {
    render();
    if (onChanged) onChanged();
}

int MultiPanelWidget::slotOf(QObject* o) const {
    for (int k = 0; k < 16; ++k)
        if (boxes_[k] == o) return k;
    return -1;
}

bool MultiPanelWidget::eventFilter(QObject* watched, QEvent* event) {
    const int k = slotOf(watched);
    if (k < 0 || rendering_) return QGroupBox::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            MultiFiles::Key which = MultiFiles::Key::Other;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) which = MultiFiles::Key::Enter;
            else if (key->key() == Qt::Key_Down) which = MultiFiles::Key::Down;
            else if (key->key() == Qt::Key_Up) which = MultiFiles::Key::Up;
            const int next = logic_.MultiPathKeyDown(k, which);
            if (which == MultiFiles::Key::Other) return false;  // the box takes the key
            changed();
            if (next != k) {
                rendering_ = true;  // the move has already checked the box left
                boxes_[next]->setFocus();
                rendering_ = false;
            }
            return true;
        }
        case QEvent::FocusOut:
            logic_.MultiPathLeave(k);
            changed();
            break;
        case QEvent::MouseButtonRelease:
            // Selecting a box opens its program in the editor.
            logic_.OpenSlot(k);
            changed();
            break;
        default:
            break;
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace gyrel
