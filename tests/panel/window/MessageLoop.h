// Runs the message loop for a while, which is where timers tick, repaints
// happen and queued events arrive.
#pragma once

#include <QEventLoop>
#include <QTimer>

inline void Serve(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
