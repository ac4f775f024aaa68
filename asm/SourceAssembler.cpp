#include "asm/SourceAssembler.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>

#include "asm/Expression.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"

namespace {

constexpr size_t MaxErrors = 100;
constexpr int32_t AddressSpace = 0x10000;
constexpr int32_t DefaultRadix = 16;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The line without its comment, which starts at the first ';' outside quoted
// text or a quoted character, and with the tabs outside quotes made blanks.
// Every character keeps its column.
std::string StatementText(std::string_view line) {
    std::string text;
    char quote = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quote) {
            if (c == '\\' && i + 1 < line.size()) {
                text += c;
                c = line[++i];
            } else if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            break;
        } else if (c == '\t') {
            c = ' ';
        }
        text += c;
    }
    return text;
}

// The lines of a source file, or why it cannot be read.
struct SourceFile {
    std::vector<std::string> lines;
    std::string problem;
    size_t size = 0;  // in bytes
};

SourceFile ReadSource(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return {{}, "no such file"};
    // A folder or a pipe is no source, and reading a pipe could wait forever.
    if (!std::filesystem::is_regular_file(status)) return {{}, "not a regular file"};
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return {{}, "cannot read the file"};
    if (size > MaxSourceSize) return {{}, "the file is too large for a source (over 4 MiB)"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {{}, "cannot read the file"};
    SourceFile file;
    file.size = size_t(size);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
        file.lines.push_back(std::move(line));
    }
    if (in.bad()) return {{}, "cannot read the file"};
    return file;
}

// The values an expression may take where it stands.
struct Range {
    int64_t low;
    int64_t high;
    const char* what;
};
constexpr Range WordRange{-0x8000, 0xFFFF, "a word"};
constexpr Range ByteRange{-0x80, 0xFF, "a byte"};
constexpr Range AddressRange{0, 0xFFFF, "an address"};
constexpr Range AnyValue{-ExpressionLimit, ExpressionLimit, "a value"};

class Assembler {
public:
    SourceResult Run(const std::string& path) {
        result_.rom.assign(RomSize, 0);
        owner_.assign(RomSize, -1);
        for (const bool final : {false, true}) {
            finalPass_ = final;
            location_ = 0;
            ordinal_ = -1;
            scope_ = 0;
            routine_.clear();
            sourceRead_ = 0;
            numbers_ = NumberFormat(DefaultRadix);
            AssembleFile(path, std::nullopt);
        }
        result_.files = fileNames_;
        return std::move(result_);
    }

private:
    // Where each line stands, from the first pass: its file, its line and the
    // location after it. The second pass goes on from there after a line
    // with an error, so that one mistake is reported once.
    struct LineRecord {
        int file;
        int line;
        int32_t end;
    };
    struct Symbol {
        int32_t value;
        long ordinal;   // the line that defines it
        size_t column;  // where on that line, as a line may define several names
    };

    // --- Files and lines --------------------------------------------------

    // Assembles one file. includeColumn is where the .include names it; the
    // main file has none.
    void AssembleFile(const std::string& path, std::optional<size_t> includeColumn) {
        const std::string& key = FileKey(path);
        if (std::find(includeStack_.begin(), includeStack_.end(), key) != includeStack_.end()) {
            Error(*includeColumn, "'" + path + "' includes itself");
            return;
        }
        // Bounds both the recursion and the work: files that include one
        // another ten times over, nine levels deep, would take hours.
        if (includeStack_.size() > size_t(MaxIncludeDepth)) {
            Error(*includeColumn, "cannot include '" + path + "': includes nest more than " +
                                      std::to_string(MaxIncludeDepth) + " deep");
            return;
        }
        const auto [cached, added] = cache_.try_emplace(key);
        if (added) cached->second = ReadSource(path);
        const SourceFile& source = cached->second;
        if (!source.problem.empty()) {
            if (includeColumn) {
                Error(*includeColumn, "cannot include '" + path + "': " + source.problem);
            } else if (finalPass_) {
                result_.errors.push_back({path, 0, 0, source.problem});
            }
            return;
        }
        if (sourceRead_ + source.size > MaxSourceSize) {
            Error(*includeColumn, "cannot include '" + path + "': the source and what it includes pass " +
                                      std::to_string(MaxSourceSize >> 20) +
                                      " MiB in all, each file counted as often as it is included");
            return;
        }
        sourceRead_ += source.size;
        if (!finalPass_) fileNames_.push_back(path);
        const int fileIndex = int(fileNames_.size()) - 1;
        includeStack_.push_back(key);
        for (size_t i = 0; i < source.lines.size() && !stopped_; ++i) {
            file_ = path;
            line_ = int(i + 1);
            // An .include counts the lines it brings in before it returns.
            const long ordinal = ++ordinal_;
            if (!finalPass_) layout_.push_back({fileIndex, line_, 0});
            const size_t errorsBefore = result_.errors.size();
            Line(source.lines[i]);
            if (!finalPass_) layout_[size_t(ordinal)].end = location_;
            if (finalPass_ && result_.errors.size() != errorsBefore) location_ = layout_[size_t(ordinal)].end;
        }
        includeStack_.pop_back();
    }

