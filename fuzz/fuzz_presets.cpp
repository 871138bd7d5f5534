// The presets file of a backup, and the empty-slot lines of its list, on any
// bytes: never a crash, hang or read out of bounds; whatever is accepted
// survives being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "safety/backup_list.h"
#include "safety/presets_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const gyrel::PresetsReadResult r = gyrel::parsePresets(bytes);
    if (!r.ok) {
        for (const auto& e : r.table)
            if (e) std::abort();  // a refused file gives nothing
        if (r.why.empty()) std::abort();
    } else {
        const gyrel::PresetsReadResult again = gyrel::parsePresets(gyrel::formatPresets(r.table));
        if (!again.ok) std::abort();
        for (std::size_t k = 0; k < 16; ++k) {
            if (again.table[k].has_value() != r.table[k].has_value()) std::abort();
            if (r.table[k] && (again.table[k]->preset != r.table[k]->preset ||
                               again.table[k]->origin != r.table[k]->origin))
                std::abort();
        }
    }
    const gyrel::BackupListRead list = gyrel::readBackupList(bytes, "/b/backup.lis");
    for (std::size_t k = 0; k < 16 && list.ok; ++k)
        if (list.empty[k] && !list.paths[k].empty()) std::abort();  // a slot is either empty or names a file
    return 0;
}
