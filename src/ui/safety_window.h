#pragma once
#include <QDialog>
#include <memory>

#include "app/context.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace gyrel {
class EditorWindow;
class SerialLink;
struct CompareReport;
}

namespace gyrel::ui {

// The report of a compare: one coloured row per slot, and Save as plain text.
class CompareReportWindow : public QDialog {
public:
    CompareReportWindow(Context& ctx, QWidget* parent = nullptr);
    void show(const CompareReport& report);

    QTableWidget* table = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    Context& ctx_;
    std::string text_;
};

// The progress of a backup, restore or compare: slot n of 16, a bar of the
// steps done of all, time left, Cancel. The report that follows tells the outcome.
class SafetyProgressWindow : public QDialog {
public:
    explicit SafetyProgressWindow(Context& ctx);
    QLabel* slot = nullptr;
    QProgressBar* count = nullptr;
    QLabel* left = nullptr;
    QPushButton* cancel = nullptr;
    bool cancelled = false;
};

// Backup, restore and compare for the windows. It belongs to the application,
// not to the editor: a job runs over the application's link to its end even
// when the editor window is closed meanwhile, and its progress and report
// windows are its own.
class SafetyRunner {
public:
    SafetyRunner(Context& ctx, SerialLink& link);
    ~SafetyRunner();

    // Adds "Back up device…", "Restore device…" and the compare entry to the
    // editor's File menu, the "Verify after download" check item to its Tools
    // menu, and the verification to its download button.
    void attach(EditorWindow& editor);
    void relabel();

    void backup();
    void restore();
    void compare();
    bool running() const { return running_; }

    SafetyProgressWindow* progress() { return progress_.get(); }
    CompareReportWindow* report() { return report_.get(); }

private:
    struct Actions;
    bool begin(const char* title);
    void end();
    bool available() const;

    Context& ctx_;
    SerialLink& link_;
    std::unique_ptr<SafetyProgressWindow> progress_;
    std::unique_ptr<CompareReportWindow> report_;
    std::unique_ptr<Actions> actions_;
    bool running_ = false;
};

}  // namespace gyrel::ui
