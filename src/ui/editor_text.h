#pragma once
#include <QColor>
#include <QString>
#include <string>

#include "device/model_table.h"
#include "editor/editor_state.h"

namespace gyrel {

// The program text as the text box shows it: Windows-1252 bytes decoded, each
// CR LF shown as one line break.
QString programTextForDisplay(const std::string& bytes);
// What the operator sees turned back into the program's bytes, line ends as CR LF.
std::string programTextFromDisplay(const QString& shown);

// Character positions differ by one for every CR LF before them.
int displayIndexOf(const std::string& bytes, int byteIndex);
int byteIndexOf(const std::string& bytes, int displayIndex);

// A stored colour value (red in the low byte; 0x80000005 the system window colour).
QColor colourOf(ColourValue value);
inline QColor colourOf(Rgb c) { return QColor(c.r, c.g, c.b); }

// The window system's code of a key, as the editor's key handlers expect it.
int windowsKeyCode(int qtKey, const QString& text);

}  // namespace gyrel
