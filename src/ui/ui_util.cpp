#include "ui/ui_util.h"

#include <QPalette>

namespace gyrel::ui {

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
