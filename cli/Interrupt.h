// Ctrl+C while a command runs. The handler only sets a flag, which the
// console's long loops check between chunks of work, so that a command stops
// between steps with the machine and its history whole. Outside a command
// SIGINT does what it did before.
#pragma once

// Catches SIGINT for as long as it lives, the flag cleared at the start.
class InterruptCatcher {
public:
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;
};

// Whether SIGINT came while an InterruptCatcher lived, since it began.
bool Interrupted();
