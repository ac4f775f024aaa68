// The display's ten indicator pictures, lettered in a hand-drawn 7-pixel font
// since no outline font is legible at that height.
#pragma once

#include <QImage>

// Draws the strip of indicator pictures into keys at y = IndicatorSrcY: each
// indicator's name, black on white, centred in its own width at its source x.
// Returns false when a name holds a letter the font lacks or does not fit.
bool DrawIndicatorStrip(QImage& keys);
