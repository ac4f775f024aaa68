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
std::string AsmReason;

namespace {

// Set while a source line is assembled: its number reader.
const AsmNumberReader* sourceNumbers = nullptr;

bool SourceMode() { return sourceNumbers != nullptr; }

// The text being scanned: AsmLine, cut to its first 64 characters for the
// debugger's edit field.
std::string_view Text() {
    const std::string_view line(AsmLine);
    return SourceMode() ? line : line.substr(0, AsmLineLimit);
}

// Also true before the first character, should ParseOperand be called with
// AsmPos still 0 from an earlier success.
bool AtEnd() { return AsmPos < 1 || size_t(AsmPos) > Text().size(); }

// The character at AsmPos; only called when not at the end.
char Current() { return Text()[size_t(AsmPos - 1)]; }

// The character after it, or 0 at the end.
char Next() { return size_t(AsmPos) < Text().size() ? Text()[size_t(AsmPos)] : 0; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// In a source file a name ends where a label's characters end.
bool NameContinues() { return SourceMode() && !AtEnd() && IsNameChar(Current()); }

// The first reason stands: the check that failed first knows best.
bool Fail(std::string_view reason) {
    if (AsmReason.empty()) AsmReason = reason;
    return false;
}

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

bool Require(char c) {
    if (Match(c)) return true;
    return Fail(std::string("expected '") + c + "'");
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

// A register name, or nothing with AsmPos unchanged.
std::optional<uint16_t> MatchRegister() {
    const int start = AsmPos;
    const MnemonicRecord* record = Search(RegisterNames);
    if (!record || NameContinues()) {
        AsmPos = start;
        return std::nullopt;
    }
    return record->Value;
}

std::optional<uint16_t> ParseRegister() {
    const std::optional<uint16_t> reg = MatchRegister();
    if (!reg) Fail("expected a register");
    return reg;
}

// A run of digits in Radix, wrapping modulo 2^16; at least one digit.
std::optional<uint16_t> ParseDigits() {
    if (AtEnd() || DigitValue(Current()) >= Radix) {
        Fail("expected a number");
        return std::nullopt;
    }
    uint16_t value = 0;
    while (!AtEnd() && DigitValue(Current()) < Radix) {
        value = uint16_t(value * Radix + DigitValue(Current()));
        ++AsmPos;
    }
    return value;
}

std::optional<uint16_t> ParseNumber() { return SourceMode() ? (*sourceNumbers)() : ParseDigits(); }

bool ParseComma() {
    SkipBlanks();
    if (!Require(',')) return false;
    SkipBlanks();
    return true;
}

// "(" register ")", the inner part of the register modes.
std::optional<uint16_t> ParseBracketedRegister() {
    if (!Require('(')) return std::nullopt;
    const std::optional<uint16_t> reg = ParseRegister();
    if (!reg || !Require(')')) return std::nullopt;
    return reg;
}

// In a source file "(" may also open an expression, as in "(k+1)*2(r1)":
// it is a register mode only where a register and ")" follow.
bool BracketedRegisterFollows() {
    const int start = AsmPos;
    const bool follows = Match('(') && MatchRegister() && Match(')');
    AsmPos = start;
    return follows;
}

// An instruction has at most three words; the guard only keeps a stray call
// of ParseOperand from writing past the array.
void AppendWord(uint16_t word) {
    if (AsmCount < int(std::size(AsmWords))) AsmWords[AsmCount++] = word;
}

// A value that failed a range check. The debugger's caret stands after it;
// a source file's message points at its start.
std::nullopt_t OutOfRange(int start, std::string_view reason) {
    if (SourceMode()) AsmPos = start;
    Fail(reason);
    return std::nullopt;
}

// A number within 0..limit.
std::optional<uint16_t> ParseSmallNumber(uint16_t limit) {
    const int start = AsmPos;
    const std::optional<uint16_t> value = ParseNumber();
    if (!value) return std::nullopt;
    if (*value > limit) return OutOfRange(start, "value out of range (0 to " + FormatWord(limit, ' ') + ")");
    return value;
}

// A branch or loop target; in a source file an odd one is a mistake.
std::optional<uint16_t> ParseTarget() {
    const int start = AsmPos;
    const std::optional<uint16_t> target = ParseNumber();
    if (target && SourceMode() && (*target & 1)) return OutOfRange(start, "branch target at an odd address");
    return target;
}

// A branch target as the 8-bit signed word offset from the address after
// the branch; an odd distance rounds down.
std::optional<uint16_t> ParseBranchOffset() {
    const int start = AsmPos;
    const std::optional<uint16_t> target = ParseTarget();
    if (!target) return std::nullopt;
    const int offset = int16_t(uint16_t(*target - Mk.Addr - 2)) >> 1;
    if (offset < -128 || offset > 127) return OutOfRange(start, "branch target out of range (-128 to 127 words)");
    return uint16_t(offset & 0377);
}

// SOB only branches backwards: the distance in words back from the address
// after the instruction, at most 63.
std::optional<uint16_t> ParseLoopOffset() {
    const int start = AsmPos;
    const std::optional<uint16_t> target = ParseTarget();
    if (!target) return std::nullopt;
    const uint16_t offset = uint16_t(Mk.Addr + 2 - *target) >> 1;
    if (offset > 63) return OutOfRange(start, "SOB target out of range (0 to 63 words back)");
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
            const std::optional<uint16_t> value = ParseNumber();
            if (!value) return false;
            AsmWords[0] = *value;  // the whole word
            return true;
        }
        default: return false;  // illegal: never assembles
    }
}

// The mnemonic at AsmPos with its byte suffix, or nothing with AsmPos left
// at its first character.
const MnemonicRecord* ParseMnemonic() {
    const int start = AsmPos;
    const MnemonicRecord* record = Search(MnemonicTable);
    if (record && (record->Format == FmtSrcDstByte || record->Format == FmtDstByte) && !AtEnd() &&
        Lower(Current()) == 'b') {
        ++AsmPos;
        AsmWords[0] |= 0100000;
    }
    if (record && record->Format != FmtIllegal && !NameContinues()) return record;
    if (record && !SourceMode()) return record;  // the debugger's caret stands after the name
    AsmPos = start;
    const std::string_view rest = Text().substr(size_t(start - 1));
    size_t length = 0;
    while (length < rest.size() && IsNameChar(rest[length])) ++length;
    Fail(length == 0 ? std::string("expected a mnemonic")
                     : "unknown mnemonic '" + std::string(rest.substr(0, length)) + "'");
    return nullptr;
}

}  // namespace

