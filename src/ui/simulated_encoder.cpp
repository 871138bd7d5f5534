#include "ui/simulated_encoder.h"

#include "device/model_table.h"
#include "sim/simulated_port.h"

namespace gyrel::ui {
namespace {

void setUpDemo(sim::Device& device, Clock& clock) {
    const ModelInfo& m = device.model();
    const double turn = m.stepsPerTurn > 0 ? m.stepsPerTurn : m.maxPosition + 1;
    const double now = clock.nowMs();
    device.setPosition(0, now);
    device.setShaftSpeed(m.stepsPerTurn > 0 ? turn / 4.0 : turn / 8.0, now);
    const std::uint32_t outputsMask = m.outputs >= 32 ? 0xFFFFFFFFu : ((1u << m.outputs) - 1);
    const std::uint32_t masks[] = {0x0001, 0x0003, 0x0106, 0x010C, 0x0818, 0x0830, 0x8060, 0x80C0};
    const double step = turn / 8;
    const double range = m.maxPosition + 1;
    sim::CamTable table;
    for (std::size_t i = 0; i < 120 && step * static_cast<double>(i) < range; ++i)
        table.push_back({static_cast<std::uint32_t>(step * static_cast<double>(i)), masks[i % 8] & outputsMask});
    device.setProgram(0, table);
}

}  // namespace

std::string simulatedModelFor(const std::string& requested, const std::string& stored) {
    if (!requested.empty()) return findModel(requested) ? requested : "NORM";
    const ModelInfo* m = findModel(stored);
    return m && m->restoredAtStart ? stored : "NORM";
}

std::unique_ptr<sim::InProcessPort> makeDemoEncoder(const std::string& modelCode, Clock& clock) {
    auto port = sim::makeSimulatedPort(findModel(modelCode) ? modelCode : "NORM", clock);
    setUpDemo(port->device(), clock);
    return port;
}

void switchDemoModel(sim::InProcessPort& port, const std::string& modelCode, Clock& clock) {
    if (!findModel(modelCode) || port.device().model().code == modelCode) return;
    port.device().setModel(modelCode);
    setUpDemo(port.device(), clock);
}

}  // namespace gyrel::ui
