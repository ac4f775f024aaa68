#include "panel/window/TerminationSignals.h"

#include "panel/window/WarningBox.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace {

// The handler may only do async-signal-safe things: it writes one byte to a
// socket that the event loop watches.
int signalSocket[2] = {-1, -1};

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalSocket[0], &byte, 1);
}

// Warning boxes stacked on one another are few; the bound only keeps a box
// that refuses to close from holding the loop.
constexpr int MaxBoxes = 8;

}  // namespace

void CatchTerminationSignals() {
    if (signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal ignored from the start stays ignored: nohup ignores SIGHUP
        // so that the program outlives its terminal.
        struct sigaction previous;
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

void OnTerminationSignals(QObject& context, std::function<void()> act) {
    if (signalSocket[1] < 0) return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &context);
    QObject::connect(notifier, &QSocketNotifier::activated, &context, [act = std::move(act)] {
        char bytes[16];
        while (::read(signalSocket[1], bytes, sizeof bytes) > 0) {
        }
        // Whatever the closing has to say goes where a user who left can
        // still find it, and no box holds the program up.
        SendWarningsToStandardError();
        for (int boxes = 0; boxes < MaxBoxes; ++boxes) {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) break;
            modal->close();
        }
        act();
    });
}
