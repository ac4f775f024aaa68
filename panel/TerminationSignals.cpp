#include "panel/TerminationSignals.h"

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

}  // namespace

void CloseOnTerminationSignals(QWidget& window) {
    if (signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return;

    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char bytes[16];
        while (::read(signalSocket[1], bytes, sizeof bytes) > 0) {
        }
        // A warning box waiting for the user would keep the program alive;
        // it goes first.
        for (int boxes = 0; boxes < 8; ++boxes) {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == &window) break;
            modal->close();
        }
        window.close();
    });

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
