#pragma once
#include <QString>
#include <functional>

#include "lang/window_texts.h"
#include "platform/operator.h"

class QWidget;

namespace gyrel {

// Message boxes, file dialogs and the beep over Qt Widgets (kept beside the
// windows because it needs Qt Widgets, which the command line does without).
class QtOperator : public Operator {
public:
    explicit QtOperator(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // The language of the buttons (Yes, No, OK, Cancel); English when unset.
    void setLanguage(std::function<std::string()> code) { language_ = std::move(code); }
    // The window a box or dialog belongs over: the one the operator is using.
    QWidget* owner() const;

    int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void beep() override;

private:
    QWidget* parent_;
    std::function<std::string()> language_;
};

// Where a file dialog opens: in the folder of the proposed file, else in the
// working folder (never the process's current folder).
QString dialogStartPath(const std::string& proposed);

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" in Qt's form
// "Text Files (*.TXT *.txt);;All Files (*)": description and patterns in pairs;
// each pattern also in its other letter case, since file names on Linux are
// case sensitive and files come both ways.
QString qtFileFilter(const std::string& filter);

}  // namespace gyrel
