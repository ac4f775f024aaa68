#include "cli/Console.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "cli/Interrupt.h"
#include "cli/LcdText.h"
#include "cli/Utf8.h"
#include "cpu/Cpu.h"
#include "core/Def.h"
#include "debugger/History.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "debugger/RunControl.h"
#include "debugger/SymbolNames.h"
#include "debugger/Symbols.h"
#include "debugger/TraceLog.h"
#include "files/ReplaceFile.h"
#include "files/SameFile.h"
#include "panel/KeyLayout.h"
#include "panel/KeyTyper.h"
#include "panel/MemoryFiles.h"
#include "panel/RunLoop.h"
#include "panel/SnapshotFile.h"

namespace {

// Why an argument cannot be taken; caught once, in Execute, before the
// command has changed anything.
struct BadArgument : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

// The first word of the text and, in rest, what follows it (not trimmed).
std::string_view NextWord(std::string_view text, std::string_view& rest) {
    text = SkipBlanks(text);
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    rest = text.substr(end);
    return text.substr(0, end);
}

std::string Quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

// Counts (steps, ticks, rows, key indices) are decimal; this bound keeps any
// arithmetic on them far from overflow.
constexpr uint64_t CountLimit = 1'000'000'000'000'000;

uint64_t ParseCount(std::string_view word, std::string_view what) {
    if (word.empty()) throw BadArgument("missing " + std::string(what));
    uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            throw BadArgument("malformed " + std::string(what) + " " + Quoted(word) + ": a decimal number is needed");
        value = value * 10 + uint64_t(c - '0');
        if (value > CountLimit) throw BadArgument(std::string(what) + " " + Quoted(word) + " is too large");
    }
    return value;
}

int32_t ParseKeyIndex(std::string_view word) {
    const uint64_t key = ParseCount(word, "key index");
    if (key > uint64_t(LastKey))
        throw BadArgument("key index " + Quoted(word) + " is not between 0 and " + std::to_string(LastKey));
    return int32_t(key);
}

// A file name is the rest of the line, so that it may hold blanks; trailing
// blanks are not part of it. The system cuts a name at its first NUL: a file
// of another name would be used.
std::string FileArgument(std::string_view text) {
    text = text.substr(0, text.find_last_not_of(" \t") + 1);
    if (text.find('\0') != std::string_view::npos) throw BadArgument("a file name cannot hold a NUL byte");
    return std::string(text);
}

// The run loop's budget of one tick, without its run control.
void RunTicks(uint64_t ticks) {
    for (uint64_t i = 0; i < ticks && !Interrupted(); ++i) RunBudget(CpuSpeed);
}

// Steps run between checks for Ctrl+C: some milliseconds of work, or all the
// steps of a sleeping processor up to the next recorded key, which are
// counted at once.
uint64_t RunChunk(uint64_t left) {
    constexpr uint64_t busySteps = 1 << 22;
    if (CpuIdle()) return std::min(left, Debugger.Past().NextInputChange() - Debugger.StepCount());
    return std::min(left, busySteps);
}

// Runs steps as that many CpuStep calls would, with no debugger stops;
// returns how many ran.
uint64_t RunSteps(uint64_t steps, int32_t stopAt = -1) {
    uint64_t ran = 0;
    while (ran < steps && !Interrupted()) {
        const Advanced run = Debugger.RunPlain(UnlimitedBudget, RunChunk(steps - ran), stopAt);
        ran += run.Steps;
        if (run.Stopped) break;
    }
    return ran;
}

// How far go, over and out run when no limit is given.
constexpr uint64_t DefaultRunLimit = 100'000'000;

WatchAccess ParseWatchAccess(std::string_view word) {
    const std::string lower = LowerCase(word);
    if (lower == "w") return WatchAccess::Write;
    if (lower == "r") return WatchAccess::Read;
    if (lower == "rw") return WatchAccess::ReadWrite;
    throw BadArgument("unknown access " + Quoted(word) + ": w, r or rw");
}

const char* AccessName(WatchAccess access) {
    return access == WatchAccess::Write ? "w" : access == WatchAccess::Read ? "r" : "rw";
}

// A file name that must be given.
std::string NamedFile(std::string_view text) {
    const std::string file = FileArgument(text);
    if (file.empty()) throw BadArgument("missing file name");
    return file;
}

}  // namespace

