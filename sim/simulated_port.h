#pragma once
#include <memory>
#include <string>

#include "platform/clock.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"

namespace gyrel::sim {

// A port that owns its simulated device, for running the whole program without
// hardware (gyrel --simulate): the shaft turns a turn every ten seconds from the
// clock's present time. Raises std::invalid_argument for an unknown model code.
std::unique_ptr<InProcessPort> makeSimulatedPort(const std::string& modelCode, Clock& clock);

}  // namespace gyrel::sim
