#pragma once
#include <QGroupBox>
#include <array>
#include <functional>

#include "editor/multi_files.h"

class QLineEdit;
class QPushButton;

namespace gyrel {

// The multiple-files panel Frame3: sixteen slot boxes MultiPath_k with their
// browse buttons MultiButt_k. It draws MultiFiles' state and forwards the
// operator's keys, clicks and focus changes; the editor window embeds it and
// re-renders itself through onChanged after every forwarded event.
class MultiPanelWidget : public QGroupBox {
    Q_OBJECT
public:
    MultiPanelWidget(MultiFiles& logic, Context& ctx, QWidget* parent = nullptr);

    // Redraws the boxes, their colours and the caption from the logic.
    void render();
    std::function<void()> onChanged;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int slotOf(QObject* o) const;
    void changed();

    MultiFiles& logic_;
    Context& ctx_;
    std::array<QLineEdit*, 16> boxes_{};
    std::array<QPushButton*, 16> buttons_{};
    bool rendering_ = false;
};

}  // namespace gyrel
