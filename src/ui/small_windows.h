#pragma once
#include <QDialog>
#include <QPointer>
#include <array>
#include <map>
#include <memory>

#include "app/context.h"
#include "dialogs/credit_form.h"
#include "dialogs/filt_form.h"
#include "dialogs/position_test_form.h"
#include "dialogs/wait_form.h"
#include "editor/editor_state.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;
class QPushButton;
class QRadioButton;

namespace gyrel::ui {
class ShapeWidget;

// Shows or hides a window to match its logic's visible flag.
void followVisible(QWidget* w, bool visible);

// The receive time-out dialog Filtform.
class FiltformWindow : public QDialog {
public:
    FiltformWindow(Context& ctx, FiltForm& logic, QWidget* parent = nullptr);
    void refresh();
    QRadioButton* option(int index) const { return options_.at(index); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    Context& ctx_;
    FiltForm& logic_;
    std::map<int, QRadioButton*> options_;
};

// The position test window Form3.
class Form3Window : public QDialog {
public:
    Form3Window(Context& ctx, PositionTestForm& logic, QWidget* parent = nullptr);
    void refresh();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    Context& ctx_;
    PositionTestForm& logic_;
    QLabel* label10_;
    QLineEdit* password_;
    QGroupBox* frame1_;
    QLineEdit* txtPrimi_;
    QLineEdit* txtSuccessivi_;
    QLabel* label6_;
    QLabel* lblMax_;
    QLabel* lblMin_;
    QLabel* label4_;
    QLabel* label5_;
    std::array<QLabel*, 3> headers_{};
    std::array<QLabel*, 15> lines_{};
    QPushButton* command1_;
    std::array<QLabel*, 3> captions_{};
};

// The progress window WaitForm over a WaitView: the label, the bar, the bytes on
// the line and Cancel, then a count bar with the time left and, when the work is
// over, how it ended, shown for a few seconds without asking for a click.
class WaitFormWindow : public QDialog {
public:
    static constexpr int kOutcomeMs = 4000;  // how long the outcome stays up

    WaitFormWindow(WaitView& view, WaitForm& logic, QWidget* parent = nullptr);
    // Keeps its own logic (the editor's progress window lives and dies with the editor).
    WaitFormWindow(WaitView& view, std::unique_ptr<WaitForm> logic, QWidget* parent = nullptr);
    void refresh();
    // The window it was shown above (the one the operator was using).
    QWidget* starter() const { return starter_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
    void changeEvent(QEvent* e) override;

private:
    void stackAboveStarter();
    void showCount();

    std::unique_ptr<WaitForm> owned_;
    WaitView& view_;
    WaitForm& logic_;
    QLabel* label1_;
    QFrame* barFrame_;
    ShapeWidget* bar_;
    QLineEdit* text1_;
    QProgressBar* count_;
    QLabel* timeLeft_;
    QLabel* outcome_;
    QPushButton* command1_;
    QTimer* outcomeTimer_;
    QPointer<QWidget> starter_;
    bool lingering_ = false;
    int endingsShown_ = 0;
};

// The about box creditform, also the start-up splash.
class CreditformWindow : public QDialog {
public:
    CreditformWindow(Context& ctx, CreditForm& logic, QWidget* parent = nullptr);
    void refresh();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    Context& ctx_;
    CreditForm& logic_;
    QLabel* version_;
    QLabel* contact_;
};

}  // namespace gyrel::ui
