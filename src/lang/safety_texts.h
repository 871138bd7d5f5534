#pragma once
#include <string>

namespace gyrel {

// The texts of the backup, restore, compare and verify windows and reports,
// in the three languages like the other text sets ("FR" French, "EN" and "DE"
// English, anything else Italian). UTF-8. "%1" stands for a number.
struct SafetyTexts {
    const char* backupEntry;      // editor menu File
    const char* restoreEntry;
    const char* compareEntry;
    const char* verifyEntry;      // editor menu Settings, check item
    const char* backupTitle;
    const char* restoreTitle;
    const char* compareTitle;
    const char* slotOf;           // "Slot %1 of 16"
    const char* timeLeft;         // "%1 s left"
    const char* notAvailable;     // the model cannot send programs back
    const char* folderExists;     // the chosen backup folder already exists
    const char* backupDone;
    const char* backupNotMade;
    const char* planIntro;        // before the plan's lines
    const char* planQuestion;     // after them
    const char* slotProgram;      // "Slot %1:"
    const char* leftAlone;        // empty in the backup, left alone
    const char* written;          // written and verified
    const char* writtenDiffers;   // written, but differs when read back
    const char* notWritten;
    const char* readFailed;
    const char* cancelled;        // the job was cancelled
    const char* presetsWritten;
    const char* presetsNotWritten;
    const char* restoreDone;
    const char* restoreNotDone;
    const char* verifyDiffers;    // "Program %1 differs from the device after the download"
    const char* verifyReadFailed; // "Program %1 could not be read back"
    const char* emptyOnDevice;
    const char* fileMissing;
    const char* fileBad;
    const char* same;
    const char* differs;
    const char* emptySame;
    const char* notEmpty;
    const char* notListed;
    const char* saveButton;
    const char* closeButton;
    const char* columnSlot;
    const char* columnState;
    const char* columnDetail;
    const char* writtenNotVerified;
};

const SafetyTexts& safetyTextsFor(const std::string& languageCode);

// The text with every "%1" replaced by n.
std::string withNumber(const char* text, long long n);

}  // namespace gyrel