std::optional<uint16_t> ParseOperand() {
    const uint16_t deferred = Match('@') ? 010 : 0;
    if (const std::optional<uint16_t> reg = MatchRegister()) {
        return uint16_t(deferred | *reg);  // "@r1" is "(r1)"
    }
    if (Match('#')) {
        const std::optional<uint16_t> value = ParseNumber();
        if (!value) return std::nullopt;
        AppendWord(*value);
        return uint16_t(027 | deferred);
    }
    if (!AtEnd() && Current() == '-' && (!SourceMode() || Next() == '(')) {
        ++AsmPos;
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        return uint16_t(040 | deferred | *reg);
    }
    if (!AtEnd() && Current() == '(' && (!SourceMode() || BracketedRegisterFollows())) {
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        if (Match('+')) return uint16_t(020 | deferred | *reg);
        if (!deferred) return uint16_t(010 | *reg);
        // "@(r1)": index mode deferred with a zero index.
        AppendWord(0);
        return uint16_t(070 | *reg);
    }
    if (AtEnd() || Current() == ',') {
        Fail("expected an operand");
        return std::nullopt;
    }
    const std::optional<uint16_t> number = ParseNumber();
    if (!number) return std::nullopt;
    if (!AtEnd() && Current() == '(' && (!SourceMode() || BracketedRegisterFollows())) {
        const std::optional<uint16_t> reg = ParseBracketedRegister();
        if (!reg) return std::nullopt;
        AppendWord(*number);
        return uint16_t(060 | deferred | *reg);
    }
    // PC-relative: the index is counted from the address after the index word.
    AppendWord(uint16_t(*number - (Mk.Addr + 2 * AsmCount + 2)));
    return uint16_t(067 | deferred);
}

void AssembleLine() {
    AsmPos = 1;
    AsmCount = 0;
    AsmReason.clear();
    SkipBlanks();
    if (AtEnd()) {
        AsmPos = 0;
        return;
    }
    AsmWords[0] = 0;
    const MnemonicRecord* record = ParseMnemonic();
    if (!record) return;
    if (record->Format == FmtIllegal) {
        Fail("'illop' is no instruction");
        return;
    }
    AsmWords[0] |= record->Value;
    AsmCount = 1;
    if (!SkipBlanks() && record->Format != FmtNone) {
        Fail("expected a blank after the mnemonic");
        return;
    }
    if (!ParseOperands(record->Format)) return;
    SkipBlanks();
    if (AtEnd()) {
        AsmPos = 0;
    } else {
        Fail("unexpected text after the instruction");
    }
}

void AssembleSourceLine(const AsmNumberReader& readNumber) {
    sourceNumbers = &readNumber;
    AssembleLine();
    sourceNumbers = nullptr;
}

void StoreWord(uint16_t word) {
    if (IsRom(Mk.Addr) || IsRam(Mk.Addr)) {
        const Location cell = ReadCell();
        // The unmapped port addresses (0x0101-0x0103, 0x0105-0x0107) read as
        // ZeroCell; a store there is discarded so unmapped reads stay 0.
        if (cell.at != CellOf(Mk.ZeroCell).at) cell.SetWord(word);
    }
    Mk.Addr += 2;
}
