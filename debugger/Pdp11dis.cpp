#include "debugger/Pdp11dis.h"

#include <algorithm>

#include "core/Def.h"
#include "debugger/Numbers.h"

namespace {

constexpr int NamedCount() {
    int count = 0;
    for (const InstructionRecord& record : InstructionSet) count += !record.Name.empty();
    return count;
}
static_assert(NamedCount() == MnemonicCount);

// The named records of the instruction set, in its order.
struct Mnemonics {
    MnemonicRecord records[MnemonicCount];
};

constexpr Mnemonics NamedRecords() {
    Mnemonics named{};
    int count = 0;
    for (const InstructionRecord& record : InstructionSet)
        if (!record.Name.empty()) named.records[count++] = {record.Mask, record.Value, record.Name, record.Format};
    return named;
}

constexpr Mnemonics Named = NamedRecords();

}  // namespace

const MnemonicRecord (&MnemonicTable)[MnemonicCount] = Named.records;

const MnemonicRecord RegisterNames[RegisterCount] = {
    {0177777, 0, "r0", FmtNone}, {0177777, 1, "r1", FmtNone}, {0177777, 2, "r2", FmtNone},
    {0177777, 3, "r3", FmtNone}, {0177777, 4, "r4", FmtNone}, {0177777, 5, "r5", FmtNone},
    {0177777, 6, "sp", FmtNone}, {0177777, 7, "pc", FmtNone}, {0177777, 6, "r6", FmtNone},
    {0177777, 7, "r7", FmtNone},
};

namespace {

std::string RegisterName(uint16_t number) { return std::string(RegisterNames[number & 7].Name); }

std::string FullForm(uint16_t value) { return FormatWord(value, '0'); }
std::string ShortForm(uint16_t value) { return FormatWord(value, ' '); }

// A 6-bit addressing field: mode in bits 3-5, register in bits 0-2. Fetches
// the field's extra word, if any.
std::string FieldText(uint16_t field) {
    const uint16_t mode = (field >> 3) & 7;
    const uint16_t reg = field & 7;
    const std::string name = RegisterName(reg);
    const std::string deferred = mode >= 2 && (mode & 1) ? "@" : "";
    switch (mode) {
        case 0: return name;
        case 1: return "(" + name + ")";
        case 2:
        case 3:
            if (reg == PC) return deferred + "#" + ShortForm(FetchWord());
            return deferred + "(" + name + ")+";
        case 4:
        case 5: return deferred + "-(" + name + ")";
        default: {
            const uint16_t index = FetchWord();
            // PC-relative: the operand is the address that follows the index word.
            if (reg == PC) return deferred + FullForm(uint16_t(index + Mk.Addr));
            return deferred + FullForm(index) + "(" + name + ")";
        }
    }
}

std::string ConditionLetters(uint16_t word) {
    std::string letters;
    if (word & FlagC) letters += 'c';
    if (word & FlagV) letters += 'v';
    if (word & FlagZ) letters += 'z';
    if (word & FlagN) letters += 'n';
    return letters;
}

}  // namespace

uint16_t FetchWord() {
    const uint16_t word = ReadCell().Word();
    Mk.Addr += 2;
    return word;
}

int FindMnemonic(uint16_t word) {
    for (int i = 0; i < MnemonicCount; ++i) {
        if ((word & MnemonicTable[i].Mask) == MnemonicTable[i].Value) return i;
    }
    return MnemonicCount - 1;
}

std::string MnemonicText(int index, uint16_t word) {
    if (index < 0 || index >= MnemonicCount) return {};
    const MnemonicRecord& record = MnemonicTable[index];
    std::string text(record.Name);
    if (record.Format == FmtSrcDstByte || record.Format == FmtDstByte) text += (word & 0100000) ? 'b' : ' ';
    return text;
}

std::string OperandText(int index, uint16_t word) {
    if (index < 0 || index >= MnemonicCount) return {};
    const uint16_t source = (word >> 6) & 077;
    const uint16_t destination = word & 077;
    const std::string upperRegister = RegisterName(word >> 6);
    switch (MnemonicTable[index].Format) {
        case FmtReg: return RegisterName(word);
        case FmtSrcDstByte:
        case FmtSrcDst: {
            // The source's extra word comes first in memory.
            const std::string sourceText = FieldText(source);
            return sourceText + "," + FieldText(destination);
        }
        case FmtDstByte:
        case FmtDst: return FieldText(destination);
        case FmtRegDst: return upperRegister + "," + FieldText(destination);
        case FmtDstReg: return FieldText(destination) + "," + upperRegister;
        case FmtBranch: return FullForm(uint16_t(Mk.Addr + 2 * int8_t(word & 0377)));
        case FmtSob: return upperRegister + "," + FullForm(uint16_t(Mk.Addr - 2 * (word & 077)));
        case FmtPriority: return std::string(1, DigitChars[word & 7]);
        case FmtMark: return ShortForm(word & 077);
        case FmtTrapCode: return ShortForm(word & 0377);
        case FmtConditions: return ConditionLetters(word);
        default: return {};  // illegal, no operands, data
    }
}

bool TrapsHere(uint16_t word) {
    return MnemonicTable[FindMnemonic(word)].Format != FmtIllegal && IsReserved(word);
}

std::string DisassemblyLine(uint16_t address) {
    std::string line = FullForm(address) + ":";
    Mk.Addr = address;
    const uint16_t word = FetchWord();
    const int index = FindMnemonic(word);
    line.resize(size_t(WordDigits + 2), ' ');
    line += MnemonicText(index, word);
    line.resize(std::max(line.size(), size_t(WordDigits + 8)), ' ');
    line += OperandText(index, word);
    line.erase(line.find_last_not_of(' ') + 1);
    if (TrapsHere(word)) {
        line.resize(std::max(line.size() + 1, size_t(WordDigits + 16)), ' ');
        line += "; traps";
    }
    return line;
}
