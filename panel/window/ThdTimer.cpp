#include "panel/window/ThdTimer.h"

#include <chrono>

TTimerThread::TTimerThread(TThreadedTimer& owner) : owner_(owner) {}

bool TTimerThread::WaitStopEventTimedOut() {
    std::unique_lock lock(mutex_);
    // A disabled timer parks here; enabling it signals StopEvent as well, so
    // the first tick comes one whole interval after the enabling.
    wake_.wait(lock, [this] { return terminated_ || !parked_; });
    const bool signalled = wake_.wait_for(lock, std::chrono::milliseconds(interval_),
                                          [this] { return stopEvent_ || terminated_; });
    stopEvent_ = false;
    return !signalled && !parked_;
}

void TTimerThread::HandOverTick() {
    {
        std::lock_guard lock(mutex_);
        handOverPending_ = true;
    }
    // Queued to the owner: should the owner be destroyed first, the queued
    // call goes with it and the tick is never delivered.
    QMetaObject::invokeMethod(&owner_, [owner = &owner_] { owner->Tick(); }, Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    // Destruction ends the wait too: the user-interface thread waits for this
    // worker then and will not serve the tick.
    wake_.wait(lock, [this] { return !handOverPending_ || terminated_; });
}

void TTimerThread::TickServed() {
    std::lock_guard lock(mutex_);
    handOverPending_ = false;
    wake_.notify_all();
}

void TTimerThread::run() {
    for (;;) {
        const bool timedOut = WaitStopEventTimedOut();
        {
            std::lock_guard lock(mutex_);
            if (terminated_) return;
        }
        if (timedOut) HandOverTick();
    }
}

TThreadedTimer::TThreadedTimer(QObject* owner) : QObject(owner), timerThread_(*this) {
    timerThread_.start(QThread::NormalPriority);
}

TThreadedTimer::~TThreadedTimer() {
    enabled_ = false;
    destroying_ = true;
    {
        std::lock_guard lock(timerThread_.mutex_);
        timerThread_.terminated_ = true;
        timerThread_.stopEvent_ = true;
        timerThread_.wake_.notify_all();
    }
    timerThread_.wait();
}

void TThreadedTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    std::lock_guard lock(timerThread_.mutex_);
    if (enabled) {
        if (interval_ <= 0 && !allowZero_) return;
        timerThread_.stopEvent_ = true;
        timerThread_.parked_ = false;
    } else {
        timerThread_.parked_ = true;
    }
    timerThread_.wake_.notify_all();
}

void TThreadedTimer::SetInterval(int32_t interval) {
    if (interval == interval_) return;
    const bool wasEnabled = enabled_;
    SetEnabled(false);
    interval_ = interval;
    {
        std::lock_guard lock(timerThread_.mutex_);
        timerThread_.interval_ = interval < 0 ? 0 : interval;
    }
    SetEnabled(wasEnabled);
}

void TThreadedTimer::Tick() {
    if (enabled_ && onTimer_ && !destroying_) {
        try {
            onTimer_(this);
        } catch (...) {
            // A failing handler must not take the timer, or the program, down.
        }
    }
    timerThread_.TickServed();
}
