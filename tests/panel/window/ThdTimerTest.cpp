#include "panel/window/ThdTimer.h"

#include "MessageLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Ticks counted with the moment each arrived, in milliseconds since the
// counter was made.
struct TickLog {
    QElapsedTimer clock;
    std::vector<qint64> at;
    QObject* lastSender = nullptr;

    TickLog() { clock.start(); }
    TThreadedTimer::TimerEvent Handler() {
        return [this](QObject* sender) {
            at.push_back(clock.elapsed());
            lastSender = sender;
        };
    }
};

TEST(ThdTimer, StartsDisabledWithItsDefaults) {
    TThreadedTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.AllowZero());
    EXPECT_FALSE(timer.OnTimer());
    EXPECT_EQ(timer.ThreadPriority(), QThread::NormalPriority);
    timer.SetThreadPriority(QThread::HighPriority);
    EXPECT_EQ(timer.ThreadPriority(), QThread::HighPriority);
}

TEST(ThdTimer, TicksAtItsIntervalOnTheUserInterfaceThreadWithItselfAsSender) {
    TickLog log;
    TThreadedTimer timer;
    timer.SetInterval(20);
    const auto uiThread = std::this_thread::get_id();
    std::thread::id tickThread;
    timer.SetOnTimer([&](QObject* sender) {
        tickThread = std::this_thread::get_id();
        log.Handler()(sender);
    });
    timer.SetEnabled(true);
    const qint64 enabledAt = log.clock.elapsed();
    ASSERT_TRUE(ServeUntil([&] { return log.at.size() >= 6; }));
    timer.SetEnabled(false);
    // No more ticks than the elapsed time holds intervals.
    EXPECT_LE(qint64(log.at.size()), (log.at.back() - enabledAt) / 20 + 1);
    for (size_t i = 1; i < log.at.size(); ++i) EXPECT_GE(log.at[i] - log.at[i - 1], 19) << "tick " << i;
    EXPECT_EQ(tickThread, uiThread);
    EXPECT_EQ(log.lastSender, &timer);
}

TEST(ThdTimer, TheFirstTickComesOneIntervalAfterEnabling) {
    TickLog log;
    TThreadedTimer timer;
    timer.SetInterval(150);
    timer.SetOnTimer(log.Handler());
    timer.SetEnabled(true);
    const qint64 enabledAt = log.clock.elapsed();
    ASSERT_TRUE(ServeUntil([&] { return !log.at.empty(); }));
    EXPECT_GE(log.at[0] - enabledAt, 149);
}

TEST(ThdTimer, NoTickWhileDisabled) {
    TickLog log;
    TThreadedTimer timer;
    timer.SetInterval(5);
    timer.SetOnTimer(log.Handler());
    Serve(60);
    EXPECT_TRUE(log.at.empty()) << "never enabled";

    timer.SetEnabled(true);
    ASSERT_TRUE(ServeUntil([&] { return !log.at.empty(); }));
    timer.SetEnabled(false);
    const size_t ticks = log.at.size();
    Serve(60);
    EXPECT_EQ(log.at.size(), ticks) << "after disabling";

    // Enabling again restarts the interval.
    timer.SetEnabled(true);
    EXPECT_TRUE(ServeUntil([&] { return log.at.size() > ticks; }));
}

TEST(ThdTimer, ChangingTheIntervalRestartsTheWait) {
    TickLog log;
    TThreadedTimer timer;
    timer.SetOnTimer(log.Handler());
    timer.SetEnabled(true);  // 1000 ms: nothing within the test
    Serve(50);
    EXPECT_TRUE(log.at.empty());
    timer.SetInterval(10);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(ServeUntil([&] { return log.at.size() > 2; }));

    timer.SetEnabled(false);
    timer.SetInterval(5);
    EXPECT_FALSE(timer.Enabled()) << "a disabled timer stays disabled";
    const size_t ticks = log.at.size();
    Serve(50);
    EXPECT_EQ(log.at.size(), ticks);
}

TEST(ThdTimer, AZeroIntervalRunsOnlyWhenAllowed) {
    TickLog log;
    TThreadedTimer timer;
    timer.SetOnTimer(log.Handler());
    timer.SetInterval(0);
    timer.SetEnabled(true);
    Serve(50);
    EXPECT_TRUE(log.at.empty());

    timer.SetEnabled(false);
    timer.SetAllowZero(true);
    timer.SetEnabled(true);
    EXPECT_TRUE(ServeUntil([&] { return log.at.size() > 5; }));
}

TEST(ThdTimer, AnExceptionFromTheHandlerIsDiscarded) {
    int ticks = 0;
    TThreadedTimer timer;
    timer.SetInterval(5);
    timer.SetOnTimer([&](QObject*) {
        ++ticks;
        throw std::runtime_error("handler failed");
    });
    timer.SetEnabled(true);
    EXPECT_TRUE(ServeUntil([&] { return ticks > 2; })) << "ticks go on after a failing one";
}

TEST(ThdTimer, DestructionDuringAHandOverNeitherDeadlocksNorDeliversTheTick) {
    for (int round = 0; round < 5; ++round) {
        int ticks = 0;
        auto timer = std::make_unique<TThreadedTimer>();
        timer->SetInterval(1);
        timer->SetOnTimer([&](QObject*) { ++ticks; });
        timer->SetEnabled(true);
        // The message loop is not served: the worker has handed a tick over
        // and waits for it to run.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        timer.reset();
        Serve(20);
        EXPECT_EQ(ticks, 0) << "round " << round;
    }
}

TEST(ThdTimer, DestructionWhileTickingQuickly) {
    int ticks = 0;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->SetAllowZero(true);
    timer->SetInterval(0);
    timer->SetOnTimer([&](QObject*) { ++ticks; });
    timer->SetEnabled(true);
    ASSERT_TRUE(ServeUntil([&] { return ticks > 0; }));
    timer.reset();
    const int delivered = ticks;
    Serve(20);
    EXPECT_EQ(ticks, delivered);
}

}  // namespace
