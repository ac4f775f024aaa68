#include "debugger/Pdp11asm.h"

#include <algorithm>
#include <cstring>

#include "debugger/Pdp11dis.h"
#include "debugger/SymbolNames.h"

namespace {

// One line being assembled. Its scan position and what it has produced so
// far are the result it is building.
class LineAssembler : private AsmResult {
public:
    LineAssembler(std::string_view line, uint16_t address, const NumberFormat& numbers,
                  const AsmNumberReader* sourceNumbers)
        : AsmLine(sourceNumbers ? line : line.substr(0, AsmLineLimit)),
          Addr(address),
          numbers_(numbers),
          sourceNumbers_(sourceNumbers) {}

    AsmResult Assemble() {
        AsmPos = 1;
        SkipBlanks();
        if (AtEnd()) return Success();
        const MnemonicRecord* record = ParseMnemonic();
        if (!record) return Failure();
        if (record->Format == FmtIllegal) return Failure("'illop' is no instruction");
        AsmWords[0] |= record->Value;
        AsmCount = 1;
        if (!SkipBlanks() && record->Format != FmtNone) return Failure("expected a blank after the mnemonic");
        if (!ParseOperands(record->Format)) return Failure();
        SkipBlanks();
        if (!AtEnd()) return Failure("unexpected text after the instruction");
        return Success();
    }

private:
    AsmResult Success() {
        AsmPos = 0;
        return *this;
    }

    // Stops at AsmPos, with the reason unless an earlier check gave one. A
    // failed line has no words.
    AsmResult Failure(std::string_view reason = {}) {
        if (!reason.empty()) Fail(reason);
        AsmWords = {};
        AsmCount = 0;
        return *this;
    }

    bool SourceMode() const { return sourceNumbers_ != nullptr; }

    bool AtEnd() const { return size_t(AsmPos) > AsmLine.size(); }

    // The character at AsmPos; only called when not at the end.
    char Current() const { return AsmLine[size_t(AsmPos - 1)]; }

    // The character after it, or 0 at the end.
    char Next() const { return size_t(AsmPos) < AsmLine.size() ? AsmLine[size_t(AsmPos)] : 0; }

    // In a source file a name ends where a label's characters end.
    bool NameContinues() const { return SourceMode() && !AtEnd() && IsNameChar(Current()); }

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
        const std::string_view rest = AsmLine.substr(std::min(AsmLine.size(), size_t(AsmPos - 1)));
        if (rest.size() < name.size()) return false;
        for (size_t i = 0; i < name.size(); ++i) {
            if (LowerCase(rest[i]) != name[i]) return false;
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

    // A run of digits in the radix, wrapping modulo 2^16; at least one digit.
    std::optional<uint16_t> ParseDigits() {
        const int32_t radix = numbers_.Radix();
        if (AtEnd() || DigitValue(Current()) >= radix) {
            Fail("expected a number");
            return std::nullopt;
        }
        uint16_t value = 0;
        while (!AtEnd() && DigitValue(Current()) < radix) {
            value = uint16_t(value * radix + DigitValue(Current()));
            ++AsmPos;
        }
        return value;
    }

    std::optional<uint16_t> ParseNumber() {
        if (!SourceMode()) return ParseDigits();
        const AsmNumber number = (*sourceNumbers_)(AsmPos);
        AsmPos = number.AsmPos;
        if (!number.Value) Fail(number.AsmReason);
        return number.Value;
    }

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

    // An instruction has at most three words, which AsmWords holds.
    void AppendWord(uint16_t word) {
        if (AsmCount < int(AsmWords.size())) AsmWords[size_t(AsmCount++)] = word;
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
        if (*value > limit)
            return OutOfRange(start, "value out of range (0 to " + FormatWord(limit, ' ', numbers_) + ")");
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
        const int offset = int16_t(uint16_t(*target - Addr - 2)) >> 1;
        if (offset < -128 || offset > 127) return OutOfRange(start, "branch target out of range (-128 to 127 words)");
        return uint16_t(offset & 0377);
    }

    // SOB only branches backwards: the distance in words back from the address
    // after the instruction, at most 63.
    std::optional<uint16_t> ParseLoopOffset() {
        const int start = AsmPos;
        const std::optional<uint16_t> target = ParseTarget();
        if (!target) return std::nullopt;
        const uint16_t offset = uint16_t(Addr + 2 - *target) >> 1;
        if (offset > 63) return OutOfRange(start, "SOB target out of range (0 to 63 words back)");
        return offset;
    }

    // ORs a parsed field into the instruction word at the bit position.
    bool Put(std::optional<uint16_t> field, int shift) {
        if (!field) return false;
        AsmWords[0] |= uint16_t(*field << shift);
        return true;
    }

    // One addressing field: mode in bits 3-5, register in bits 0-2. Appends
    // its extra word, if it has one; nothing on failure.
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
        AppendWord(uint16_t(*number - (Addr + 2 * AsmCount + 2)));
        return uint16_t(067 | deferred);
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
            LowerCase(Current()) == 'b') {
            ++AsmPos;
            AsmWords[0] |= 0100000;
        }
        if (record && record->Format != FmtIllegal && !NameContinues()) return record;
        if (record && !SourceMode()) return record;  // the debugger's caret stands after the name
        AsmPos = start;
        const std::string_view rest = AsmLine.substr(size_t(start - 1));
        size_t length = 0;
        while (length < rest.size() && IsNameChar(rest[length])) ++length;
        Fail(length == 0 ? std::string("expected a mnemonic")
                         : "unknown mnemonic '" + std::string(rest.substr(0, length)) + "'");
        return nullptr;
    }

    const std::string_view AsmLine;  // the text that counts
    const uint16_t Addr;             // where the first word will stand
    const NumberFormat& numbers_;
    const AsmNumberReader* sourceNumbers_;  // a source file's numbers; none for a typed line
};

}  // namespace

AsmResult AssembleLine(std::string_view AsmLine, uint16_t address, const NumberFormat& numbers) {
    return LineAssembler(AsmLine, address, numbers, nullptr).Assemble();
}

AsmResult AssembleSourceLine(std::string_view AsmLine, uint16_t address, const NumberFormat& numbers,
                             const AsmNumberReader& readNumber) {
    return LineAssembler(AsmLine, address, numbers, &readNumber).Assemble();
}

void StoreWord(Machine& machine, uint16_t address, uint16_t word) {
    if (ReadsMemory(machine, address)) {
        std::memcpy(machine.Memory.data() + address, &word, sizeof word);
    } else if (address == KeyInAddress) {
        machine.KeyIn = word;  // until the next read scans the keys again
    } else if (address == CtrlPortAddress) {
        machine.CtrlPort = word;
    }
}

uint16_t StoreWords(Machine& machine, uint16_t address, std::span<const uint16_t> words) {
    for (const uint16_t word : words) {
        StoreWord(machine, address, word);
        address += 2;
    }
    return address;
}
