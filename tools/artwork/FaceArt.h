// The front panel picture: the case, the display window, the printing and
// every key. The keys are composited from the same released pictures that
// "keys.bmp" holds, so pressing and releasing one leaves the face unchanged.
#pragma once

#include "panel/KeyLayout.h"

#include <QImage>

// Returns a null image when a key would be left without a label.
QImage DrawFace();
