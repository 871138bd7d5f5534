#include "platform/memory_settings_store.h"

namespace gyrel {

namespace {
std::string folded(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}
}  // namespace

std::string MemorySettingsStore::slot(const std::string& section, const std::string& key) {
    // A separator that cannot occur in a name keeps "ab"+"c" apart from "a"+"bc".
    return folded(section) + '\x1f' + folded(key);
}

std::optional<std::string> MemorySettingsStore::get(const std::string& section, const std::string& key) const {
    const auto it = values_.find(slot(section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsStore::set(const std::string& section, const std::string& key, const std::string& value) {
    values_[slot(section, key)] = value;
    writes_.push_back({section, key, value});
}

}  // namespace gyrel
