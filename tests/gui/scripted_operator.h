#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/operator.h"

namespace gyrel::test {

// Answers every message box with a scripted answer (OK by default) and keeps its text.
struct ScriptedOperator : Operator {
    std::vector<std::string> boxes;
    int answer = AnswerOk;
    int beeps = 0;
    int messageBox(const std::string& prompt, MsgButtons, MsgIcon, const std::string& title) override {
        boxes.push_back(title + "|" + prompt);
        return answer;
    }
    // The file a file dialog chooses (none: cancelled).
    std::optional<std::string> openChoice, saveChoice;
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return openChoice; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return saveChoice; }
    void beep() override { ++beeps; }
};

}  // namespace gyrel::test
