#pragma once
// The --port value of the device jobs, checked before any port is opened: an
// empty value (an unset shell variable) must never fall back to whatever port
// the system lists first.
#include <iosfwd>
#include <string>

namespace gyrel::cli {

// Why `port` names no serial port ("" when it may name one).
std::string portNameProblem(const std::string& port);

// False, with the reason on err, when portNameProblem finds one.
bool portNameUsable(std::ostream& err, const std::string& port);

}  // namespace gyrel::cli
