#pragma once
#include <QDialog>
#include <map>
#include <string>

#include "settings/set_seriale.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace gyrel::ui {

// The serial port settings dialog SetSeriale: draws the logic's view and
// forwards every click. Non-modal: the logic waits while it is visible.
class SetSerialeWindow : public QDialog {
public:
    SetSerialeWindow(SetSeriale& logic, QWidget* parent = nullptr);
    void refresh();
    QRadioButton* option(const std::string& objectName) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;  // Escape
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QRadioButton* addOption(QGroupBox* group, const char* name, const char* caption, std::function<void()> click);
    void act(const std::function<void()>& f);

    SetSeriale& logic_;
    std::map<std::string, QRadioButton*> options_;
    QGroupBox* comGroup_ = nullptr;
    std::array<QGroupBox*, 6> otherGroups_{};
    std::array<QRadioButton*, 6> comPort_{};
    QComboBox* combo1_ = nullptr;
    QLabel* failure_ = nullptr;
    QPushButton* advButton_ = nullptr;
    bool advancedShown_ = true;
    bool updating_ = false;
};

}  // namespace gyrel::ui
