#pragma once
#include <optional>
#include <string>

namespace gyrel {

// The per-user settings store (application "OBR_gyrel"). Values are text.
// Implementations compare key names without regard to case.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> get(const std::string& section, const std::string& key) const = 0;
    virtual void set(const std::string& section, const std::string& key, const std::string& value) = 0;
};

}  // namespace gyrel
