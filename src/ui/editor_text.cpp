#include "ui/editor_text.h"

#include <QApplication>
#include <QPalette>

#include "platform/cp1252.h"

namespace gyrel {

QString programTextForDisplay(const std::string& bytes) {
    std::string lines;
    lines.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        lines += bytes[i];
    }
    return QString::fromStdString(cp1252ToUtf8(lines));
}

std::string programTextFromDisplay(const QString& shown) {
    QString text = shown;
    text.replace(QChar(0x2029), QChar('\n'));  // paragraph separators of a rich text box
    const std::string bytes = utf8ToCp1252(text.toStdString());
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out += '\r';
        out += bytes[i];
    }
    return out;
}

int displayIndexOf(const std::string& bytes, int byteIndex) {
    int shown = 0;
    const int end = std::min<int>(byteIndex, static_cast<int>(bytes.size()));
    for (int i = 0; i < end; ++i) {
        const bool hiddenCr = bytes[i] == '\r' && i + 1 < static_cast<int>(bytes.size()) && bytes[i + 1] == '\n';
        if (!hiddenCr) ++shown;
    }
    return shown + std::max(0, byteIndex - end);
}

int byteIndexOf(const std::string& bytes, int displayIndex) {
    int shown = 0;
    int i = 0;
    const int size = static_cast<int>(bytes.size());
    while (i < size && shown < displayIndex) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') ++i;
        ++i;
        ++shown;
    }
    return i + (displayIndex - shown);
}

QColor colourOf(ColourValue value) {
    if (value & 0x80000000u) return QApplication::palette().color(QPalette::Base);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int windowsKeyCode(int key, const QString& text) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Print: return 44;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    // Punctuation and accented letters: an editing key outside the moving ranges
    // (their characters' own codes would collide with the arrow keys).
    if (!text.isEmpty()) return 222;
    return 0;
}

}  // namespace gyrel
