#include "debugger/Pdp11dis.h"

#include <algorithm>

// K1801VM2 instruction set. Masks and values in octal, as PDP-11 manuals
// write them. The halt-mode group at 000010-000037 decodes fewer bits than it
// occupies, hence the narrow masks there; 000210 (record 21) has value bits
// outside its mask and so never matches.
const MnemonicRecord MnemonicTable[MnemonicCount] = {
    /*  0 */ {0177777, 0000000, "halt", FmtNone},
    /*  1 */ {0177777, 0000001, "wait", FmtNone},
    /*  2 */ {0177777, 0000002, "rti", FmtNone},
    /*  3 */ {0177777, 0000003, "bpt", FmtNone},
    /*  4 */ {0177777, 0000004, "iot", FmtNone},
    /*  5 */ {0177777, 0000005, "reset", FmtNone},
    /*  6 */ {0177777, 0000006, "rtt", FmtNone},
    /*  7 */ {0177777, 0000012, "go", FmtNone},
    /*  8 */ {0177774, 0000010, "go", FmtNone},
    /*  9 */ {0177777, 0000016, "step", FmtNone},
    /* 10 */ {0177774, 0000014, "step", FmtNone},
    /* 11 */ {0177767, 0000020, "rsel", FmtNone},
    /* 12 */ {0177777, 0000021, "mfus", FmtNone},
    /* 13 */ {0177776, 0000022, "rcpc", FmtNone},
    /* 14 */ {0177774, 0000024, "rcps", FmtNone},
    /* 15 */ {0177777, 0000031, "mtus", FmtNone},
    /* 16 */ {0177776, 0000032, "wcpc", FmtNone},
    /* 17 */ {0177774, 0000034, "wcps", FmtNone},
    /* 18 */ {0177740, 0000000, "illop", FmtIllegal},
    /* 19 */ {0177700, 0000100, "jmp", FmtDst},
    /* 20 */ {0177770, 0000200, "rts", FmtReg},
    /* 21 */ {0177760, 0000210, "illop", FmtIllegal},
    /* 22 */ {0177770, 0000230, "spl", FmtPriority},
    /* 23 */ {0177777, 0000240, "nop", FmtNone},
    /* 24 */ {0177777, 0000241, "clc", FmtNone},
    /* 25 */ {0177760, 0000240, "clear", FmtConditions},
    /* 26 */ {0177777, 0000261, "sec", FmtNone},
    /* 27 */ {0177760, 0000260, "set", FmtConditions},
    /* 28 */ {0177700, 0000300, "swab", FmtDst},
    /* 29 */ {0177400, 0000400, "br", FmtBranch},
    /* 30 */ {0177400, 0001000, "bne", FmtBranch},
    /* 31 */ {0177400, 0001400, "beq", FmtBranch},
    /* 32 */ {0177400, 0002000, "bge", FmtBranch},
    /* 33 */ {0177400, 0002400, "blt", FmtBranch},
    /* 34 */ {0177400, 0003000, "bgt", FmtBranch},
    /* 35 */ {0177400, 0003400, "ble", FmtBranch},
    /* 36 */ {0177000, 0004000, "jsr", FmtRegDst},
    /* 37 */ {0077700, 0005000, "clr", FmtDstByte},
    /* 38 */ {0077700, 0005100, "com", FmtDstByte},
    /* 39 */ {0077700, 0005200, "inc", FmtDstByte},
    /* 40 */ {0077700, 0005300, "dec", FmtDstByte},
    /* 41 */ {0077700, 0005400, "neg", FmtDstByte},
    /* 42 */ {0077700, 0005500, "adc", FmtDstByte},
    /* 43 */ {0077700, 0005600, "sbc", FmtDstByte},
    /* 44 */ {0077700, 0005700, "tst", FmtDstByte},
    /* 45 */ {0077700, 0006000, "ror", FmtDstByte},
    /* 46 */ {0077700, 0006100, "rol", FmtDstByte},
    /* 47 */ {0077700, 0006200, "asr", FmtDstByte},
    /* 48 */ {0077700, 0006300, "asl", FmtDstByte},
    /* 49 */ {0177700, 0006400, "mark", FmtMark},
    /* 50 */ {0177700, 0006500, "mfpi", FmtDst},
    /* 51 */ {0177700, 0006600, "mtpi", FmtDst},
    /* 52 */ {0177700, 0006700, "sxt", FmtDst},
    /* 53 */ {0177000, 0007000, "illop", FmtIllegal},
    /* 54 */ {0070000, 0010000, "mov", FmtSrcDstByte},
    /* 55 */ {0070000, 0020000, "cmp", FmtSrcDstByte},
    /* 56 */ {0070000, 0030000, "bit", FmtSrcDstByte},
    /* 57 */ {0070000, 0040000, "bic", FmtSrcDstByte},
    /* 58 */ {0070000, 0050000, "bis", FmtSrcDstByte},
    /* 59 */ {0170000, 0060000, "add", FmtSrcDst},
    /* 60 */ {0170000, 0160000, "sub", FmtSrcDst},
    /* 61 */ {0177000, 0070000, "mul", FmtDstReg},
    /* 62 */ {0177000, 0071000, "div", FmtDstReg},
    /* 63 */ {0177000, 0073000, "ashc", FmtDstReg},  // before "ash": names match by prefix
    /* 64 */ {0177000, 0072000, "ash", FmtDstReg},
    /* 65 */ {0177000, 0074000, "xor", FmtRegDst},
    /* 66 */ {0177770, 0075000, "fadd", FmtReg},
    /* 67 */ {0177770, 0075010, "fsub", FmtReg},
    /* 68 */ {0177770, 0075020, "fmul", FmtReg},
    /* 69 */ {0177770, 0075030, "fdiv", FmtReg},
    /* 70 */ {0177000, 0077000, "sob", FmtSob},
    /* 71 */ {0174000, 0074000, "illop", FmtIllegal},
    /* 72 */ {0177400, 0100000, "bpl", FmtBranch},
    /* 73 */ {0177400, 0100400, "bmi", FmtBranch},
    /* 74 */ {0177400, 0103000, "bcc", FmtBranch},
    /* 75 */ {0177400, 0103000, "bhis", FmtBranch},  // before "bhi": names match by prefix
    /* 76 */ {0177400, 0101000, "bhi", FmtBranch},
    /* 77 */ {0177400, 0101400, "blos", FmtBranch},  // before "blo"
    /* 78 */ {0177400, 0102000, "bvc", FmtBranch},
    /* 79 */ {0177400, 0102400, "bvs", FmtBranch},
    /* 80 */ {0177400, 0103400, "bcs", FmtBranch},
    /* 81 */ {0177400, 0103400, "blo", FmtBranch},
    /* 82 */ {0177400, 0104000, "emt", FmtTrapCode},
    /* 83 */ {0177400, 0104400, "trap", FmtTrapCode},
    /* 84 */ {0177700, 0106400, "mtps", FmtDst},
    /* 85 */ {0177700, 0106500, "mfpd", FmtDst},
    /* 86 */ {0177700, 0106600, "mtpd", FmtDst},
    /* 87 */ {0177700, 0106700, "mfps", FmtDst},
    /* 88 */ {0000000, 0000000, "illop", FmtIllegal},  // everything else
    /* 89 */ {0000000, 0177777, ".word", FmtData},     // never matches; typed data words
};

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
    return {line, instruction.Next};
}