    // The file's name with every link resolved, which names it whatever way
    // it is reached; worked out once for each path.
    const std::string& FileKey(const std::string& path) {
        const auto [known, added] = fileKeys_.try_emplace(path);
        if (added) {
            std::error_code ignored;
            known->second = std::filesystem::weakly_canonical(path, ignored).string();
            if (known->second.empty()) known->second = path;
        }
        return known->second;
    }

    void Line(const std::string& raw) {
        raw_ = &raw;
        text_ = StatementText(raw);
        pos_ = 0;
        lineStart_ = location_;
        code_.clear();
        codeInWords_ = false;
        emitFailed_ = false;
        listed_ = false;
        equateValue_.reset();

        showAddress_ = Labels();
        statementColumn_ = pos_;
        if (pos_ < text_.size()) {
            showAddress_ = true;
            if (const size_t equals = EquateSign(); equals != std::string::npos) {
                Equate(equals);
            } else if (text_[pos_] == '.' && pos_ + 1 < text_.size() && IsNameStart(text_[pos_ + 1])) {
                Directive();
            } else {
                Instruction();
            }
        }
        if (!listed_) List();
    }

    // "name:" or "local$:" at the start of the line, any number of them;
    // tells whether there were any. An ordinary label opens the scope of the
    // local labels that follow it, which the symbol file writes under it.
    bool Labels() {
        for (bool any = false;; any = true) {
            SkipBlanks();
            const size_t end = LabelEnd(pos_);
            if (end == pos_ || end == text_.size() || text_[end] != ':') return any;
            const std::string name = text_.substr(pos_, end - pos_);
            const bool local = name.back() == '$';
            if (!local) {
                ++scope_;
                routine_ = name;
            }
            if (finalPass_ && !routine_.empty())
                result_.labels.push_back({uint16_t(location_), local ? LocalLabelName(routine_, name) : name});
            Define(pos_, location_);
            std::fill(text_.begin() + long(pos_), text_.begin() + long(end) + 1, ' ');
            pos_ = end + 1;
        }
    }

    // The position of the "=" of "name = value", or npos.
    size_t EquateSign() const {
        size_t after = NameEnd(pos_);
        if (after == pos_) return std::string::npos;
        while (after < text_.size() && text_[after] == ' ') ++after;
        return after < text_.size() && text_[after] == '=' ? after : std::string::npos;
    }

    // "name = value": a constant, from what is defined above it.
    void Equate(size_t equals) {
        const size_t nameColumn = pos_;
        pos_ = equals + 1;
        SkipBlanks();
        const std::optional<int64_t> value = Expression(WordRange, true);
        if (!value) {
            Report();
            return;
        }
        if (!ExpectEnd("the value")) return;
        Define(nameColumn, int32_t(uint16_t(*value)));
        showAddress_ = false;
        equateValue_ = uint16_t(*value);
    }

