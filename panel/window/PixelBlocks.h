// Filling and copying rectangles of 32-bit images, clipped to the target:
// the display, the face and the key pictures are drawn with these alone.
#pragma once

#include <QImage>

// Fills the rectangle from (left, top) to (right, bottom), right and bottom
// edges exclusive.
void Fill(QImage& image, int left, int top, int right, int bottom, QRgb colour);

// Copies a width x height block between two 32-bit images, or within one;
// overlapping blocks copy as if through a buffer.
void CopyBlock(const QImage& from, int fromX, int fromY, QImage& to, int toX, int toY, int width, int height);