// The words after the command; for commands that take the rest of the line
// as text, that text from its first non-blank character, trailing blanks kept.
struct Console::Arguments {
    std::vector<std::string_view> words;
    std::string_view text;

    std::string_view Word(size_t i) const { return i < words.size() ? words[i] : std::string_view(); }
    bool Has(size_t i) const { return i < words.size(); }
};

struct Console::Command {
    const char* name;
    Handler handler;
    const char* usage;        // the arguments, as help shows them
    const char* description;  // one line for help
    size_t minWords, maxWords;
    bool takesText;  // the rest of the line after maxWords words is free text
};

const Console::Command Console::Commands[] = {
    {"state", &Console::State, "", "show the registers, ports and processor flags", 0, 0, false},
    {"set", &Console::Set, "NAME VALUE", "set R0..R7, SP, PC or another word of the machine by its name (PSW, CPC, CPS, CTRLPORT, KEYOUT, ...)", 2, 2, false},
    {"step", &Console::Step, "[N]", "run N processor steps (default 1)", 0, 1, false},
    {"tick", &Console::Tick, "[N]", "run N run-loop ticks of CpuSpeed cycle units (default 1)", 0, 1, false},
    {"until", &Console::Until, "ADDR [MAX]", "step until PC is ADDR, at most MAX steps (default 10000000)", 1, 2,
     false},
    {"idle", &Console::Idle, "[MAX]",
     "run ticks until the processor has stopped itself with no key held, at most MAX (default 6000)", 0, 1, false},
    {"speed", &Console::Speed, "N", "set CpuSpeed, the budget of one tick", 1, 1, false},
    {"peek", &Console::Peek, "ADDR", "read a word as the processor would", 1, 1, false},
    {"peekb", &Console::PeekByte, "ADDR", "read a byte as the processor would", 1, 1, false},
    {"poke", &Console::Poke, "ADDR VALUE", "write a word as the processor would", 2, 2, false},
    {"pokeb", &Console::PokeByte, "ADDR VALUE", "write a byte as the processor would", 2, 2, false},
    {"load", &Console::Load, "ADDR WORD ...", "store words from ADDR upward (ROM too)", 2, SIZE_MAX, false},
    {"dump", &Console::Dump, "ADDR [ROWS]", "show memory as the processor reads it, 16 bytes a row (default 1 row)",
     1, 2, false},
    {"lcdram", &Console::LcdRamCommand, "", "show the 128 bytes of the display memory", 0, 0, false},
    {"dis", &Console::Disassemble, "ADDR [N]", "disassemble N instructions (default 1)", 1, 2, false},
    {"asm", &Console::Assemble, "ADDR TEXT", "assemble one instruction at ADDR", 1, 1, true},
    {"key", &Console::Key, "N", "hold key N on the PC keyboard (0 releases); key 39 requests halt mode", 1, 1,
     false},
    {"mouse", &Console::Mouse, "N",
     "hold key N with the mouse (0 releases); key 39 requests halt mode when let go while KEYOUT selects it", 1,
     1, false},
    {"halt", &Console::Halt, "", "request halt mode", 0, 0, false},
    {"type", &Console::Type, "TEXT", "type the text on the PC keyboard", 0, 0, true},
    {"hold", &Console::Hold, "N", "ticks each typed key is held and then released (default 5)", 1, 1, false},
    {"lcd", &Console::Lcd, "", "show the display", 0, 0, false},
    {"reset", &Console::Reset, "", "reset the processor", 0, 0, false},
    {"break", &Console::Break, "[ADDR]", "stop runs when PC reaches ADDR (a label or a number); list them", 0, 1,
     false},
    {"unbreak", &Console::Unbreak, "ADDR|all", "remove the breakpoint at ADDR, or all", 1, 1, false},
    {"watch", &Console::WatchCommand, "[w|r|rw ADDR [END]]",
     "stop runs when the program writes or reads ADDR..END (default: the word at ADDR); list them", 0, 3, false},
    {"unwatch", &Console::Unwatch, "w|r|rw ADDR [END] | all", "remove a watchpoint, or all", 1, 3, false},
    {"stop", &Console::StopCommand, "[traps|halt on|off]",
     "stop runs when a trap is taken, or when halt mode is entered; list them", 0, 2, false},
    {"go", &Console::Go, "[MAX]", "run until a stop, at most MAX steps (default 100000000), and say why", 0, 1,
     false},
    {"over", &Console::Over, "[MAX]", "step over a call (jsr, emt, trap, iot, bpt) and say where it stopped", 0, 1,
     false},
    {"out", &Console::Out, "[MAX]", "run until the current routine returns, and say where it stopped", 0, 1, false},
    {"back", &Console::Back, "[N]", "step back N steps in the history (default 1)", 0, 1, false},
    {"reverse", &Console::Reverse, "", "run back to the previous stop in the history", 0, 0, false},
    {"trace", &Console::Trace, "N FILE", "write the last N steps, with registers, to FILE", 1, 1, true},
    {"sym", &Console::Sym, "FILE", "read the labels of a symbol file", 0, 0, true},
    {"saverom", &Console::SaveRomCommand, "FILE", "write the ROM, as patched, to FILE", 0, 0, true},
    {"save", &Console::Save, "[FILE]", "write the RAM to FILE (default: the RAM image read at start)", 0, 0, true},
    {"snapshot", &Console::Snapshot, "FILE", "write the whole machine to FILE", 0, 0, true},
    {"restore", &Console::Restore, "FILE", "load the whole machine from a snapshot FILE", 0, 0, true},
    {"bench", &Console::Bench, "N", "time N processor steps", 1, 1, false},
    {"help", &Console::Help, "", "list the commands", 0, 0, false},
    {"quit", &Console::Quit, "", "end the run", 0, 0, false},
};

