// A logout, Ctrl+C in the terminal or closing the terminal that started the
// program sends SIGTERM, SIGINT or SIGHUP. The program closes its window
// through the normal close path, so the RAM is saved as on any exit, and no
// box may then wait for a user who is gone.
#pragma once

#include <functional>

class QObject;

// From now on SIGTERM, SIGINT and SIGHUP are caught and kept until the event
// loop acts on them; a signal that was ignored stays ignored. Needs no
// application object, so that the program catches them before it shows
// anything.
void CatchTerminationSignals();

// From the event loop, not from the signal handler, each caught signal (one
// caught before this call too) closes any warning box that waits for the
// user, sends every later warning to standard error, and calls act. The watch
// lasts as long as context.
void OnTerminationSignals(QObject& context, std::function<void()> act);
