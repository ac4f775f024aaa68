// Front-panel pictures made by the tests: every pixel of the face tells where
// it is, and the released key pictures are exactly what the face shows around
// each key, so that pressing and releasing a key must give the face back.
#pragma once

#include <QImage>

constexpr QRgb PureGreen = 0xFF00FF00;

QImage TestFace();
QImage TestKeys();

// The colour of indicator picture i (0..9) of TestKeys at column dx, row dy.
QRgb IndicatorColour(int indicator, int dx, int dy);
