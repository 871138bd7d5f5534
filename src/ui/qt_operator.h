#pragma once
#include <QString>

#include "platform/operator.h"

class QWidget;

namespace gyrel {

// Message boxes, file dialogs and the beep over Qt Widgets (kept beside the
// windows because it needs Qt Widgets, which the command line does without).
class QtOperator : public Operator {
public:
    explicit QtOperator(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void beep() override;

private:
    QWidget* parent_;
};

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" in Qt's form
// "Text Files (*.TXT *.txt);;All Files (*)": description and patterns in pairs;
// each pattern also in its other letter case, since file names on Linux are
// case sensitive and files come both ways.
QString qtFileFilter(const std::string& filter);

}  // namespace gyrel
