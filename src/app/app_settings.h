#pragma once
#include <string>

#include "platform/settings_store.h"

namespace gyrel {

// Where the settings live in the platform's per-user store.
constexpr const char* kSettingsApplication = "OBR_gyrel";
constexpr const char* kSettingsSection = "startup";

// The values kept between runs: read once at start-up, written once at shutdown.
// A fresh object holds the defaults. A stored value that cannot be converted
// (not a number, out of the type's range) gives the default instead.
struct AppSettings {
    int RxTimeoutFactor;       // "Filtro10": receive rounds of the reply wait (1, 10, 100)
    std::string LanguageCode;  // "Language": "IT", "EN", "DE", "FR"
    std::string PercorsoTxt;   // "PercorsoTxt": current program file
    int PortaMem;              // "PortaMem": serial port number, never 0
    int GraphScale;            // "scala": graph zoom (byte)
    int GraphPitch;            // "Passo": degrees between graph grid lines
    std::string ModelType;     // "Tipo": model code
    std::string SpeedText;     // "Velo": line speed
    std::string Primi;         // "Primi": position-test tolerance, first two turns
    std::string Success;       // "Success": position-test tolerance afterwards
    std::string PortName;      // "PortName": device path of the port; empty = use PortaMem
    int VerifyAfterDownload;   // "VerifyAfterDownload": 1 = read every download back and compare

    AppSettings();  // the defaults

    // Reads every key; a missing or unusable value yields its default.
    void read(const SettingsStore& store);
    // Writes every key in the fixed order; "Filtro10" is left alone while the
    // model is "V712" (its factor of 100 belongs to the model, not to the operator).
    void write(SettingsStore& store) const;
};

}  // namespace gyrel