Console::Console(std::string saveFile, NumberFormat numbers, std::string romFile)
    : saveFile(std::move(saveFile)), romFile(std::move(romFile)), numbers(numbers) {}

uint16_t Console::ParseWord(std::string_view word) const {
    const int32_t radix = numbers.Radix();
    bool digitsOnly = !word.empty();
    for (char c : word) digitsOnly = digitsOnly && DigitValue(c) < radix;
    if (!digitsOnly) throw BadArgument("malformed number " + Quoted(word) + " in radix " + std::to_string(radix));
    // ParseNumber wraps modulo 2^32, which leaves the low 16 bits exact.
    return uint16_t(ParseNumber(word, radix));
}

std::string Console::Full(uint16_t value) const { return FormatWord(value, '0', numbers); }

uint16_t Console::ParseAddressWord(std::string_view word) const {
    if (const std::optional<uint16_t> address = ParseAddress(word, numbers.Radix(), Symbols)) return *address;
    throw BadArgument("malformed number " + Quoted(word) + " in radix " + std::to_string(numbers.Radix()) +
                      ", and no label of that name");
}

std::string Console::Place(uint16_t address) const { return LabelledAddress(address, numbers); }

// ADDR alone is the word there (the byte, when ADDR is odd); ADDR END, the
// bytes from ADDR to END.
Watchpoint Console::ParseWatchRange(WatchAccess access, std::string_view first, std::string_view last) const {
    Watchpoint watch{ParseAddressWord(first), 0, access};
    watch.Last = last.empty() ? uint16_t(watch.First | (watch.First & 1 ? 0 : 1)) : ParseAddressWord(last);
    if (watch.Last < watch.First)
        throw BadArgument("the range " + Quoted(first) + " to " + Quoted(last) + " ends before it starts");
    return watch;
}

std::string Console::WatchText(const Watchpoint& watch) const {
    return std::string(AccessName(watch.Access)) + " " + Full(watch.First) + "-" + Full(watch.Last);
}


std::optional<uint16_t> Console::StoreBelowTop(uint16_t address, std::span<const uint16_t> words,
                                               ConsoleReply& reply) const {
    const size_t room = (0xFFFFu - address) / 2 + 1;
    const uint16_t next = StoreWords(Mk, address, words.first(std::min(words.size(), room)));
    if (words.size() <= room) return next;
    const size_t lost = words.size() - room;
    reply.warnings = "stopped at the top of memory, " + Full(0xFFFF) + ": " + std::to_string(lost) +
                     (lost == 1 ? " word" : " words") + " not stored\n";
    return std::nullopt;
}

