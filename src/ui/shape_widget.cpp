#include "ui/shape_widget.h"

#include <QPainter>

namespace gyrel::ui {

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setFillColour(const QColor& c) {
    if (fill_ == c) return;
    fill_ = c;
    update();
}

void ShapeWidget::setFillStyle(FillStyle s) {
    if (fillStyle_ == s) return;
    fillStyle_ = s;
    update();
}

void ShapeWidget::setBorderStyle(BorderStyle s) {
    if (borderStyle_ == s) return;
    borderStyle_ = s;
    update();
}

void ShapeWidget::setBorderColour(const QColor& c) {
    if (border_ == c) return;
    border_ = c;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, kind_ == Kind::Circle);
    switch (fillStyle_) {
        case FillStyle::Solid: p.setBrush(fill_); break;
        case FillStyle::HorizontalHatch: p.setBrush(QBrush(fill_, Qt::HorPattern)); break;
        case FillStyle::Transparent: p.setBrush(Qt::NoBrush); break;
    }
    p.setPen(QPen(border_, 1, borderStyle_ == BorderStyle::Dotted ? Qt::DotLine : Qt::SolidLine));
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Kind::Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

}  // namespace gyrel::ui
