#include "app/app_settings.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/working_folder.h"

namespace gyrel {

namespace {

enum class Kind {
    Text,
    Path,       // text; the default is a file name in the working folder
    Factor,     // numeric value rounded to a 16-bit integer, at least 1
    Int16,      // 16-bit integer
    Port,       // 16-bit integer, 0 taken as 1
    Byte,       // 0..255
};

struct Field {
    const char* readKey;   // spelling used when reading (the store ignores case)
    const char* writeKey;  // spelling used when writing
    const char* defaultText;
    Kind kind;
    std::string AppSettings::*text;
    int AppSettings::*number;
};

// In the order the values are written at shutdown.
const Field kFields[] = {
    {"filtro10", "Filtro10", "1", Kind::Factor, nullptr, &AppSettings::RxTimeoutFactor},
    {"Language", "Language", "IT", Kind::Text, &AppSettings::LanguageCode, nullptr},
    {"PercorsoTxt", "PercorsoTxt", "Gyrel.Txt", Kind::Path, &AppSettings::PercorsoTxt, nullptr},
    {"PortaMem", "PortaMem", "1", Kind::Port, nullptr, &AppSettings::PortaMem},
    {"scala", "scala", "2", Kind::Byte, nullptr, &AppSettings::GraphScale},
    {"passo", "Passo", "45", Kind::Int16, nullptr, &AppSettings::GraphPitch},
    {"Tipo", "Tipo", "NORM", Kind::Text, &AppSettings::ModelType, nullptr},
    {"Primi", "Primi", "20", Kind::Text, &AppSettings::Primi, nullptr},
    {"Success", "Success", "200", Kind::Text, &AppSettings::Success, nullptr},
    {"Velo", "Velo", "9600", Kind::Text, &AppSettings::SpeedText, nullptr},
    {"PortName", "PortName", "", Kind::Text, &AppSettings::PortName, nullptr},
    {"VerifyAfterDownload", "VerifyAfterDownload", "0", Kind::Byte, nullptr, &AppSettings::VerifyAfterDownload},
};

// The whole text as a number (surrounding blanks allowed), rounded half to even
// like the conversions the stored values were written for.
std::optional<long> roundedNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) return std::nullopt;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(v) || std::fabs(v) > 1e9) return std::nullopt;
    return static_cast<long>(std::nearbyint(v));
}

std::optional<int> convertNumber(Kind kind, const std::string& text) {
    const auto n = roundedNumber(text);
    if (!n) return std::nullopt;
    switch (kind) {
        case Kind::Factor:
            if (*n < 1 || *n > 32767) return std::nullopt;
            break;
        case Kind::Int16:
            if (*n < -32768 || *n > 32767) return std::nullopt;
            break;
        case Kind::Port:
            if (*n == 0) return 1;
            if (*n < 1 || *n > 32767) return std::nullopt;
            break;
        case Kind::Byte:
            if (*n < 0 || *n > 255) return std::nullopt;
            break;
        default:
            return std::nullopt;
    }
    return static_cast<int>(*n);
}

void assign(AppSettings& s, const Field& f, const std::string& text) {
    if (f.text) {
        s.*f.text = text;
        return;
    }
    if (auto n = convertNumber(f.kind, text)) {
        s.*f.number = *n;
    } else {
        s.*f.number = *convertNumber(f.kind, f.defaultText);
    }
}

void assignDefault(AppSettings& s, const Field& f) {
    assign(s, f, f.kind == Kind::Path ? inWorkingFolder(f.defaultText) : std::string(f.defaultText));
}

}  // namespace

AppSettings::AppSettings() {
    for (const Field& f : kFields) assignDefault(*this, f);
}

void AppSettings::read(const SettingsStore& store) {
    for (const Field& f : kFields) {
        const auto stored = store.get(kSettingsSection, f.readKey);
        if (stored)
            assign(*this, f, *stored);
        else
            assignDefault(*this, f);
    }
}

void AppSettings::write(SettingsStore& store) const {
    for (const Field& f : kFields) {
        if (f.number == &AppSettings::RxTimeoutFactor && ModelType == "V712") continue;
        store.set(kSettingsSection, f.writeKey, f.text ? this->*f.text : std::to_string(this->*f.number));
    }
}

}  // namespace gyrel
