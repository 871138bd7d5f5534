#pragma once
#include <QString>
#include <memory>

#include "platform/settings_store.h"

class QSettings;

namespace gyrel {

// The settings store over QSettings, organisation and application "OBR_gyrel".
// Sections are QSettings groups. Key names are compared without regard to case:
// a read finds the stored key whose lower-case form matches, and a write
// replaces every spelling of the key by the one given.
//
// Where the values live: the file given to the constructor (an INI file);
// else the INI file named by the environment variable GYREL_SETTINGS; else the
// platform's own place for the user's settings (the registry on Windows).
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(const QString& iniFile = QString());
    ~QtSettingsStore() override;

    std::optional<std::string> get(const std::string& section, const std::string& key) const override;
    void set(const std::string& section, const std::string& key, const std::string& value) override;
    // Writes pending changes to permanent storage.
    void sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace gyrel
