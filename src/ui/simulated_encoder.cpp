#include "ui/simulated_encoder.h"

#include "device/model_table.h"

namespace gyrel::ui {

std::string simulatedModelFor(const std::string& requested, const std::string& stored) {
    if (!requested.empty()) return findModel(requested) ? requested : "NORM";
    // The program comes up with the stored model unless start-up replaces it.
    const ModelInfo* m = findModel(stored);
    return m && m->restoredAtStart ? stored : "NORM";
}

SimulatedEncoder::SimulatedEncoder(const std::string& modelCode, Clock& clock) : clock_(clock) {
    code_ = findModel(modelCode) ? modelCode : "NORM";
    device_ = makeDevice(code_);
    port_ = std::make_unique<sim::InProcessPort>(*device_, clock_);
}

// A shaft turning once in eight seconds (multi-turn models: a turn in four),
// and the outputs changing every eighth of a turn.
std::unique_ptr<sim::Device> SimulatedEncoder::makeDevice(const std::string& code) const {
    auto device = std::make_unique<sim::Device>(code);
    const ModelInfo& m = device->model();
    const double turn = m.stepsPerTurn > 0 ? m.stepsPerTurn : m.maxPosition + 1;
    const double now = clock_.nowMs();
    device->setShaftSpeed(m.stepsPerTurn > 0 ? turn / 4.0 : turn / 8.0, now);
    device->setPosition(0, now);
    const std::uint32_t outputsMask = m.outputs >= 32 ? 0xFFFFFFFFu : ((1u << m.outputs) - 1);
    const std::uint32_t masks[] = {0x0001, 0x0003, 0x0106, 0x010C, 0x0818, 0x0830, 0x8060, 0x80C0};
    const double step = turn / 8;
    const double range = m.maxPosition + 1;
    sim::CamTable table;
    for (std::size_t i = 0; i < 120 && step * static_cast<double>(i) < range; ++i)
        table.push_back({static_cast<std::uint32_t>(step * static_cast<double>(i)), masks[i % 8] & outputsMask});
    device->setProgram(0, table);
    return device;
}

void SimulatedEncoder::switchModel(const std::string& modelCode) {
    if (modelCode == code_ || !findModel(modelCode)) return;
    const int number = port_->commPort();
    const std::string name = port_->portName();
    const std::string settings = port_->settings();
    const int handshaking = port_->handshaking();
    const InputMode mode = port_->inputMode();
    const bool open = port_->portOpen();
    auto device = makeDevice(modelCode);
    auto port = std::make_unique<sim::InProcessPort>(*device, clock_);
    port->setCommPort(number);
    port->setPortName(name);
    port->setSettings(settings);
    port->setHandshaking(handshaking);
    port->setInputMode(mode);
    if (open) port->setPortOpen(true);
    port_ = std::move(port);
    device_ = std::move(device);
    code_ = modelCode;
}

}  // namespace gyrel::ui
