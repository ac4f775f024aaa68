// A timer whose ticks are measured by a worker thread instead of the message
// loop's timers, so that a busy user-interface thread does not stretch the
// period. Each tick still runs on the user-interface thread: the worker hands
// it over and waits until it has run, so ticks never overlap or pile up.
#pragma once

#include <QObject>
#include <QThread>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

class TThreadedTimer;

// The worker of a TThreadedTimer: waits on StopEvent with the interval as
// time-out and hands every time-out to its owner as a tick.
class TTimerThread : public QThread {
public:
    explicit TTimerThread(TThreadedTimer& owner);

protected:
    void run() override;

private:
    friend class TThreadedTimer;

    // Waits on StopEvent, which is auto-reset: a signal ends exactly one
    // wait. False when the event, not the time-out, ended the wait.
    bool WaitStopEventTimedOut();
    void HandOverTick();
    void TickServed();

    TThreadedTimer& owner_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int32_t interval_ = 1000;
    bool stopEvent_ = false;
    bool parked_ = true;     // disabled: the worker waits without measuring
    bool terminated_ = false;
    bool handOverPending_ = false;
};

class TThreadedTimer : public QObject {
public:
    using TimerEvent = std::function<void(QObject* sender)>;

    explicit TThreadedTimer(QObject* owner = nullptr);
    ~TThreadedTimer() override;
    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t interval);
    bool AllowZero() const { return allowZero_; }
    void SetAllowZero(bool allowZero) { allowZero_ = allowZero; }
    const TimerEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TimerEvent handler) { onTimer_ = std::move(handler); }
    QThread::Priority ThreadPriority() const { return timerThread_.priority(); }
    void SetThreadPriority(QThread::Priority priority) { timerThread_.setPriority(priority); }

private:
    friend class TTimerThread;

    // Runs on the user-interface thread for each tick handed over.
    void Tick();

    bool enabled_ = false;
    bool allowZero_ = false;
    bool destroying_ = false;
    int32_t interval_ = 1000;
    TimerEvent onTimer_;
    TTimerThread timerThread_;
};
