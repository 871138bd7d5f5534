#include "sim/line_time.h"

#include <sstream>
#include <vector>

namespace gyrel::sim {

double byteTimeMs(const std::string& settings) {
    std::vector<std::string> parts;
    std::stringstream in(settings);
    for (std::string p; std::getline(in, p, ',');) parts.push_back(p);
    double speed = 9600, data = 8, stop = 1, parity = 0;
    try {
        if (parts.size() > 0) speed = std::stod(parts[0]);
        if (parts.size() > 1) parity = (parts[1] == "n" || parts[1] == "N") ? 0 : 1;
        if (parts.size() > 2) data = std::stod(parts[2]);
        if (parts.size() > 3) stop = std::stod(parts[3]);
    } catch (...) {
        speed = 9600;
    }
    if (speed <= 0) speed = 9600;
    return (1 + data + parity + stop) * 1000.0 / speed;
}

}  // namespace gyrel::sim
