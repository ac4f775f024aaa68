// The display as the window shows it, drawn from LcdRam into an image: the
// rows of the twelve character cells, the indicators, the segments of the
// four digits and the blinking cursor. It needs no window, only images.
//
// Drawing is incremental: a shadow of what was last drawn is kept, and only
// the rows, indicators and segments whose bytes differ are painted again.
// The image and that state belong to the view's owner, who shows the image
// (the main window keeps them as LcdBitmap, LcdShadow, LcdRedrawAll and
// LcdDirty); the view is how they are drawn.
#pragma once

#include "panel/LcdLayout.h"

#include <QImage>

#include <array>
#include <cstdint>

class LcdView {
public:
    // bitmap is the display, LcdWidth x LcdHeight; indicators holds the
    // strip of indicator pictures at row IndicatorSrcY ("keys.bmp").
    LcdView(QImage& bitmap, const QImage& indicators, std::array<uint8_t, DrawnBytes>& shadow, bool& redrawAll,
            bool& dirty);

    // An empty display, every part of which the next Render draws.
    void Clear();
    // Brings the image up to date with the display bytes of lcdRam (at least
    // CursorByte + 1 of them); the cursor shows while cursorPhase holds.
    // Sets dirty if it painted anything.
    void Render(const uint8_t* lcdRam, bool cursorPhase);

    // One indicator picture copied in when on, a white box when off; one
    // segment black or white. Both set dirty.
    void DrawIndicator(int x, int y, int sourceX, int sourceY, int width, bool on);
    void DrawSegment(int left, int top, int right, int bottom, bool on);

private:
    QImage& bitmap_;
    const QImage& indicators_;
    std::array<uint8_t, DrawnBytes>& shadow_;
    bool& redrawAll_;
    bool& dirty_;
};
