// The front panel picture: the case, the display window, the printing and
// every key. The keys are composited from the same released pictures that
// "keys.bmp" holds, so pressing and releasing one leaves the face unchanged.
#pragma once

#include <QImage>

constexpr int FaceWidth = 760;
constexpr int FaceHeight = 330;

// Returns a null image when a key would be left without a label.
QImage DrawFace();