ConsoleReply Console::Execute(std::string_view line, std::ostream& out) {
    ConsoleReply reply;
    std::string_view rest;
    const std::string_view name = NextWord(line, rest);
    if (name.empty() || name[0] == '#') return reply;

    const std::string lowerName = LowerCase(name);
    const Command* command = nullptr;
    for (const Command& candidate : Commands)
        if (lowerName == candidate.name) command = &candidate;
    if (!command) {
        reply.failed = true;
        reply.error = "unknown command " + Quoted(name) + " (help lists the commands)";
        return reply;
    }

    Arguments arguments;
    for (;;) {
        if (command->takesText && arguments.words.size() == command->maxWords) {
            arguments.text = SkipBlanks(rest);
            break;
        }
        const std::string_view word = NextWord(rest, rest);
        if (word.empty()) break;
        arguments.words.push_back(word);
    }
    const std::string usage = std::string(command->name) + (*command->usage ? " " : "") + command->usage;
    if (arguments.words.size() < command->minWords) {
        reply.failed = true;
        reply.error = "missing argument; usage: " + usage;
        return reply;
    }
    if (arguments.words.size() > command->maxWords) {
        reply.failed = true;
        reply.error = "too many arguments; usage: " + usage;
        return reply;
    }

    try {
        (this->*command->handler)(arguments, out, reply);
    } catch (const BadArgument& bad) {
        reply = ConsoleReply();
        reply.failed = true;
        reply.error = bad.what();
    }
    if (!reply.failed && Interrupted()) {
        reply.interrupted = true;
        out << "interrupted at " << Place(Mk.Reg[PC]) << ", step " << Debugger.StepCount() << "\n";
    }
    return reply;
}

void Console::State(const Arguments&, std::ostream& out, ConsoleReply&) {
    static const char* const names[8] = {"R0", "R1", "R2", "R3", "R4", "R5", "SP", "PC"};
    for (int n = 0; n < 8; ++n) out << names[n] << "=" << Full(Mk.Reg[n]) << " ";
    out << "PSW=" << Full(Mk.Psw) << " CPC=" << Full(Mk.Cpc) << " CPS=" << Full(Mk.Cps);
    out << " CTRLPORT=" << Full(Mk.CtrlPort);
    out << " KEYOUT=" << Full(Mk.KeyOut) << " KEYIN=" << Full(Mk.KeyIn);
    out << " WAITING=" << (Mk.Waiting ? "1" : "0");
    out << " HALTREQUEST=" << (Mk.HaltRequest ? "1" : "0");
    out << " STEPFLAG=" << (Mk.StepFlag ? "1" : "0");
    out << " TRACEINHIBIT=" << (Mk.TraceInhibit ? "1" : "0");
    out << '\n';
}

// The registers by their assembler names, and every other word of the
// machine by its name in Machine::Members, in any case.
void Console::Set(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    const std::string name = LowerCase(arguments.Word(0));
    for (const MnemonicRecord& r : RegisterNames) {
        if (name == r.Name) {
            Mk.Reg[r.Value] = ParseWord(arguments.Word(1));
            return;
        }
    }
    bool found = false;
    Machine::Members(
        [&](const char* member, auto& place) {
            using Type = std::decay_t<decltype(place)>;
            // The status word keeps its condition codes apart, but takes a word.
            if constexpr (std::is_same_v<Type, uint16_t> || std::is_same_v<Type, StatusWord>) {
                if (!found && name == LowerCase(member)) {
                    place = ParseWord(arguments.Word(1));
                    found = true;
                }
            }
        },
        Mk);
    if (!found) throw BadArgument("unknown register " + Quoted(arguments.Word(0)));
}

void Console::Step(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    RunSteps(arguments.Has(0) ? ParseCount(arguments.Word(0), "step count") : 1);
}

void Console::Tick(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    RunTicks(arguments.Has(0) ? ParseCount(arguments.Word(0), "tick count") : 1);
}

void Console::Until(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint16_t target = ParseAddressWord(arguments.Word(0));
    const uint64_t limit = arguments.Has(1) ? ParseCount(arguments.Word(1), "step limit") : 10'000'000;
    if (limit < 1) throw BadArgument("the step limit must be at least 1");
    const uint64_t steps = RunSteps(limit, target);
    if (Mk.Reg[PC] == target)
        out << "reached " << Full(target) << " after " << steps << " steps\n";
    else
        out << "not reached after " << limit << " steps\n";
}

