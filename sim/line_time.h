#pragma once
#include <string>

namespace gyrel::sim {

// Milliseconds one byte takes on the line for a port Settings text such as
// "9600,n,8,1": start bit, data bits, parity bit if any, stop bits.
double byteTimeMs(const std::string& settings);

}  // namespace gyrel::sim
