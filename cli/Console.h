// The console's commands: one line in, the text it prints out. The same
// commands serve the headless program and can serve an interactive console
// in a window; the caller decides where the text goes and what a failed line
// means for the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "panel/KeyTyper.h"

struct ConsoleReply {
    bool failed = false;   // the line could not be taken; error says why
    bool quit = false;     // the line asked to end the run
    std::string output;    // for standard output; every line ends in a newline
    std::string warnings;  // problems to report that do not fail the line
    std::string error;     // why the line could not be taken
};

class Console {
public:
    // saveFile is where "save" without a file name writes the RAM.
    explicit Console(std::string saveFile);

    // Runs one line. Blank lines and lines starting with "#" do nothing.
    // Nothing changes when the line fails.
    ConsoleReply Execute(std::string_view line);

    // How long "type" holds each key and then leaves it released, in
    // run-loop ticks.
    int64_t HoldTicks() const { return holdTicks; }

private:
    struct Arguments;
    using Handler = void (Console::*)(const Arguments&, ConsoleReply&);
    struct Command;
    static const Command Commands[];

    void State(const Arguments&, ConsoleReply&);
    void Set(const Arguments&, ConsoleReply&);
    void Step(const Arguments&, ConsoleReply&);
    void Tick(const Arguments&, ConsoleReply&);
    void Until(const Arguments&, ConsoleReply&);
    void Speed(const Arguments&, ConsoleReply&);
    void Peek(const Arguments&, ConsoleReply&);
    void PeekByte(const Arguments&, ConsoleReply&);
    void Poke(const Arguments&, ConsoleReply&);
    void PokeByte(const Arguments&, ConsoleReply&);
    void Load(const Arguments&, ConsoleReply&);
    void Dump(const Arguments&, ConsoleReply&);
    void Disassemble(const Arguments&, ConsoleReply&);
    void Assemble(const Arguments&, ConsoleReply&);
    void Key(const Arguments&, ConsoleReply&);
    void Mouse(const Arguments&, ConsoleReply&);
    void Halt(const Arguments&, ConsoleReply&);
    void Type(const Arguments&, ConsoleReply&);
    void Hold(const Arguments&, ConsoleReply&);
    void Lcd(const Arguments&, ConsoleReply&);
    void Reset(const Arguments&, ConsoleReply&);
    void Save(const Arguments&, ConsoleReply&);
    void Snapshot(const Arguments&, ConsoleReply&);
    void Restore(const Arguments&, ConsoleReply&);
    void Bench(const Arguments&, ConsoleReply&);
    void Help(const Arguments&, ConsoleReply&);
    void Quit(const Arguments&, ConsoleReply&);

    std::string saveFile;
    int64_t holdTicks = DefaultHoldTicks;
};
