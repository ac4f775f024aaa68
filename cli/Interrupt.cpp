#include "cli/Interrupt.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;
struct sigaction previous;
bool catching = false;

void OnInterrupt(int) { interrupted = 1; }

}  // namespace

// A program started with SIGINT ignored (in the background) keeps ignoring
// it.
InterruptCatcher::InterruptCatcher() {
    interrupted = 0;
    sigaction(SIGINT, nullptr, &previous);
    catching = previous.sa_handler != SIG_IGN;
    if (!catching) return;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);
}

InterruptCatcher::~InterruptCatcher() {
    if (catching) sigaction(SIGINT, &previous, nullptr);
}

bool Interrupted() { return interrupted != 0; }
