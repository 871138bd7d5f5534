#pragma once
#include <QMainWindow>
#include <array>
#include <functional>

#include "app/context.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;

namespace gyrel {
class SerialLink;
class ModelConfig;

namespace ui {
class ShapeWidget;

// The main window Mainform: draws ctx.main and forwards every menu item and
// the on-line toggle to the logic.
class Mainform : public QMainWindow {
public:
    // What the menu items and the toggle call; an empty one leaves its item disabled.
    struct Actions {
        std::function<void()> communications;  // opens the cam program editor
        std::function<void()> testEncoder;
        std::function<void(int model)> model;  // index into modelMenuNames()
        std::function<void(const char* code)> language;
        std::function<void()> seriale;
        std::function<void()> filter;
        std::function<void()> enbEcon;
        std::function<void()> info;
        std::function<void(bool checked)> check1MouseUp;
        std::function<void()> windowStateChanged;  // after ctx.main.minimized was updated
        std::function<void()> closing;             // the window is being closed: shutdown
        std::function<void()> afterEvent;          // redraws every window after an event was forwarded
    };

    Mainform(Context& ctx, Actions actions, QWidget* parent = nullptr);

    // Draws ctx.main; cheap when nothing changed, so it runs on a short timer.
    void refresh();
    // Writes the language texts into the menus and captions.
    void relabel();

    // The menu entries in the order of the model table's menuEntry names.
    static const std::array<const char*, 7>& modelMenuNames();
    QAction* action(const char* objectName) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void redraw();
    void buildMenus();
    void buildDisplay();
    QAction* addItem(QMenu* menu, const char* name, const char* caption, std::function<void()> handler);

    Context& ctx_;
    Actions actions_;
    QMenu* toolsMenu_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
    QMenu* modelMenu_ = nullptr;
    QLabel* finQuota_ = nullptr;
    QLabel* finProgr_ = nullptr;
    QLabel* finCamme_ = nullptr;
    QLabel* finOrigin_ = nullptr;
    QLabel* originCaption_ = nullptr;  // Label6
    QLabel* programCaption_ = nullptr;
    QLabel* camsCaption_ = nullptr;
    QLabel* lblGiri_ = nullptr;
    QLabel* lblGiro_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    std::array<ShapeWidget*, 16> shape1_{};
    std::array<QLabel*, 16> label1_{};
    QWidget* barArea_ = nullptr;       // holds the bar at the logic's place
    ShapeWidget* barFrame_ = nullptr;  // Shape2(0)
    ShapeWidget* barFill_ = nullptr;   // Shape2(1)
    std::array<QWidget*, 31> line1_{};
    std::array<ShapeWidget*, 5> shape3_{};
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    QCheckBox* check1_ = nullptr;
    bool closing_ = false;

public:
    bool isClosing() const { return closing_; }
};

}  // namespace ui
}  // namespace gyrel
