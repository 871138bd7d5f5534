#pragma once
#include <optional>
#include <string>

namespace gyrel {

// Message box icons and buttons, with the answers a box returns.
enum class MsgIcon { None, Stop, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo, OkCancel, YesNoCancel };
enum MsgAnswer { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

struct FileDialogRequest {
    std::string title;
    std::string filter;       // "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"
    std::string initialPath;  // file name or folder proposed
};

// Everything the logic asks of the person at the screen. Texts are UTF-8.
class Operator {
public:
    virtual ~Operator() = default;
    virtual int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                           const std::string& title) = 0;
    // An empty result means the dialog was cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;
    virtual void beep() = 0;
};

}  // namespace gyrel
