// Stored settings on any text: reading must never crash, and every number it
// keeps is one the program can use (a port from 1, a factor from 1, a byte scale).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/app_settings.h"
#include "platform/memory_settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kKeys[] = {"Filtro10", "Language", "PercorsoTxt", "PortaMem", "scala", "Passo",
                                        "Tipo",     "Primi",    "Success",     "Velo",     "PortName"};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    gyrel::MemorySettingsStore store;
    std::size_t start = 0;
    for (const char* key : kKeys) {
        if (start > bytes.size()) break;
        const std::size_t end = bytes.find('\n', start);
        const std::string value = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        store.set(gyrel::kSettingsSection, key, value);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    gyrel::AppSettings s;
    s.read(store);
    if (s.PortaMem < 1 || s.RxTimeoutFactor < 1 || s.GraphScale < 0 || s.GraphScale > 255) std::abort();
    if (s.GraphPitch < -32768 || s.GraphPitch > 32767) std::abort();
    // What is written reads back the same; the time-out factor is not written
    // while the model is "V712", so it then reads back as its default.
    gyrel::MemorySettingsStore again;
    s.write(again);
    gyrel::AppSettings back;
    back.read(again);
    if (back.PortaMem != s.PortaMem || back.GraphPitch != s.GraphPitch || back.SpeedText != s.SpeedText ||
        back.PercorsoTxt != s.PercorsoTxt ||
        back.RxTimeoutFactor != (s.ModelType == "V712" ? 1 : s.RxTimeoutFactor))
        std::abort();
    return 0;
}
