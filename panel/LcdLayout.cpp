#include "panel/LcdLayout.h"

const Indicator Indicators[IndicatorCount] = {
    // name  byte bit   x   y  width srcX
    {"EXT", 0, 0, 0, 5, 16, 0},
    {"S", 0, 1, 19, 0, 5, 17},
    {"F", 0, 2, 19, 9, 5, 41},
    {"RUN", 8, 0, 27, 0, 17, 23},
    {"WRT", 8, 1, 26, 9, 19, 47},
    {"DEG", 8, 4, 49, 5, 16, 67},
    {"RAD", 24, 0, 71, 5, 17, 84},
    {"GRA", 32, 0, 93, 5, 17, 102},
    {"TR", 40, 0, 116, 5, 11, 120},
    {"STOP", 88, 3, 204, 5, 23, 132},
};

const uint8_t IndicatorBytes[IndicatorByteCount] = {0, 8, 24, 32, 40};

const Rect Digit0Segments[SegmentsPerDigit] = {
    {142, 3, 144, 8},   // 0 upper left
    {143, 8, 148, 10},  // 1 middle
    {141, 9, 143, 14},  // 2 lower left
    {142, 14, 147, 16}, // 3 bottom
    {147, 10, 149, 15}, // 4 lower right
    {148, 4, 150, 9},   // 5 upper right
    {144, 2, 149, 4},   // 6 top
};

const uint8_t SegmentBytes[SegmentByteCount] = {48, 56, 64, 72, 80, 88};

Rect SegmentRect(int digit, int segment) {
    Rect r = Digit0Segments[segment];
    r.left += DigitPitch * digit;
    r.right += DigitPitch * digit;
    return r;
}
