// The layout of the MK-85's liquid-crystal display: which LcdRam bits light
// which dots, indicators and segments, and where they lie in the 227 x 51
// display bitmap. Plain data, shared by the windows and the headless console.
#pragma once

#include <cstdint>

constexpr int LcdWidth = 227;
constexpr int LcdHeight = 51;
constexpr int LcdLeft = 70;  // where the display lies on the face
constexpr int LcdTop = 41;

// Twelve 5 x 7 dot-matrix cells. Row r (1 = top) of cell k is LcdRam[8k + r];
// bit c (0..4) is the dot of column c, counted from the left.
constexpr int LcdCells = 12;
constexpr int CellRows = 7;
constexpr int CellColumns = 5;
constexpr int CellPitch = 19;
constexpr int DotPitchX = 3;
constexpr int DotPitchY = 4;
constexpr int DotWidth = 2;
constexpr int DotHeight = 3;
constexpr int DotsTop = 24;
constexpr int CellLeft(int cell) { return 2 + CellPitch * cell; }
constexpr int RowByte(int cell, int row) { return 8 * cell + row; }

// The cursor byte: bits 0..3 the cell, bit 4 set for an underline, clear for
// a block.
constexpr int CursorByte = 96;

// Bytes 0..95, the cells' rows with the indicator and segment bytes among
// them: what start-up clears and what the renderer keeps a copy of.
constexpr int DrawnBytes = 96;
constexpr uint8_t CursorUnderlineBit = 0x10;

// Ten indicator pictures, 7 pixels high, kept in "keys.bmp" at y = 56.
struct Indicator {
    const char* name;
    uint8_t ramIndex;
    uint8_t bit;
    int32_t x, y, width;
    int32_t srcX;
};
constexpr int IndicatorCount = 10;
constexpr int IndicatorHeight = 7;
constexpr int IndicatorSrcY = 56;
extern const Indicator Indicators[IndicatorCount];

// The LcdRam bytes that hold indicator bits, in the order they are drawn.
constexpr int IndicatorByteCount = 5;
extern const uint8_t IndicatorBytes[IndicatorByteCount];

// Four seven-segment digits of seven segments each. Segment n = 7d + s is
// bit n mod 5 of LcdRam[48 + 8 (n div 5)].
struct Rect {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};
constexpr int Digits = 4;
constexpr int SegmentsPerDigit = 7;
constexpr int DigitPitch = 16;
extern const Rect Digit0Segments[SegmentsPerDigit];
constexpr int SegmentByteCount = 6;
extern const uint8_t SegmentBytes[SegmentByteCount];  // 48, 56, ..., 88

struct SegmentBit {
    uint8_t ramIndex;
    uint8_t bit;
};
constexpr SegmentBit SegmentOf(int digit, int segment) {
    const int n = SegmentsPerDigit * digit + segment;
    return {uint8_t(48 + 8 * (n / 5)), uint8_t(n % 5)};
}
Rect SegmentRect(int digit, int segment);
