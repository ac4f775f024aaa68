#include "cli/LcdText.h"

#include <cstdio>

#include "core/Def.h"
#include "panel/LcdLayout.h"

namespace {

bool BitOn(int ramIndex, int bit) { return (Mk.LcdRam[ramIndex] >> bit & 1) != 0; }

std::string DotRows() {
    std::string text;
    for (int row = 1; row <= CellRows; ++row) {
        for (int cell = 0; cell < LcdCells; ++cell) {
            if (cell > 0) text += ' ';
            for (int column = 0; column < CellColumns; ++column)
                text += BitOn(RowByte(cell, row), column) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

std::string IndicatorLine() {
    std::string text = "indicators:";
    for (int n = 0; n < IndicatorCount; ++n)
        if (BitOn(Indicators[n].ramIndex, Indicators[n].bit)) text += ' ' + std::to_string(n);
    return text + '\n';
}

std::string DigitLine() {
    std::string text = "digits:";
    for (int digit = 0; digit < Digits; ++digit) {
        unsigned segments = 0;
        for (int s = 0; s < SegmentsPerDigit; ++s) {
            const SegmentBit place = SegmentOf(digit, s);
            if (BitOn(place.ramIndex, place.bit)) segments |= 1u << s;
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, " %02X", segments);
        text += hex;
    }
    return text + '\n';
}

std::string CursorLine() {
    const uint8_t cursor = Mk.LcdRam[CursorByte];
    const int cell = cursor & 0x0F;
    // Cell numbers 12 to 15 name no cell: no cursor is shown.
    if (cell >= LcdCells) return "cursor: none\n";
    return "cursor: " + std::to_string(cell) + ((cursor & CursorUnderlineBit) ? " underline\n" : " block\n");
}

}  // namespace

std::string LcdText() { return DotRows() + IndicatorLine() + DigitLine() + CursorLine(); }
