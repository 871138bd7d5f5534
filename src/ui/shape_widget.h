#pragma once
#include <QColor>
#include <QWidget>

#include "app/main_view.h"

namespace gyrel::ui {

// A shape control: a rectangle or circle with a fill colour, a fill style and a
// border style.
class ShapeWidget : public QWidget {
public:
    enum class Kind { Rectangle, Circle };
    ShapeWidget(Kind kind, QWidget* parent);

    void setFillColour(const QColor& c);
    void setFillStyle(FillStyle s);
    void setBorderStyle(BorderStyle s);
    void setBorderColour(const QColor& c);
    QColor fillColour() const { return fill_; }
    FillStyle fillStyle() const { return fillStyle_; }
    BorderStyle borderStyle() const { return borderStyle_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Kind kind_;
    QColor fill_{Qt::black};
    QColor border_{Qt::black};
    FillStyle fillStyle_ = FillStyle::Solid;
    BorderStyle borderStyle_ = BorderStyle::Solid;
};

}  // namespace gyrel::ui