    // Enters the name at the column with its value. The first pass finds the
    // second definition of a name silently; the second pass reports it, and
    // meets the first one again where it stands.
    void Define(size_t column, int32_t value) {
        const std::string name = text_.substr(column, LabelEnd(column) - column);
        const std::string key = SymbolKey(name);
        if (const std::string problem = NameProblem(name); !problem.empty()) {
            Error(column, problem);
            return;
        }
        const auto [symbol, added] = symbols_.try_emplace(key, Symbol{value, ordinal_, column});
        if (!added && (symbol->second.ordinal != ordinal_ || symbol->second.column != column)) {
            const LineRecord& first = layout_[size_t(symbol->second.ordinal)];
            Error(column, "duplicate label '" + name + "' (first defined at " + fileNames_[size_t(first.file)] + ":" +
                              std::to_string(first.line) + ")");
        }
    }

    // --- Instructions -------------------------------------------------------

    void Instruction() {
        if (finalPass_ && (location_ & 1)) {
            Error(pos_, "an instruction at the odd address " + InRadix(location_) + "; put .even before it");
            return;
        }
        const AsmResult assembled = AssembleSourceLine(text_, uint16_t(location_), numbers_, numberReader_);
        if (!assembled.Succeeded()) {
            Error(size_t(assembled.AsmPos - 1), assembled.AsmReason);
            return;
        }
        codeInWords_ = true;
        for (const uint16_t word : assembled.Words()) EmitWord(word);
    }

    // The line assembler's numbers: expressions, counted from its position.
    AsmNumber ReadOperandNumber(int asmPos) {
        pos_ = size_t(asmPos - 1);
        const std::optional<int64_t> value = Expression(WordRange, false);
        if (!value) return {std::nullopt, int(problem_.column) + 1, problem_.reason};
        return {uint16_t(*value), int(pos_) + 1, {}};
    }

    const AsmNumberReader numberReader_ = [this](int asmPos) { return ReadOperandNumber(asmPos); };

    // --- Directives ---------------------------------------------------------

    // A directive's handler reads its operands from pos_ and tells whether
    // the rest of the line is still to be checked.
    using Handler = bool (Assembler::*)(size_t column);
    struct DirectiveRecord {
        std::string_view name;
        Handler handler;
    };

    void Directive() {
        static constexpr DirectiveRecord directives[] = {
            {".org", &Assembler::Org},     {".word", &Assembler::Word},   {".byte", &Assembler::Byte},
            {".ascii", &Assembler::Ascii}, {".even", &Assembler::Even},   {".blkb", &Assembler::Blkb},
            {".radix", &Assembler::SetSourceRadix}, {".include", &Assembler::Include},
            {".asciz", &Assembler::Asciz}, {".blkw", &Assembler::Blkw},   {".assert", &Assembler::Assert},
        };
        const size_t column = pos_;
        const size_t end = NameEnd(pos_ + 1);
        const std::string name = LowerCase(std::string_view(text_).substr(column, end - column));
        const auto found = std::find_if(std::begin(directives), std::end(directives),
                                        [&](const DirectiveRecord& d) { return d.name == name; });
        if (found == std::end(directives)) {
            Error(column, "unknown directive '" + name + "'");
            return;
        }
        pos_ = end;
        SkipBlanks();
        if ((this->*found->handler)(column)) ExpectEnd("the directive");
    }

    bool Org(size_t) {
        const std::optional<int64_t> address = Expression(AddressRange, true);
        if (!address) return Report();
        location_ = lineStart_ = int32_t(*address);
        return true;
    }

    bool Word(size_t column) {
        if (finalPass_ && (location_ & 1)) {
            return Error(column, "a word at the odd address " + InRadix(location_) + "; put .even before it");
        }
        codeInWords_ = true;
        return Values(WordRange, [this](int64_t value) { EmitWord(uint16_t(value)); });
    }

    bool Byte(size_t) {
        return Values(ByteRange, [this](int64_t value) { Emit(uint8_t(value)); });
    }

    bool Ascii(size_t) {
        const std::optional<std::string> text = QuotedText();
        if (!text) return Report();
        for (char c : *text) Emit(uint8_t(c));
        return true;
    }