// A firmware that waits for a key stops the processor (it clears the run
// bit) until one is held: the machine has done what it was given.
void Console::Idle(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint64_t limit = arguments.Has(0) ? ParseCount(arguments.Word(0), "tick limit") : 6000;
    for (uint64_t ticks = 1; ticks <= limit && !Interrupted(); ++ticks) {
        RunTicks(1);
        if (!(Mk.CtrlPort & CtrlRunBit) && Mk.PcKey == 0 && Mk.MouseKey == 0) {
            out << "idle after " << ticks << " ticks\n";
            return;
        }
    }
    out << "still running after " << limit << " ticks\n";
}

void Console::Speed(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    std::string_view word = arguments.Word(0);
    const bool negative = !word.empty() && word[0] == '-';
    if (negative) word.remove_prefix(1);
    const uint64_t magnitude = ParseCount(word, "speed");
    if (magnitude > (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX)))
        throw BadArgument("speed " + Quoted(arguments.Word(0)) + " does not fit in 32 bits");
    SetCpuSpeed(int32_t(negative ? -int64_t(magnitude) : int64_t(magnitude)));
}

void Console::Peek(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    Mk.Addr = ParseAddressWord(arguments.Word(0));
    out << Full(ReadCell().Word()) << "\n";
}

void Console::PeekByte(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    Mk.Addr = ParseAddressWord(arguments.Word(0));
    out << FormatByte(ReadCell().Byte(), '0', numbers) << "\n";
}

void Console::Poke(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    const uint16_t value = ParseWord(arguments.Word(1));
    Mk.Addr = address;
    WriteCell().SetWord(value);
}

void Console::PokeByte(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    const uint16_t value = ParseWord(arguments.Word(1));
    Mk.Addr = address;
    WriteCell().SetByte(uint8_t(value));
}

void Console::Load(const Arguments& arguments, std::ostream&, ConsoleReply& reply) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    std::vector<uint16_t> words;
    for (size_t i = 1; i < arguments.words.size(); ++i) words.push_back(ParseWord(arguments.words[i]));
    StoreBelowTop(address, words, reply);
}

void Console::Dump(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    const uint64_t rows = arguments.Has(1) ? ParseCount(arguments.Word(1), "row count") : 1;
    // Rows end at the top of the address space; they do not wrap to 0.
    uint32_t row = address & 0xFFF0u;
    for (uint64_t i = 0; i < rows && row <= 0xFFFF && out && !Interrupted(); ++i, row += 16) {
        // A byte read gives the low byte of the word PeekWord finds there:
        // the ROM under the display, the ports, 0 where nothing answers.
        uint8_t bytes[16];
        for (uint16_t j = 0; j < 16; ++j) bytes[j] = uint8_t(PeekWord(Mk, uint16_t(row + j)));
        out << MemoryRowText(uint16_t(row), bytes, 1, numbers) << "\n";
    }
}

// The display memory is written only: the processor reads the ROM under it.
void Console::LcdRamCommand(const Arguments&, std::ostream& out, ConsoleReply&) {
    for (uint16_t offset = 0; offset < LcdRamSize && out; offset += 16) {
        uint8_t bytes[16];
        std::copy_n(Mk.LcdRam.data() + offset, 16, bytes);
        out << MemoryRowText(uint16_t(LcdRamStart + offset), bytes, 1, numbers) << "\n";
    }
}

void Console::Disassemble(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    const uint64_t lines = arguments.Has(1) ? ParseCount(arguments.Word(1), "line count") : 1;
    const WordReader read = MachineReader(Mk);
    uint16_t next = address & 0xFFFE;
    for (uint64_t i = 0; i < lines && out && !Interrupted(); ++i) {
        if (const std::string* name = Symbols.NameAt(next)) out << *name << ":\n";
        const ListingLine line = DisassemblyLine(next, read, numbers, &Symbols);
        out << line.Text << "\n";
        next = line.Next;
    }
}

