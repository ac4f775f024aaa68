#include "debugger/Pdp11dis.h"

#include <algorithm>

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

// Writes operands in a radix, fetching the extra words an instruction has.
class OperandWriter {
public:
    OperandWriter(WordFetch& fetch, const NumberFormat& numbers, const SymbolTable* symbols)
        : fetch_(fetch), numbers_(numbers), symbols_(symbols) {}

    std::string FullForm(uint16_t value) const { return FormatWord(value, '0', numbers_); }
    std::string ShortForm(uint16_t value) const { return FormatWord(value, ' ', numbers_); }
    // An address the instruction goes to or reads: its label, when the table
    // has one, else the full form.
    std::string Target(uint16_t address) const {
        const std::string* name = LabelAt(address);
        return name ? *name : FullForm(address);
    }
    const std::string* LabelAt(uint16_t address) const { return symbols_ ? symbols_->NameAt(address) : nullptr; }

    // The address after the words fetched so far.
    uint16_t Addr() const { return fetch_.Addr; }

    // A 6-bit addressing field: mode in bits 3-5, register in bits 0-2.
    // Fetches the field's extra word, if any.
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
                if (reg == PC) {
                    // Immediate data is a number; an absolute address may be a label.
                    const uint16_t value = fetch_.FetchWord();
                    const std::string* label = mode == 3 ? LabelAt(value) : nullptr;
                    return deferred + "#" + (label ? *label : ShortForm(value));
                }
                return deferred + "(" + name + ")+";
            case 4:
            case 5: return deferred + "-(" + name + ")";
            default: {
                const uint16_t index = fetch_.FetchWord();
                // PC-relative: the operand is the address that follows the index word.
                if (reg == PC) return deferred + Target(uint16_t(index + fetch_.Addr));
                return deferred + FullForm(index) + "(" + name + ")";
            }
        }
    }

private:
    WordFetch& fetch_;
    const NumberFormat& numbers_;
    const SymbolTable* symbols_;
};

std::string ConditionLetters(uint16_t word) {
    std::string letters;
    if (word & FlagC) letters += 'c';
    if (word & FlagV) letters += 'v';
    if (word & FlagZ) letters += 'z';
    if (word & FlagN) letters += 'n';
    return letters;
}

}  // namespace

WordReader MachineReader(const Machine& machine) {
    return [&machine](uint16_t address) { return PeekWord(machine, address); };
}

uint16_t WordFetch::FetchWord() {
    const uint16_t word = Read(Addr);
    Addr += 2;
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

std::string OperandText(int index, uint16_t word, WordFetch& fetch, const NumberFormat& numbers,
                        const SymbolTable* symbols) {
    if (index < 0 || index >= MnemonicCount) return {};
    OperandWriter out(fetch, numbers, symbols);
    const uint16_t source = (word >> 6) & 077;
    const uint16_t destination = word & 077;
    const std::string upperRegister = RegisterName(word >> 6);
    switch (MnemonicTable[index].Format) {
        case FmtReg: return RegisterName(word);
        case FmtSrcDstByte:
        case FmtSrcDst: {
            // The source's extra word comes first in memory.
            const std::string sourceText = out.FieldText(source);
            return sourceText + "," + out.FieldText(destination);
        }
        case FmtDstByte:
        case FmtDst: return out.FieldText(destination);
        case FmtRegDst: return upperRegister + "," + out.FieldText(destination);
        case FmtDstReg: return out.FieldText(destination) + "," + upperRegister;
        case FmtBranch: return out.Target(uint16_t(out.Addr() + 2 * int8_t(word & 0377)));
        case FmtSob: return upperRegister + "," + out.Target(uint16_t(out.Addr() - 2 * (word & 077)));
        case FmtPriority: return std::string(1, DigitChars[word & 7]);
        case FmtMark: return out.ShortForm(word & 077);
        case FmtTrapCode: return out.ShortForm(word & 0377);
        case FmtConditions: return ConditionLetters(word);
        default: return {};  // illegal, no operands, data
    }
}

bool TrapsHere(uint16_t word) {
    return MnemonicTable[FindMnemonic(word)].Format != FmtIllegal && IsReserved(word);
}

Disassembly Disassemble(uint16_t address, const WordReader& read, const NumberFormat& numbers,
                        const SymbolTable* symbols) {
    WordFetch fetch{read, address};
    const uint16_t word = fetch.FetchWord();
    const int index = FindMnemonic(word);
    std::string operands = OperandText(index, word, fetch, numbers, symbols);  // moves the fetch on
    return {MnemonicText(index, word), std::move(operands), fetch.Addr};
}

ListingLine DisassemblyLine(uint16_t address, const WordReader& read, const NumberFormat& numbers,
                            const SymbolTable* symbols) {
    const Disassembly instruction = Disassemble(address, read, numbers, symbols);
    std::string line = FormatWord(address, '0', numbers) + ":";
    line.resize(size_t(numbers.WordDigits() + 2), ' ');
    line += instruction.Mnemonic;
    line.resize(std::max(line.size(), size_t(numbers.WordDigits() + 8)), ' ');
    line += instruction.Operands;
    line.erase(line.find_last_not_of(' ') + 1);
    if (TrapsHere(read(address))) {
        line.resize(std::max(line.size() + 1, size_t(numbers.WordDigits() + 16)), ' ');
        line += "; traps";
    }
    return {line, instruction.Next};
}