    bool Asciz(size_t column) {
        if (!Ascii(column)) return false;
        Emit(0);
        return true;
    }

    bool Even(size_t) {
        location_ += location_ & 1;
        return true;
    }

    bool Blkb(size_t) {
        const std::optional<int64_t> count = Expression({0, AddressSpace - location_, "a block here"}, true);
        if (!count) return Report();
        location_ += int32_t(*count);
        return true;
    }

    bool Blkw(size_t column) {
        if (finalPass_ && (location_ & 1)) {
            return Error(column, "words at the odd address " + InRadix(location_) + "; put .even before it");
        }
        const std::optional<int64_t> count = Expression({0, (AddressSpace - location_) / 2, "a block here"}, true);
        if (!count) return Report();
        location_ += 2 * int32_t(*count);
        return true;
    }

    // The radix is always written in decimal, whatever radix is in force.
    bool SetSourceRadix(size_t) {
        const size_t start = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
        const std::string digits = text_.substr(start, pos_ - start);
        if (digits != "8" && digits != "10" && digits != "16") return Error(start, "the radix must be 8, 10 or 16");
        showAddress_ = false;
        List();  // still in the radix it leaves, like the lines above it
        numbers_ = NumberFormat(std::stoi(digits));
        return true;
    }

    // .assert CONDITION, "message": the second pass, which knows every
    // label, reports the message when the condition is 0. Nothing is
    // assembled.
    bool Assert(size_t) {
        const size_t start = pos_;
        const std::optional<int64_t> value = Expression(AnyValue, false);
        if (!value) return Report();
        const std::string condition = text_.substr(start, pos_ - start);
        SkipBlanks();
        if (pos_ == text_.size() || text_[pos_] != ',') return Error(pos_, "expected ',' and the message");
        ++pos_;
        SkipBlanks();
        const std::optional<std::string> message = QuotedText();
        if (!message) return Report();
        showAddress_ = false;
        if (ExpectEnd("the message") && *value == 0) Error(start, *message + " (" + condition + " is false)");
        return false;  // the end of the line is checked already
    }

    // The file is found beside the one that includes it.
    bool Include(size_t) {
        const size_t column = pos_;
        const std::optional<std::string> name = QuotedText();
        if (!name) return Report();
        if (!ExpectEnd("the file name")) return false;
        showAddress_ = false;
        List();
        const std::string path = (std::filesystem::path(file_).parent_path() / *name).string();
        const std::string savedFile = file_;
        const int savedLine = line_;
        AssembleFile(path, column);
        file_ = savedFile;
        line_ = savedLine;
        return false;  // the end of the line is checked already
    }

    // value {, value}, each emitted as it is read.
    template <typename EmitValue>
    bool Values(const Range& range, EmitValue emit) {
        for (;;) {
            const std::optional<int64_t> value = Expression(range, false);
            if (!value) return Report();
            emit(*value);
            SkipBlanks();
            if (pos_ == text_.size() || text_[pos_] != ',') return true;
            ++pos_;
            SkipBlanks();
        }
    }

    // --- Expressions ----------------------------------------------------------

    // An expression, with the range of the place checked at the end. known:
    // every label must be defined above this line, as where the line's bytes
    // go depends on the value. The first pass takes an undefined label as the
    // current address and checks only such known values, so that a forward
    // reference never changes the size of a line.
    std::optional<int64_t> Expression(const Range& range, bool known) {
        const size_t start = pos_;
        const ExpressionSettings settings{numbers_.Radix(), location_, finalPass_ || known};
        const NameValue names = [this, known](const std::string& name, size_t column, TextProblem& problem) {
            return NameValueOf(name, column, known, problem);
        };
        const std::optional<int64_t> value = ReadExpression(text_, pos_, settings, names, problem_);
        if (value && (finalPass_ || known) && (*value < range.low || *value > range.high)) {
            return Fail(start, "value out of range for " + std::string(range.what) + " (" + InRadix(range.low) + " to " +
                                   InRadix(range.high) + ")");
        }
        return value;
    }

