#include "debugger/MemoryRow.h"

#include "core/Def.h"
#include "debugger/Numbers.h"

int MemoryValueColumn() { return WordDigits + 2; }
int MemoryCharacterColumn() { return WordDigits + 16 * ByteDigits + 18; }
int MemoryRowLength() { return MemoryCharacterColumn() + 16; }

std::string MemoryRowText(uint16_t address, int cellBytes) {
    const uint16_t row = address & 0xFFF0;
    // ROM and RAM both start and end on 16-byte boundaries, so a row lies
    // wholly inside one of them or wholly outside.
    if (!IsRom(row) && !IsRam(row)) return {};

    const size_t cellWidth = size_t(ByteDigits) + 1;
    const bool words = cellBytes == 2;
    std::string text = FormatWord(row, '0') + ":";
    text.resize(size_t(MemoryRowLength()), ' ');
    for (size_t j = 0; j < 16; j += words ? 2 : 1) {
        const uint8_t* at = Mk.Memory.data() + row + j;
        const std::string value = words ? FormatWord(uint16_t(at[0] | at[1] << 8), '0') : FormatByte(at[0], '0');
        text.replace(size_t(MemoryValueColumn()) + j * cellWidth, value.size(), value);
    }
    for (size_t j = 0; j < 16; ++j) {
        const uint8_t byte = Mk.Memory[row + j];
        text[size_t(MemoryCharacterColumn()) + j] = byte >= 32 && byte <= 126 ? char(byte) : '.';
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
