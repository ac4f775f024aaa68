#include "panel/window/LcdView.h"

#include "panel/window/PixelBlocks.h"

#include <algorithm>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

constexpr int CursorCellMask = 0x0F;
constexpr uint8_t FullRow = 0x1F;
constexpr int StopIndicator = 9;  // drawn after the segments of its byte

}  // namespace

LcdView::LcdView(QImage& bitmap, const QImage& indicators, std::array<uint8_t, DrawnBytes>& shadow,
                 bool& redrawAll, bool& dirty)
    : bitmap_(bitmap), indicators_(indicators), shadow_(shadow), redrawAll_(redrawAll), dirty_(dirty) {}

void LcdView::Clear() {
    bitmap_.fill(White);
    shadow_.fill(0xFF);
    redrawAll_ = true;
}

void LcdView::Render(const uint8_t* lcdRam, bool cursorPhase) {
    const uint8_t cursor = lcdRam[CursorByte];
    for (int cell = 0; cell < LcdCells; ++cell) {
        const bool cursorHere = cursorPhase && (cursor & CursorCellMask) == cell;
        for (int row = 1; row <= CellRows; ++row) {
            const int index = RowByte(cell, row);
            uint8_t v = lcdRam[index];
            if (cursorHere) v = (row == CellRows || !(cursor & CursorUnderlineBit)) ? FullRow : 0;
            if (v == shadow_[index] && !redrawAll_) continue;
            shadow_[index] = v;
            dirty_ = true;
            const int top = DotsTop + DotPitchY * (row - 1);
            for (int column = 0; column < CellColumns; ++column) {
                const int left = CellLeft(cell) + DotPitchX * column;
                Fill(bitmap_, left, top, left + DotWidth, top + DotHeight, (v >> column) & 1 ? Black : White);
            }
        }
    }

    auto drawIndicator = [this, lcdRam](const Indicator& indicator) {
        DrawIndicator(indicator.x, indicator.y, indicator.srcX, IndicatorSrcY, indicator.width,
                      lcdRam[indicator.ramIndex] >> indicator.bit & 1);
    };
    for (const uint8_t index : IndicatorBytes) {
        if (lcdRam[index] == shadow_[index] && !redrawAll_) continue;
        shadow_[index] = lcdRam[index];
        for (const Indicator& indicator : Indicators)
            if (indicator.ramIndex == index) drawIndicator(indicator);
    }

    int segment = 0;
    for (const uint8_t index : SegmentBytes) {
        const int segments = std::min(5, Digits * SegmentsPerDigit - segment);
        if (lcdRam[index] != shadow_[index] || redrawAll_) {
            shadow_[index] = lcdRam[index];
            for (int bit = 0; bit < segments; ++bit) {
                const int n = segment + bit;
                const Rect r = SegmentRect(n / SegmentsPerDigit, n % SegmentsPerDigit);
                DrawSegment(r.left, r.top, r.right, r.bottom, lcdRam[index] >> bit & 1);
            }
            if (index == Indicators[StopIndicator].ramIndex) drawIndicator(Indicators[StopIndicator]);
        }
        segment += segments;
    }
    redrawAll_ = false;
}

void LcdView::DrawIndicator(int x, int y, int sourceX, int sourceY, int width, bool on) {
    if (on) CopyBlock(indicators_, sourceX, sourceY, bitmap_, x, y, width, IndicatorHeight);
    else Fill(bitmap_, x, y, x + width, y + IndicatorHeight, White);
    dirty_ = true;
}

void LcdView::DrawSegment(int left, int top, int right, int bottom, bool on) {
    Fill(bitmap_, left, top, right, bottom, on ? Black : White);
    dirty_ = true;
}