    // A label or constant in an expression.
    std::optional<int64_t> NameValueOf(const std::string& name, size_t column, bool known, TextProblem& problem) {
        const auto fail = [&](std::string reason) {
            problem = {column, std::move(reason)};
            return std::nullopt;
        };
        const auto symbol = symbols_.find(SymbolKey(name));
        if (known && (symbol == symbols_.end() || symbol->second.ordinal >= ordinal_)) {
            return fail("'" + name + "' must be defined above this line");
        }
        if (symbol != symbols_.end()) return symbol->second.value;
        if (!finalPass_) return location_;
        if (name.back() == '$') {
            return fail("undefined local label '" + name +
                        "' (a local label is known from one ordinary label to the next)");
        }
        if (AllDigitsOf(name, numbers_.Radix())) {
            return fail("undefined label '" + name + "'; a number that begins with a letter needs a 0 before it, as 0" +
                        name);
        }
        return fail("undefined label '" + name + "'");
    }

    // "text", with \\, \", \' and \xHH.
    std::optional<std::string> QuotedText() {
        if (pos_ == text_.size() || text_[pos_] != '"') {
            Fail(pos_, "expected a text in double quotes");
            return std::nullopt;
        }
        ++pos_;
        std::string text;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            const std::optional<char> c = ReadTextChar(text_, pos_, problem_);
            if (!c) return std::nullopt;
            text += *c;
        }
        if (pos_ == text_.size()) {
            Fail(pos_, "missing the closing double quote");
            return std::nullopt;
        }
        ++pos_;
        return text;
    }

    // --- Output -------------------------------------------------------------

    void EmitWord(uint16_t word) {
        Emit(uint8_t(word));
        Emit(uint8_t(word >> 8));
    }

    // The second pass puts the byte into the ROM image, reporting the first
    // byte of a line that cannot go there; both passes count it.
    void Emit(uint8_t byte) {
        if (finalPass_ && !emitFailed_) {
            if (location_ >= int32_t(RomSize)) {
                Error(statementColumn_, "address " + InRadix(location_) + " is beyond the ROM (0 to " +
                                            InRadix(RomSize - 1) + "); RAM cannot be part of a ROM image");
                emitFailed_ = true;
            } else if (owner_[size_t(location_)] >= 0) {
                const LineRecord& first = layout_[size_t(owner_[size_t(location_)])];
                Error(statementColumn_, "address " + InRadix(location_) + " is assembled already, at " +
                                            fileNames_[size_t(first.file)] + ":" + std::to_string(first.line));
                emitFailed_ = true;
            } else {
                result_.rom[size_t(location_)] = byte;
                owner_[size_t(location_)] = ordinal_;
            }
        }
        code_.push_back(byte);
        ++location_;
    }

    // --- Listing ------------------------------------------------------------

    // The line with its address and what it assembled to, in the radix in
    // force: three words or as many bytes as fit in the same width a row,
    // further rows for the rest.
    void List() {
        listed_ = true;
        if (!finalPass_) return;
        const size_t codeWidth = size_t(3 * (numbers_.WordDigits() + 1) - 1);
        const size_t perRow = codeInWords_ ? 6 : (codeWidth + 1) / size_t(numbers_.ByteDigits() + 1);
        size_t offset = 0;
        do {
            std::string code = equateValue_ ? "= " + FormatWord(*equateValue_, '0', numbers_) : "";
            for (size_t i = offset; i < std::min(code_.size(), offset + perRow); i += codeInWords_ ? 2 : 1) {
                if (!code.empty()) code += ' ';
                code += codeInWords_ ? FormatWord(uint16_t(code_[i] | code_[i + 1] << 8), '0', numbers_)
                                     : FormatByte(code_[i], '0', numbers_);
            }
            std::string row = showAddress_ ? FormatWord(uint16_t(lineStart_ + int32_t(offset)), '0', numbers_)
                                           : std::string(size_t(numbers_.WordDigits()), ' ');
            row += "  " + code;
            if (offset == 0) row += std::string(codeWidth - code.size(), ' ') + "  " + *raw_;
            row.erase(row.find_last_not_of(' ') + 1);
            result_.listing += row + '\n';
            offset += perRow;
        } while (offset < code_.size());
    }

    // --- Scanning and errors ------------------------------------------------

    // A value as the messages write it, in the radix in force.
    std::string InRadix(int64_t value) const {
        std::string digits = FormatNumber(uint32_t(value < 0 ? -value : value), numbers_.Radix(), ' ');
        digits.erase(0, digits.find_first_not_of(' '));
        return value < 0 ? "-" + digits : digits;
    }

    size_t NameEnd(size_t from) const {
        if (from >= text_.size() || !IsNameStart(text_[from])) return from;
        while (from < text_.size() && IsNameChar(text_[from])) ++from;
        return from;
    }

    // The end of a label's name at the column: an ordinary name, or a local
    // one, letters, digits and "_" ending in "$".
    size_t LabelEnd(size_t from) const {
        size_t end = from;
        while (end < text_.size() && IsNameChar(text_[end])) ++end;
        if (end > from && end < text_.size() && text_[end] == '$') return end + 1;
        return NameEnd(from);
    }

    // The key of a name in the symbol table: a local label's carries the
    // scope it belongs to, which no name can contain.
    std::string SymbolKey(const std::string& name) const {
        const std::string key = LowerCase(name);
        return name.back() == '$' ? std::to_string(scope_) + ":" + key : key;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    bool ExpectEnd(const char* after) {
        SkipBlanks();
        if (pos_ == text_.size()) return true;
        Error(pos_, std::string("unexpected text after ") + after);
        return false;
    }

    std::nullopt_t Fail(size_t column, std::string reason) {
        problem_ = {column, std::move(reason)};
        return std::nullopt;
    }

    // Reports the problem of the expression or text that just failed.
    bool Report() {
        Error(problem_.column, problem_.reason);
        return false;
    }

    // Records an error of the second pass; always false, for the handlers
    // that return it.
    bool Error(size_t column, const std::string& reason) {
        if (!finalPass_ || stopped_) return false;
        result_.errors.push_back({file_, line_, int(column + 1), reason});
        if (result_.errors.size() == MaxErrors) {
            result_.errors.push_back({file_, 0, 0, "too many errors; the rest is not checked"});
            stopped_ = true;
        }
        return false;
    }

    bool finalPass_ = false;
    NumberFormat numbers_;  // the radix in force, which .radix changes
    int32_t location_ = 0;  // may run past FFFF; bytes there are reported
    long ordinal_ = -1;     // the line being assembled, counted through all files
    long scope_ = 0;        // ordinary labels so far: the scope of local labels
    std::string routine_;   // the last ordinary label, which local labels are written under
    std::map<std::string, Symbol> symbols_;
    std::vector<LineRecord> layout_;
    std::vector<std::string> fileNames_;
    std::vector<std::string> includeStack_;
    std::map<std::string, SourceFile> cache_;  // each file is read once, so both passes see the same text
    std::map<std::string, std::string> fileKeys_;
    std::vector<long> owner_;                  // the line that assembled each ROM byte, -1 for none
    SourceResult result_;
    bool stopped_ = false;
    size_t sourceRead_ = 0;  // the bytes of every file assembled in this pass, once per inclusion

    // The line being assembled.
    std::string file_;
    int line_ = 0;
    const std::string* raw_ = nullptr;  // as it stands in the file
    std::string text_;  // StatementText, labels blanked out
    size_t pos_ = 0;
    size_t statementColumn_ = 0;
    int32_t lineStart_ = 0;
    std::vector<uint8_t> code_;
    bool emitFailed_ = false;
    bool codeInWords_ = false;
    bool showAddress_ = true;
    bool listed_ = false;
    std::optional<uint16_t> equateValue_;
    TextProblem problem_;
};

}  // namespace

std::string FormatSourceError(const SourceError& error) {
    if (error.line == 0) return error.file + ": " + error.reason;
    return error.file + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) + ": " + error.reason;
}

SourceResult AssembleSource(const std::string& path) { return Assembler().Run(path); }
