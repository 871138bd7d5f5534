#include "platform/qt/qt_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace gyrel {
namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTick) onTick();
        });
    }
    void setInterval(int ms) override { timer_.setInterval(ms < 0 ? 0 : ms); }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool on) override {
        if (on && !timer_.isActive()) timer_.start();
        if (!on) timer_.stop();
    }
    bool enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

}  // namespace

QtClock::QtClock() { elapsed_.start(); }

double QtClock::nowMs() const { return static_cast<double>(elapsed_.nsecsElapsed()) / 1e6; }

void QtClock::pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtClock::waitMs(int ms) {
    if (ms <= 0) {
        pumpEvents();
        return;
    }
    if (QCoreApplication::instance() == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
    // Once the application has been told to quit, event loops return at once;
    // sleeping out the rest keeps a waiting loop from spinning until it notices.
    if (timer.isActive()) {
        const int rest = timer.remainingTime();
        if (rest > 0) std::this_thread::sleep_for(std::chrono::milliseconds(rest));
    }
}

std::unique_ptr<Timer> QtClock::createTimer() { return std::make_unique<QtTimer>(); }

}  // namespace gyrel