void Console::Assemble(const Arguments& arguments, std::ostream& out, ConsoleReply& reply) {
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    const AsmResult assembled = AssembleLine(arguments.text, address, numbers);
    // A line that does not assemble is an answer, not a failed command: the
    // position tells where the text went wrong, and nothing is stored.
    if (!assembled.Succeeded()) {
        out << "error at " << assembled.AsmPos << "\n";
        return;
    }
    if (const std::optional<uint16_t> next = StoreBelowTop(address, assembled.Words(), reply)) out << Full(*next) << "\n";
}

void Console::Key(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    HoldPcKey(ParseKeyIndex(arguments.Word(0)));
}

// The mouse holds one key at a time: holding another, or none, lets go of
// the one it held.
void Console::Mouse(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    const int32_t key = ParseKeyIndex(arguments.Word(0));
    const int32_t held = Mk.MouseKey;
    Mk.MouseKey = key;
    if (held != key) MouseButtonReleased(held);
}

void Console::Halt(const Arguments&, std::ostream&, ConsoleReply&) { Mk.HaltRequest = true; }

void Console::Type(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    if (arguments.text.empty()) throw BadArgument("missing argument; usage: type TEXT");
    // Malformed UTF-8 gives characters that reach no key.
    KeyTyper typer(DecodeUtf8(arguments.text), holdTicks);
    while (typer.BeforeTick() && !Interrupted()) RunTicks(1);
}

void Console::Hold(const Arguments& arguments, std::ostream&, ConsoleReply&) {
    holdTicks = int64_t(ParseCount(arguments.Word(0), "hold time"));
}

void Console::Lcd(const Arguments&, std::ostream& out, ConsoleReply&) { out << LcdText(); }

void Console::Reset(const Arguments&, std::ostream&, ConsoleReply&) { Debugger.Reset(); }

void Console::Save(const Arguments& arguments, std::ostream&, ConsoleReply& reply) {
    const std::string file = FileArgument(arguments.text);
    const std::string path = file.empty() ? saveFile : file;
    if (!romFile.empty() && SameFile(path, romFile))
        throw BadArgument(path + " is the ROM image this session loaded; choose another file");
    for (const std::string& input : inputs)
        if (SameFile(path, input)) throw BadArgument(path + " is read by this session; choose another file");
    // A file that cannot be written, or that another program owns, is
    // reported like the front panel reports it, and the run goes on: the old
    // file, if any, is still whole.
    std::string problem = LockImage(path);
    if (problem.empty()) problem = SaveRam(path);
    if (!problem.empty())
        reply.warnings = SaveFailedMessage + path + ": " + problem + "\n";
}

std::string Console::LockImage(const std::string& path) {
    // A second lock on the image would be refused by the first.
    for (const RamLock& lock : locks)
        if (SameFile(lock.Image().string(), path)) return {};
    RamLock lock;
    if (std::string problem = lock.Take(path); !problem.empty()) return problem;
    if (lock.Held()) locks.push_back(std::move(lock));
    return {};
}

// A file that cannot be written or loaded is a warning, as for save, and the
// run goes on; a snapshot that does not load leaves the machine as it was.
void Console::Snapshot(const Arguments& arguments, std::ostream&, ConsoleReply& reply) {
    const std::string path = FileArgument(arguments.text);
    if (path.empty()) throw BadArgument("missing argument; usage: snapshot FILE");
    RefuseInput(path);
    if (const std::string problem = SaveSnapshot(path, Mk); !problem.empty())
        reply.warnings = SaveFailedMessage + path + ": " + problem + "\n";
}

void Console::Restore(const Arguments& arguments, std::ostream&, ConsoleReply& reply) {
    const std::string path = FileArgument(arguments.text);
    if (path.empty()) throw BadArgument("missing argument; usage: restore FILE");
    if (const std::string problem = LoadSnapshot(path, Mk); !problem.empty())
        reply.warnings = LoadFailedMessage + path + ": " + problem + "\n";
}

void Console::Bench(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint64_t steps = ParseCount(arguments.Word(0), "step count");
    const auto start = std::chrono::steady_clock::now();
    RunSteps(steps);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double seconds = elapsed.count();
    const double rate = seconds > 0 ? double(steps) / seconds / 1e6 : 0.0;
    char text[128];
    std::snprintf(text, sizeof text, "%" PRIu64 " steps in %.3f s, %.2f Msteps/s\n", steps, seconds, rate);
    out << text;
}

