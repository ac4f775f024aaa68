#include "cli/MemoryRow.h"

#include "core/Def.h"
#include "debugger/Numbers.h"

std::string ByteRowText(uint16_t address) {
    const uint16_t row = address & 0xFFF0;
    // ROM and RAM both start and end on 16-byte boundaries, so a row lies
    // wholly inside one of them or wholly outside.
    if (!IsRom(row) && !IsRam(row)) return {};

    const size_t byteColumn = size_t(WordDigits) + 2;
    const size_t cellWidth = size_t(ByteDigits) + 1;
    const size_t characterColumn = size_t(WordDigits) + 16 * size_t(ByteDigits) + 18;

    std::string text = FormatWord(row, '0') + ":";
    text.resize(characterColumn + 16, ' ');
    for (size_t j = 0; j < 16; ++j) {
        const uint8_t byte = Memory[row + j];
        text.replace(byteColumn + j * cellWidth, size_t(ByteDigits), FormatByte(byte, '0'));
        text[characterColumn + j] = byte >= 32 && byte <= 126 ? char(byte) : '.';
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
