#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string>

#include "device/model_table.h"

namespace gyrel::ui {

// Window coordinates of the logic are twips: 15 to a pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
inline int px(int twips) { return twips / kTwipsPerPixel; }

inline QColor qcolor(Rgb c) { return QColor(c.r, c.g, c.b); }
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// Setters that touch a widget only when the value changes, so that a periodic
// refresh costs next to nothing and causes no repaint.
inline void setText(QLabel* w, const std::string& text) {
    const QString t = qs(text);
    if (w->text() != t) w->setText(t);
}
inline void setText(QAbstractButton* w, const std::string& text) {
    const QString t = qs(text);
    if (w->text() != t) w->setText(t);
}
inline void setShown(QWidget* w, bool shown) {
    if (w->isHidden() == shown) w->setVisible(shown);
}
// Shows a number in a fixed box: the font is made smaller, down from pointSize,
// until the whole text fits, so leading digits are never cut off.
void setFittedText(QLabel* w, const std::string& text, int pointSize, bool bold = true);
void setBackground(QWidget* w, Rgb colour);
void setForeground(QWidget* w, Rgb colour);

}  // namespace gyrel::ui
