#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace gyrel {

// A repeating timer in the manner of a window timer: while enabled it fires
// every interval until disabled. Its callback runs on the one logic thread,
// from inside whatever wait is pumping events at the time.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool enabled() const = 0;
    std::function<void()> onTick;
};

// Time and the event pump. Every wait of the program goes through here, so the
// real implementation waits inside the Qt event loop and the virtual one (tests)
// advances simulated time instantly.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double nowMs() const = 0;         // monotonic milliseconds
    virtual void pumpEvents() = 0;            // process pending events once
    virtual void waitMs(int ms) = 0;          // wait ms, pumping events meanwhile
    virtual std::unique_ptr<Timer> createTimer() = 0;
    // Waits until cond() holds or timeoutMs passed, pumping events; true when it holds.
    virtual bool waitUntil(const std::function<bool()>& cond, int timeoutMs);
};

}  // namespace gyrel
