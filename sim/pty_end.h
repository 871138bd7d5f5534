#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "sim/device.h"

namespace gyrel::sim {

// The simulated device behind a pseudo-terminal, for programs that open a real
// serial port by path. A pseudo-terminal moves bytes instantly, so this end adds
// the line time of every byte at its own speed in both directions, in real time.
// It takes the host's bytes out of the terminal at a UART's pace, each once its
// line time has passed, so bytes a host discards (emptying its output buffer,
// closing) before they had time to leave are lost, as on a real line.
class PtyEnd {
public:
    // settings: the line the device runs at, e.g. "9600,n,8,1"; empty = the model's speed.
    explicit PtyEnd(Device& device, const std::string& settings = "");
    ~PtyEnd();
    PtyEnd(const PtyEnd&) = delete;
    PtyEnd& operator=(const PtyEnd&) = delete;

    // Creates the pseudo-terminal in raw mode; returns the path of the end a
    // program opens. Raises std::runtime_error when the system refuses.
    std::string open();
    const std::string& slavePath() const { return slavePath_; }
    double byteTimeMs() const { return byteTimeMs_; }

    // Serves in the calling thread until stop() is called, *stopFlag becomes
    // true, or the device drops the line (the pseudo-terminal is then closed).
    void serve(const std::atomic<bool>* stopFlag = nullptr);
    // Serves in a thread of its own until stop().
    void start();
    void stop();
    bool lineClosed() const { return lineClosed_; }

    // Device access while serving (tests inspect and switch faults through this).
    template <class F>
    auto withDevice(F f) {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(device_);
    }

private:
    void closeFds();

    Device& device_;
    std::string settings_;
    double byteTimeMs_ = 0;
    int master_ = -1;
    int slaveKeep_ = -1;  // held open so the pseudo-terminal survives clients coming and going
    std::string slavePath_;
    std::mutex mutex_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> lineClosed_{false};
    std::thread thread_;
};

}  // namespace gyrel::sim
