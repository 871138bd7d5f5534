#pragma once
#include <QDialog>
#include <array>

#include "app/context.h"
#include "origin/origin_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gyrel {

// The preset and origin window: renders OriginDialog's rows and forwards the
// clicks and edits to it. Controls carry the logic's names ("TxtPreset_3" for
// element 3 of TxtPreset).
class OriginDialogWidget : public QDialog {
    Q_OBJECT
public:
    OriginDialogWidget(Context& ctx, OriginDialog& logic, QWidget* parent = nullptr);
    ~OriginDialogWidget() override;

    // Draws the logic's state on the controls (also while an exchange runs).
    void render();
    // The exchange buttons are off, with the reason, while another transfer holds the line.
    void renderLineBusy();
    // Captions from the current language.
    void relabel();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Context& ctx_;
    OriginDialog& logic_;
    std::array<QLabel*, 16> LblNumProg{};
    std::array<QLineEdit*, 16> TxtPreset{};
    std::array<QLineEdit*, 16> TxtOrigin{};
    QCheckBox* ChkOrig = nullptr;
    QPushButton* PulsRx = nullptr;
    QPushButton* PulsTx = nullptr;
    QPushButton* PulsClonaPres = nullptr;
    QPushButton* PulsClonaOrig = nullptr;
    QLabel* LblPreset = nullptr;
    QLabel* LblOrigin = nullptr;
    bool exchanging_ = false;  // our own exchange runs
};

}  // namespace gyrel
