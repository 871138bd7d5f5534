#include "cli/port_name.h"

#include <cctype>
#include <ostream>

namespace gyrel::cli {

std::string portNameProblem(const std::string& port) {
    if (port.find_first_not_of(" \t") == std::string::npos)
        return "--port is empty: name the serial port, such as /dev/ttyUSB0 or COM3";
#ifndef _WIN32
    const bool comName = port.size() > 3 && std::toupper(static_cast<unsigned char>(port[0])) == 'C' &&
                         std::toupper(static_cast<unsigned char>(port[1])) == 'O' &&
                         std::toupper(static_cast<unsigned char>(port[2])) == 'M' &&
                         port.find_first_not_of("0123456789", 3) == std::string::npos;
    if (comName)
        return "--port " + port +
               " is a Windows port name; on Linux serial ports are device files: /dev/ttyS* (built-in ports), "
               "/dev/ttyUSB* (USB serial adapters), /dev/ttyACM* (USB modem-class devices)";
#endif
    return {};
}

bool portNameUsable(std::ostream& err, const std::string& port) {
    const std::string why = portNameProblem(port);
    if (why.empty()) return true;
    err << why << '\n';
    return false;
}

}  // namespace gyrel::cli
