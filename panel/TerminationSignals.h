// A logout or Ctrl+C in the terminal sends SIGTERM or SIGINT. They close the
// window through its normal close path, so the RAM is saved as on any exit.
#pragma once

class QWidget;

// From now on SIGTERM and SIGINT close window (from the event loop, not from
// the signal handler).
void CloseOnTerminationSignals(QWidget& window);
