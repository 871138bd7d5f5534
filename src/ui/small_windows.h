#pragma once
#include <QDialog>
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

// The progress window WaitForm over a WaitView.
class WaitFormWindow : public QDialog {
public:
    WaitFormWindow(WaitView& view, WaitForm& logic, QWidget* parent = nullptr);
    // Keeps its own logic (the editor's progress window lives and dies with the editor).
    WaitFormWindow(WaitView& view, std::unique_ptr<WaitForm> logic, QWidget* parent = nullptr);
    void refresh();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
    void changeEvent(QEvent* e) override;

private:
    std::unique_ptr<WaitForm> owned_;
    WaitView& view_;
    WaitForm& logic_;
    QLabel* label1_;
    QFrame* barFrame_;
    ShapeWidget* bar_;
    QLineEdit* text1_;
    QPushButton* command1_;
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