void Console::Help(const Arguments&, std::ostream& out, ConsoleReply&) {
    for (const Command& command : Commands) {
        std::string left = std::string(command.name) + " " + command.usage;
        left.resize(std::max<size_t>(left.size() + 1, 20), ' ');
        out << left << command.description << "\n";
    }
    out << "Numbers are in radix " << numbers.Radix() << "; counts are decimal.\n";
}

void Console::Quit(const Arguments&, std::ostream&, ConsoleReply& reply) { reply.quit = true; }

void Console::Break(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (arguments.Has(0)) {
        const uint16_t address = ParseAddressWord(arguments.Word(0));
        Debugger.SetBreakpoint(address);
        out << "break " << Place(address) << "\n";
        return;
    }
    const std::vector<uint16_t> addresses = Debugger.Breakpoints();
    out << "breaks:";
    if (addresses.empty()) out << " none";
    for (size_t i = 0; i < addresses.size() && out; ++i) out << (i ? ", " : " ") << Place(addresses[i]);
    out << "\n";
}

void Console::Unbreak(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (LowerCase(arguments.Word(0)) == "all") {
        const size_t count = Debugger.Breakpoints().size();
        Debugger.ClearBreakpoints();
        out << "unbreak all: " << count << " removed\n";
        return;
    }
    const uint16_t address = ParseAddressWord(arguments.Word(0));
    if (!Debugger.ClearBreakpoint(address)) throw BadArgument("no breakpoint at " + Place(address));
    out << "unbreak " << Place(address) << "\n";
}

void Console::WatchCommand(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (!arguments.Has(0)) {
        out << "watches:";
        if (Debugger.Watches().empty()) out << " none";
        for (size_t i = 0; i < Debugger.Watches().size(); ++i)
            out << (i ? ", " : " ") << WatchText(Debugger.Watches()[i]);
        out << "\n";
        return;
    }
    if (!arguments.Has(1)) throw BadArgument("missing address; usage: watch w|r|rw ADDR [END]");
    const Watchpoint watch = ParseWatchRange(ParseWatchAccess(arguments.Word(0)), arguments.Word(1), arguments.Word(2));
    if (Debugger.Watches().size() >= WatchpointLimit)
        throw BadArgument("already " + std::to_string(WatchpointLimit) + " watchpoints");
    Debugger.SetWatch(watch);
    out << "watch " << WatchText(watch) << "\n";
}

void Console::Unwatch(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (LowerCase(arguments.Word(0)) == "all" && !arguments.Has(1)) {
        const size_t count = Debugger.Watches().size();
        Debugger.ClearWatches();
        out << "unwatch all: " << count << " removed\n";
        return;
    }
    if (!arguments.Has(1)) throw BadArgument("missing address; usage: unwatch w|r|rw ADDR [END] | all");
    const Watchpoint watch = ParseWatchRange(ParseWatchAccess(arguments.Word(0)), arguments.Word(1), arguments.Word(2));
    if (!Debugger.ClearWatch(watch)) throw BadArgument("no watchpoint " + WatchText(watch));
    out << "unwatch " << WatchText(watch) << "\n";
}

void Console::StopCommand(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const auto state = [](bool on) { return on ? "on" : "off"; };
    if (!arguments.Has(0)) {
        out << "stop traps " << state(Debugger.StopOnTrap) << ", halt " << state(Debugger.StopOnHaltMode) << "\n";
        return;
    }
    const std::string which = LowerCase(arguments.Word(0));
    bool* option = which == "traps" ? &Debugger.StopOnTrap : which == "halt" ? &Debugger.StopOnHaltMode : nullptr;
    if (!option) throw BadArgument("unknown stop " + Quoted(arguments.Word(0)) + ": traps or halt");
    const std::string value = LowerCase(arguments.Word(1));
    if (value != "on" && value != "off") throw BadArgument("missing on or off; usage: stop traps|halt on|off");
    *option = value == "on";
    out << "stop " << which << " " << state(*option) << "\n";
}

