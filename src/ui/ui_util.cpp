#include "ui/ui_util.h"

#include <QFontMetrics>
#include <algorithm>
#include <QPalette>

namespace gyrel::ui {

void setFittedText(QLabel* w, const std::string& text, int pointSize, bool bold) {
    setText(w, text);
    const int room = w->contentsRect().width() - 2 * w->margin() - 4;
    QFont f = w->font();
    f.setBold(bold);
    int size = std::max(1, pointSize);
    for (; size > 4; --size) {
        f.setPointSize(size);
        if (QFontMetrics(f).horizontalAdvance(w->text()) <= room) break;
    }
    f.setPointSize(size);
    if (w->font() != f) w->setFont(f);
}

void setBackground(QWidget* w, Rgb colour) {
    const QColor c = qcolor(colour);
    QPalette p = w->palette();
    if (w->autoFillBackground() && p.color(QPalette::Window) == c) return;
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setForeground(QWidget* w, Rgb colour) {
    const QColor c = qcolor(colour);
    QPalette p = w->palette();
    if (p.color(QPalette::WindowText) == c) return;
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

}  // namespace gyrel::ui
