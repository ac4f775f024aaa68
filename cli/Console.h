// The console's commands: one line in, the text it prints out. The same
// commands serve the headless program and can serve an interactive console
// in a window; the caller decides where the text goes and what a failed line
// means for the run. Long answers are written as they are made, never built
// whole in memory first.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/Numbers.h"
#include "debugger/RunControl.h"
#include "panel/KeyTyper.h"
#include "panel/RamLock.h"

struct ConsoleReply {
    bool failed = false;   // the line could not be taken; error says why
    bool quit = false;     // the line asked to end the run
    bool interrupted = false;  // Ctrl+C stopped the command where it was
    std::string warnings;  // problems to report that do not fail the line
    std::string error;     // why the line could not be taken
};

class Console {
public:
    // saveFile is where "save" without a file name writes the RAM; numbers
    // are the debugger's, in which addresses and values are read and shown;
    // romFile is the ROM image the session loaded, which "saverom" refuses to
    // write.
    explicit Console(std::string saveFile, NumberFormat numbers = NumberFormat(), std::string romFile = {});

    // Runs one line, writing its answer to out, every line of it ending in a
    // newline. Blank lines and lines starting with "#" do nothing. Nothing
    // changes, and nothing is written, when the line fails. A long answer
    // stops early once out has failed.
    ConsoleReply Execute(std::string_view line, std::ostream& out);

    // A file the session reads besides its images (the settings, the
    // symbols, a script): no output may be written over it.
    void AddInput(std::string path);

    // How long "type" holds each key and then leaves it released, in
    // run-loop ticks.
    int64_t HoldTicks() const { return holdTicks; }

private:
    struct Arguments;
    using Handler = void (Console::*)(const Arguments&, std::ostream& out, ConsoleReply&);
    struct Command;
    static const Command Commands[];

    void State(const Arguments&, std::ostream&, ConsoleReply&);
    void Set(const Arguments&, std::ostream&, ConsoleReply&);
    void Step(const Arguments&, std::ostream&, ConsoleReply&);
    void Tick(const Arguments&, std::ostream&, ConsoleReply&);
    void Until(const Arguments&, std::ostream&, ConsoleReply&);
    void Idle(const Arguments&, std::ostream&, ConsoleReply&);
    void Speed(const Arguments&, std::ostream&, ConsoleReply&);
    void Peek(const Arguments&, std::ostream&, ConsoleReply&);
    void PeekByte(const Arguments&, std::ostream&, ConsoleReply&);
    void Poke(const Arguments&, std::ostream&, ConsoleReply&);
    void PokeByte(const Arguments&, std::ostream&, ConsoleReply&);
    void Load(const Arguments&, std::ostream&, ConsoleReply&);
    void Dump(const Arguments&, std::ostream&, ConsoleReply&);
    void LcdRamCommand(const Arguments&, std::ostream&, ConsoleReply&);
    void Disassemble(const Arguments&, std::ostream&, ConsoleReply&);
    void Assemble(const Arguments&, std::ostream&, ConsoleReply&);
    void Key(const Arguments&, std::ostream&, ConsoleReply&);
    void Mouse(const Arguments&, std::ostream&, ConsoleReply&);
    void Halt(const Arguments&, std::ostream&, ConsoleReply&);
    void Type(const Arguments&, std::ostream&, ConsoleReply&);
    void Hold(const Arguments&, std::ostream&, ConsoleReply&);
    void Lcd(const Arguments&, std::ostream&, ConsoleReply&);
    void Reset(const Arguments&, std::ostream&, ConsoleReply&);
    void Save(const Arguments&, std::ostream&, ConsoleReply&);
    void Snapshot(const Arguments&, std::ostream&, ConsoleReply&);
    void Restore(const Arguments&, std::ostream&, ConsoleReply&);
    void Bench(const Arguments&, std::ostream&, ConsoleReply&);
    void Break(const Arguments&, std::ostream&, ConsoleReply&);
    void Unbreak(const Arguments&, std::ostream&, ConsoleReply&);
    void WatchCommand(const Arguments&, std::ostream&, ConsoleReply&);
    void Unwatch(const Arguments&, std::ostream&, ConsoleReply&);
    void StopCommand(const Arguments&, std::ostream&, ConsoleReply&);
    void Go(const Arguments&, std::ostream&, ConsoleReply&);
    void Over(const Arguments&, std::ostream&, ConsoleReply&);
    void Out(const Arguments&, std::ostream&, ConsoleReply&);
    void Back(const Arguments&, std::ostream&, ConsoleReply&);
    void Reverse(const Arguments&, std::ostream&, ConsoleReply&);
    void Trace(const Arguments&, std::ostream&, ConsoleReply&);
    void Sym(const Arguments&, std::ostream&, ConsoleReply&);
    void SaveRomCommand(const Arguments&, std::ostream&, ConsoleReply&);

    void RunCommand(const Arguments&, std::ostream& out);
    void RefuseInput(const std::string& path) const;
    void Help(const Arguments&, std::ostream&, ConsoleReply&);
    void Quit(const Arguments&, std::ostream&, ConsoleReply&);

    // A number in the radix; every character must be a digit of it, and the
    // value keeps its low 16 bits.
    uint16_t ParseWord(std::string_view word) const;
    // A word in full form.
    std::string Full(uint16_t value) const;
    // An address: a label of the symbol table, or a number in the radix.
    uint16_t ParseAddressWord(std::string_view word) const;
    // An address in full form, with its label when there is one.
    std::string Place(uint16_t address) const;
    // ADDR alone is the word there (the byte, when ADDR is odd); ADDR END,
    // the bytes from ADDR to END.
    Watchpoint ParseWatchRange(WatchAccess access, std::string_view first, std::string_view last) const;
    std::string WatchText(const Watchpoint& watch) const;
    // Stores words from the address upward as the debugger does, ROM included,
    // but only below the top of the address space: they never wrap into the
    // ROM at 0. The address after them when all fitted; otherwise nothing, and
    // a warning says what was not stored.
    std::optional<uint16_t> StoreBelowTop(uint16_t address, std::span<const uint16_t> words,
                                          ConsoleReply& reply) const;

    // Whether this session holds the image's lock, taking it at the first
    // save onto the image; "FOLDER is in use by process N" where another
    // process holds it.
    std::string LockImage(const std::string& path);

    std::string saveFile;
    std::string romFile;
    std::vector<RamLock> locks;  // one for each image saved onto, kept to the end
    std::vector<std::string> inputs;
    NumberFormat numbers;
    int64_t holdTicks = DefaultHoldTicks;
};