// Carries the debugger's command on until it stops or the limit runs out,
// and says which.
void Console::RunCommand(const Arguments& arguments, std::ostream& out) {
    const uint64_t limit = arguments.Has(0) ? ParseCount(arguments.Word(0), "step limit") : DefaultRunLimit;
    Advanced run;
    do {
        const Advanced part = Debugger.Advance(UnlimitedBudget, RunChunk(limit - run.Steps));
        run.Steps += part.Steps;
        run.Stopped = part.Stopped;
    } while (!run.Stopped && run.Steps < limit && !Interrupted());
    if (run.Stopped) {
        out << StopText(Debugger.LastStop(), numbers.Radix()) << "\n";
        return;
    }
    if (Interrupted()) {
        Debugger.Interrupt();
        return;
    }
    Debugger.Continue();
    out << "no stop after " << run.Steps << " steps, at " << Place(Mk.Reg[PC]) << "\n";
}

void Console::Go(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (arguments.Has(0)) ParseCount(arguments.Word(0), "step limit");
    Debugger.Continue();
    RunCommand(arguments, out);
}

void Console::Over(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (arguments.Has(0)) ParseCount(arguments.Word(0), "step limit");
    Debugger.StepOver();
    RunCommand(arguments, out);
}

void Console::Out(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    if (arguments.Has(0)) ParseCount(arguments.Word(0), "step limit");
    Debugger.StepOut();
    RunCommand(arguments, out);
}

void Console::Back(const Arguments& arguments, std::ostream& out, ConsoleReply&) {
    const uint64_t steps = arguments.Has(0) ? ParseCount(arguments.Word(0), "step count") : 1;
    const Stop stop = Debugger.StepBack(steps);
    out << StopText(stop, numbers.Radix()) << ", step " << stop.Step << "\n";
}

void Console::Reverse(const Arguments&, std::ostream& out, ConsoleReply&) {
    const Stop stop = Debugger.RunBack();
    out << StopText(stop, numbers.Radix()) << ", step " << stop.Step << "\n";
}

// The trace goes to a file of the user's choosing, but never over one of the
// files this session reads (nor do snapshot, saverom and save, but for save's
// own RAM image).
void Console::Trace(const Arguments& arguments, std::ostream& out, ConsoleReply& reply) {
    const uint64_t count = ParseCount(arguments.Word(0), "step count");
    if (count > TraceLogLimit) throw BadArgument("at most " + std::to_string(TraceLogLimit) + " steps");
    const std::string path = NamedFile(arguments.text);
    RefuseInput(path);
    const std::vector<TraceEntry> entries = RecentSteps(Debugger.Past(), size_t(count));
    std::ostringstream text;
    WriteTrace(entries, numbers.Radix(), text);
    const std::string written = text.str();
    if (!ReplaceFile(path, reinterpret_cast<const uint8_t*>(written.data()), written.size()).empty()) {
        reply.warnings = "cannot write the trace to " + path + "\n";
        return;
    }
    out << "trace " << entries.size() << " steps to " << path << "\n";
}

void Console::Sym(const Arguments& arguments, std::ostream& out, ConsoleReply& reply) {
    const std::string path = NamedFile(arguments.text);
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Load(path);
    if (!result.Error.empty()) {
        const std::string kept = Symbols.Empty() ? std::string()
                                                 : "\nthe " + std::to_string(Symbols.All().size()) +
                                                       " labels before are kept";
        throw BadArgument(result.Message(path) + kept);
    }
    Symbols = std::move(table);
    if (result.Skipped > 0) reply.warnings = result.Message(path) + "\n";
    out << "sym " << result.Count << " labels from " << path << "\n";
}

void Console::SaveRomCommand(const Arguments& arguments, std::ostream& out, ConsoleReply& reply) {
    const std::string path = NamedFile(arguments.text);
    RefuseInput(path);
    if (const std::string problem = SaveRom(path); !problem.empty()) {
        reply.warnings = SaveFailedMessage + path + ": " + problem + "\n";
        return;
    }
    out << "saverom " << path << "\n";
}

void Console::RefuseInput(const std::string& path) const {
    for (const std::string& input : {romFile, saveFile})
        if (!input.empty() && SameFile(path, input))
            throw BadArgument(path + " is a memory image of this session; choose another file");
    for (const std::string& input : inputs)
        if (SameFile(path, input)) throw BadArgument(path + " is read by this session; choose another file");
}

void Console::AddInput(std::string path) {
    if (!path.empty()) inputs.push_back(std::move(path));
}
