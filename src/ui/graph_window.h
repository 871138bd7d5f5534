#pragma once
#include <QWidget>
#include <array>

#include "app/context.h"
#include "editor/editor_window.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace gyrel {

// The graph window Form2: paints the strokes and labels of the editor's last
// redraw (twips scaled to pixels) and forwards clicks and the pitch and scale entry.
class GraphWindow : public QWidget {
    Q_OBJECT
public:
    GraphWindow(Editor& editor, Context& ctx, QWidget* parent);
    void render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBesideEditor();

    Editor& editor_;
    Context& ctx_;
    int shownRedraws_ = -1;
    bool rendering_ = false;
    std::array<QLabel*, 16> Label1{};
    std::array<QLabel*, 37> Label2{};
    QGroupBox* Frame1 = nullptr;
    std::array<QLineEdit*, 2> Text1{};
};

}  // namespace gyrel
