#include "debugger/Pdp11asm.h"

#include <algorithm>
#include <iterator>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11dis.h"

std::string AsmLine;
int AsmPos;
uint16_t AsmWords[4];
int AsmCount;

namespace {

// The text being scanned: AsmLine cut to its first 64 characters.
std::string_view Text() { return std::string_view(AsmLine).substr(0, AsmLineLimit); }

// Also true before the first character, should ParseOperand be called with
// AsmPos still 0 from an earlier success.
bool AtEnd() { return AsmPos < 1 || size_t(AsmPos) > Text().size(); }

// The character at AsmPos; only called when not at the end.
char Current() { return Text()[size_t(AsmPos - 1)]; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Skips blanks and tells whether there were any.
bool SkipBlanks() {
    const int start = AsmPos;
    while (!AtEnd() && Current() == ' ') ++AsmPos;
    return AsmPos != start;
}

// Exact single-character match.
bool Match(char c) {
    if (AtEnd() || Current() != c) return false;
    ++AsmPos;
    return true;
}

// A name matches by prefix and case-insensitively; nothing need follow it.
bool MatchName(std::string_view name) {
    const std::string_view rest = Text().substr(std::min(Text().size(), size_t(AsmPos - 1)));
    if (rest.size() < name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (Lower(rest[i]) != name[i]) return false;
    }
    AsmPos += int(name.size());
    return true;
}

// The first record of the table whose name matches at AsmPos.
template <size_t N>
const MnemonicRecord* Search(const MnemonicRecord (&table)[N]) {
    for (const MnemonicRecord& record : table) {
        if (MatchName(record.Name)) return &record;
    }
    return nullptr;
}

std::optional<uint16_t> ParseRegister() {
    const MnemonicRecord* record = Search(RegisterNames);
    if (!record) return std::nullopt;
    return record->Value;
}

// A run of digits in Radix, wrapping modulo 2^16; at least one digit.
std::optional<uint16_t> ParseDigits() {
    if (AtEnd() || DigitValue(Current()) >= Radix) return std::nullopt;
    uint16_t value = 0;
    while (!AtEnd() && DigitValue(Current()) < Radix) {
        value = uint16_t(value * Radix + DigitValue(Current()));
        ++AsmPos;
    }
    return value;
}

bool ParseComma() {
    SkipBlanks();
    if (!Match(',')) return false;
    SkipBlanks();
    return true;
}

// "(" register ")", the inner part of the register modes.
std::optional<uint16_t> ParseBracketedRegister() {
    if (!Match('(')) return std::nullopt;
    const std::optional<uint16_t> reg = ParseRegister();
    if (!reg || !Match(')')) return std::nullopt;
    return reg;
}

// An instruction has at most three words; the guard only keeps a stray call
// of ParseOperand from writing past the array.
void AppendWord(uint16_t word) {
    if (AsmCount < int(std::size(AsmWords))) AsmWords[AsmCount++] = word;
}

// A number within 0..limit.
std::optional<uint16_t> ParseSmallNumber(uint16_t limit) {
    const std::optional<uint16_t> value = ParseDigits();
    if (!value || *value > limit) return std::nullopt;
    return value;
}

// A branch target as the 8-bit signed word offset from the address after
// the branch; an odd distance rounds down.
std::optional<uint16_t> ParseBranchOffset() {
    const std::optional<uint16_t> target = ParseDigits();
    if (!target) return std::nullopt;
    const int offset = int16_t(uint16_t(*target - Addr - 2)) >> 1;
    if (offset < -128 || offset > 127) return std::nullopt;
    return uint16_t(offset & 0377);
}

// SOB only branches backwards: the distance in words back from the address
// after the instruction, at most 63.
std::optional<uint16_t> ParseLoopOffset() {
    const std::optional<uint16_t> target = ParseDigits();
    if (!target) return std::nullopt;
    const uint16_t offset = uint16_t(Addr + 2 - *target) >> 1;
    if (offset > 63) return std::nullopt;
    return offset;
}

// ORs a parsed field into the instruction word at the bit position.
bool Put(std::optional<uint16_t> field, int shift) {
    if (!field) return false;
    AsmWords[0] |= uint16_t(*field << shift);
    return true;
}

// The operands of the record's format; && keeps them in text order.
bool ParseOperands(uint16_t format) {
    switch (format) {
        case FmtNone: return true;
        case FmtReg: return Put(ParseRegister(), 0);
        case FmtSrcDstByte:
        case FmtSrcDst: return Put(ParseOperand(), 6) && ParseComma() && Put(ParseOperand(), 0);
        case FmtDstByte:
        case FmtDst: return Put(ParseOperand(), 0);
        case FmtRegDst: return Put(ParseRegister(), 6) && ParseComma() && Put(ParseOperand(), 0);
        case FmtDstReg: return Put(ParseOperand(), 0) && ParseComma() && Put(ParseRegister(), 6);
        case FmtBranch: return Put(ParseBranchOffset(), 0);
        case FmtSob: return Put(ParseRegister(), 6) && ParseComma() && Put(ParseLoopOffset(), 0);
        case FmtPriority: return Put(ParseSmallNumber(7), 0);
        case FmtMark: return Put(ParseSmallNumber(63), 0);
        case FmtTrapCode: return Put(ParseSmallNumber(255), 0);
        case FmtConditions:
            // Lower case only, each at most once, in this order.
            if (Match('c')) AsmWords[0] |= FlagC;
            if (Match('v')) AsmWords[0] |= FlagV;
            if (Match('z')) AsmWords[0] |= FlagZ;
            if (Match('n')) AsmWords[0] |= FlagN;
            return true;
        case FmtData: {
            const std::optional<uint16_t> value = ParseDigits();
            if (!value) return false;
            AsmWords[0] = *value;  // the whole word
            return true;
        }
        default: return false;  // illegal: never assembles
    }
}

}  // namespace

std::optional<uint16_t> ParseOperand() {
    const uint16_t deferred = Match('@') ? 010 : 0;
    if (const std::optional<uint16_t> reg = ParseRegister()) {
        return uint16_t(deferred | *reg);  // "@r1" is "(r1)"
    }
    if (Match('#')) {
        const std::optional<uint16_t> value = ParseDigits();
        if (!value) return std::nullopt;
        AppendWord(*value);
        return uint16_t(027 | deferred);
    }
    if (Match('-')) {
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        return uint16_t(040 | deferred | *reg);
    }
    if (!AtEnd() && Current() == '(') {
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        if (Match('+')) return uint16_t(020 | deferred | *reg);
        if (!deferred) return uint16_t(010 | *reg);
        // "@(r1)": index mode deferred with a zero index.
        AppendWord(0);
        return uint16_t(070 | *reg);
    }
    const std::optional<uint16_t> number = ParseDigits();
    if (!number) return std::nullopt;
    if (!AtEnd() && Current() == '(') {
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        AppendWord(*number);
        return uint16_t(060 | deferred | *reg);
    }
    // PC-relative: the index is counted from the address after the index word.
    AppendWord(uint16_t(*number - (Addr + 2 * AsmCount + 2)));
    return uint16_t(067 | deferred);
}

void AssembleLine() {
    AsmPos = 1;
    AsmCount = 0;
    SkipBlanks();
    if (AtEnd()) {
        AsmPos = 0;
        return;
    }
    const MnemonicRecord* record = Search(MnemonicTable);
    if (!record || record->Format == FmtIllegal) return;
    AppendWord(record->Value);
    if ((record->Format == FmtSrcDstByte || record->Format == FmtDstByte) && !AtEnd() && Lower(Current()) == 'b') {
        ++AsmPos;
        AsmWords[0] |= 0100000;
    }
    if (!SkipBlanks() && record->Format != FmtNone) return;
    if (!ParseOperands(record->Format)) return;
    SkipBlanks();
    if (AtEnd()) AsmPos = 0;
}

void StoreWord(uint16_t word) {
    if (IsRom(Addr) || IsRam(Addr)) {
        const Location cell = ReadCell();
        // The unmapped port addresses (0x0101-0x0103, 0x0105-0x0107) read as
        // ZeroCell; a store there is discarded so unmapped reads stay 0.
        if (cell.at != CellOf(ZeroCell).at) cell.SetWord(word);
    }
    Addr += 2;
}
