#pragma once
#include <array>
#include <string>

namespace gyrel {

// One language's two text tables: messages (MsgText 0..50) and labels (UiText 0..30). UTF-8.
struct TextSet {
    std::array<const char*, 51> msg;
    std::array<const char*, 31> ui;
    // Why an action that would disturb a running transfer is refused.
    const char* lineBusy;
    // Asked when the editor is closed while a transfer runs: Yes cancels it and
    // closes, No keeps waiting.
    const char* closeDuringTransfer;
};

// "FR" French, "EN" and "DE" English, anything else Italian.
const TextSet& textSetFor(const std::string& languageCode);

// Caption of the editor's output button n (1..16): UiText(22) + " out " + n.
std::string sendOutputCaption(const TextSet& texts, int outputNumber);

}  // namespace gyrel
