#include "sim/simulated_port.h"

namespace gyrel::sim {

namespace {

// The device must exist before the port that refers to it is built.
struct DeviceHolder {
    explicit DeviceHolder(const std::string& code) : ownedDevice(code) {}
    Device ownedDevice;
};

class OwningPort : private DeviceHolder, public InProcessPort {
public:
    OwningPort(const std::string& code, Clock& clock) : DeviceHolder(code), InProcessPort(ownedDevice, clock) {}
};

}  // namespace

std::unique_ptr<InProcessPort> makeSimulatedPort(const std::string& modelCode, Clock& clock) {
    auto port = std::make_unique<OwningPort>(modelCode, clock);
    const ModelInfo& m = port->device().model();
    const double perTurn = m.stepsPerTurn > 0 ? m.stepsPerTurn : m.maxPosition + 1;
    port->device().setShaftSpeed(perTurn / 10, clock.nowMs());
    return port;
}

}  // namespace gyrel::sim
