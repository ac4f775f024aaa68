// Runs the message loop for a while, which is where timers tick, repaints
// happen and queued events arrive.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

inline void Serve(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the message loop until done() holds, or at most ms milliseconds; tells
// whether it held. A test that expects something to happen waits for it so,
// with a bound far beyond an idle machine's time, because a loaded machine
// can take many times as long.
inline bool ServeUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
