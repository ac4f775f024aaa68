// The window tests need a QApplication, and run without a display. The
// programs they start keep their window's place in a configuration folder of
// the tests' own, never in the user's. No test waits for a person: a file
// chooser or a question that a test does not answer itself fails the test,
// and a test still running after a minute ends the run with its name.
#include "panel/window/ModalDialogs.h"
#include "tests/support/FreshSession.h"
#include "tests/support/TempFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

// Watches the running test from a thread of its own, since a hung test holds
// the user interface thread: past the limit it names the test and aborts.
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    static constexpr std::chrono::seconds Limit{60};

    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() override {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }

    void OnTestStart(const ::testing::TestInfo& test) override {
        const std::lock_guard lock(mutex_);
        running_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = std::chrono::steady_clock::now() + Limit;
        changed_.notify_one();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        const std::lock_guard lock(mutex_);
        running_.clear();
        changed_.notify_one();
    }

private:
    void Watch() {
        std::unique_lock lock(mutex_);
        while (!ending_) {
            if (running_.empty()) {
                changed_.wait(lock);
            } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && !running_.empty() &&
                       std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr, "\n%s has run for more than %lld s: it is taken as hung, and the run ends here\n",
                             running_.c_str(), static_cast<long long>(Limit.count()));
                std::fflush(stderr);
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string running_;
    std::chrono::steady_clock::time_point deadline_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const TempFolder configuration;
    setenv("XDG_CONFIG_HOME", configuration.path().c_str(), 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ResetBeforeEveryTest();
    SetFileChooser([](QWidget*, const FileChoice& choice) {
        ADD_FAILURE() << "a file chooser that the test does not answer: " << choice.title.toStdString();
        return QString();
    });
    SetAsker([](QWidget*, const QString&, const QString& question) {
        ADD_FAILURE() << "a question that the test does not answer: " << question.toStdString();
        return false;
    });
    Watchdog watchdog;
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    listeners.Append(&watchdog);
    const int result = RUN_ALL_TESTS();
    listeners.Release(&watchdog);
    return result;
}
