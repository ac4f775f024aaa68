#include "debugger/MemoryRow.h"

#include <algorithm>

int MemoryValueColumn(const NumberFormat& numbers) { return numbers.WordDigits() + 2; }
int MemoryCharacterColumn(const NumberFormat& numbers) { return numbers.WordDigits() + 16 * numbers.ByteDigits() + 18; }
int MemoryRowLength(const NumberFormat& numbers) { return MemoryCharacterColumn(numbers) + 16; }

std::string MemoryRowText(const Machine& machine, uint16_t address, int cellBytes, const NumberFormat& numbers) {
    const uint16_t row = address & 0xFFF0;
    // ROM and RAM both start and end on 16-byte boundaries, so a row lies
    // wholly inside one of them or wholly outside.
    if (!IsRom(row) && !IsRam(machine, row)) return {};
    uint8_t bytes[16];
    std::copy_n(machine.Memory.data() + row, 16, bytes);
    return MemoryRowText(row, bytes, cellBytes, numbers);
}

std::string MemoryRowText(uint16_t address, const uint8_t (&bytes)[16], int cellBytes, const NumberFormat& numbers) {
    const uint16_t row = address & 0xFFF0;
    const size_t cellWidth = size_t(numbers.ByteDigits()) + 1;
    const size_t valueColumn = size_t(MemoryValueColumn(numbers));
    const size_t characterColumn = size_t(MemoryCharacterColumn(numbers));
    const bool words = cellBytes == 2;
    std::string text = FormatWord(row, '0', numbers) + ":";
    text.resize(size_t(MemoryRowLength(numbers)), ' ');
    for (size_t j = 0; j < 16; j += words ? 2 : 1) {
        const std::string value = words ? FormatWord(uint16_t(bytes[j] | bytes[j + 1] << 8), '0', numbers)
                                        : FormatByte(bytes[j], '0', numbers);
        text.replace(valueColumn + j * cellWidth, value.size(), value);
    }
    for (size_t j = 0; j < 16; ++j)
        text[characterColumn + j] = bytes[j] >= 32 && bytes[j] <= 126 ? char(bytes[j]) : '.';
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
