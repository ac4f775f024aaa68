// vexal: the MK-85 emulator's front panel window, with the debug window that
// F3 opens.
//
// --time-first-frame prints how long the program took from its start to the
// first painted frame, then closes the window as a user would.
#include "debugger/Debug.h"
#include "panel/Main.h"
#include "panel/TerminationSignals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>
#include <cstring>

namespace {

// Reports the first paint of the window once it has been painted, then closes
// it through the normal close path.
class FirstFrameTimer : public QObject {
public:
    FirstFrameTimer(TMainForm& window, const QElapsedTimer& sinceStart) : window_(window), sinceStart_(sinceStart) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::printf("first frame after %lld ms\n", static_cast<long long>(sinceStart_.elapsed()));
                    std::fflush(stdout);
                    window_.close();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    TMainForm& window_;
    const QElapsedTimer& sinceStart_;
    bool reported_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    const bool timeFirstFrame = argc > 1 && std::strcmp(argv[1], "--time-first-frame") == 0;

    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(ApplicationTitle);

    const StartupFiles files = DefaultStartupFiles();
    TMainForm window(files);
    // The window can close before the message loop starts: a termination
    // signal while a start-up warning is shown.
    bool closed = false;
    window.OnClosed = [&closed] {
        closed = true;
        QCoreApplication::quit();
    };
    CloseOnTerminationSignals(window);
    FirstFrameTimer firstFrame(window, sinceStart);
    if (timeFirstFrame) window.installEventFilter(&firstFrame);
    window.show();
    TDebugForm debugWindow(files.settings);
    window.ShowDebugWindow = [&debugWindow] { debugWindow.ShowWindow(); };
    return closed ? 0 : QApplication::exec();
}
