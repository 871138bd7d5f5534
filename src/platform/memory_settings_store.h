#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace gyrel {

// A settings store held in memory, for tests and for command-line runs that must
// not touch the user's stored settings. Section and key names are compared
// without regard to case, as in the platform's own store.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> get(const std::string& section, const std::string& key) const override;
    void set(const std::string& section, const std::string& key, const std::string& value) override;

    // Every write in the order it happened, with the key as the caller spelled it.
    struct Write {
        std::string section, key, value;
    };
    const std::vector<Write>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

private:
    static std::string slot(const std::string& section, const std::string& key);
    std::map<std::string, std::string> values_;
    std::vector<Write> writes_;
};

}  // namespace gyrel
