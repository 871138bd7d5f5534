#pragma once
#include <QElapsedTimer>
#include <memory>

#include "platform/clock.h"

namespace gyrel {

// Time and the event pump over Qt. A wait runs a local event loop until a
// single-shot timer ends it, so a waiting program sleeps in the event
// dispatcher instead of spinning, while windows, timers and serial data go on.
class QtClock : public Clock {
public:
    QtClock();
    double nowMs() const override;
    void pumpEvents() override;
    void waitMs(int ms) override;
    std::unique_ptr<Timer> createTimer() override;

private:
    QElapsedTimer elapsed_;
};

}  // namespace gyrel
