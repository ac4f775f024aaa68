// A logout, Ctrl+C in the terminal or closing the terminal that started the
// program sends SIGTERM, SIGINT or SIGHUP. They close the window through its
// normal close path, so the RAM is saved as on any exit.
#pragma once

class QWidget;

// From now on SIGTERM, SIGINT and SIGHUP close window (from the event loop,
// not from the signal handler); a signal that was ignored stays ignored.
void CloseOnTerminationSignals(QWidget& window);
