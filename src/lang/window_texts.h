#pragma once
#include <string>

namespace gyrel {

// Texts of the windows beyond the two numbered tables: the progress window's bar,
// time and outcome lines and the buttons of message boxes. UTF-8.
struct WindowTexts {
    const char* framesOf;   // "{done} of {total} frames"
    const char* timeLeft;   // "Time left"
    const char* sent;       // the transfer ended well
    const char* received;
    const char* failed;     // followed by ": " and why
    const char* cancelled;
    const char* noReply;    // why: the device did not answer
    const char* badReply;   // why: the answer could not be read
    const char* noPort;     // why: the serial port could not be opened
    const char* refused;    // why: the program cannot be sent
    const char* programErrors;  // why: the check found errors
    const char* yes;
    const char* no;
    const char* ok;
    const char* cancel;
};

// "FR" French, "EN" and "DE" English, anything else Italian (as the numbered tables).
const WindowTexts& windowTextsFor(const std::string& languageCode);

}  // namespace gyrel
