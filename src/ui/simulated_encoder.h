#pragma once
#include <memory>
#include <string>

#include "platform/clock.h"
#include "sim/inprocess_port.h"

namespace gyrel::ui {

// The encoder that `gyrel --simulate` watches: the simulator's in-process port
// with its own device, the shaft turning (a turn in eight seconds, four on
// multi-turn models so that the turns count up) and a program in the first slot
// whose outputs change every eighth of a turn.
std::unique_ptr<sim::InProcessPort> makeDemoEncoder(const std::string& modelCode, Clock& clock);

// The device becomes one of another model (the model menu, unless a model was
// fixed on the command line); its shaft restarts from 0 with the demo program.
void switchDemoModel(sim::InProcessPort& port, const std::string& modelCode, Clock& clock);

// The model a simulator starts with: the code given, else the stored one
// ("Tipo") as start-up will apply it; unknown codes (and a stored "Px71",
// which start-up turns into "NORM") give "NORM".
std::string simulatedModelFor(const std::string& requested, const std::string& stored);

}  // namespace gyrel::ui
