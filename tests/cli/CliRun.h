// Runs vexal-cli as a separate program in a fresh folder that holds the files
// a test gives it, and collects what it prints and how it ends.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/TempFolder.h"

using CliResult = ProgramResult;

// The ROM words the console tests rely on: reset to 0x8000 with PSW 0, and
// halt mode entered at 0x7000 with PSW 0x00E0 (0x01E0 once in halt mode),
// where a branch to itself waits.
inline std::map<uint16_t, uint16_t> StandardRom() {
    return {{0x0000, 0x8000}, {0x0002, 0x0000}, {0x0078, 0x7000}, {0x007A, 0x00E0}, {0x7000, 0x01FF}};
}

class CliFolder : public TempFolder {
public:
    // A 32 KiB "rom.bin" of zeros holding the given little-endian words.
    void WriteRom(const std::map<uint16_t, uint16_t>& words = StandardRom(),
                  const std::string& name = "rom.bin") const {
        Write(name, RomImage(words));
    }

    // Runs vexal-cli in this folder: the script is written to "script.txt"
    // and given as an argument, or fed through standard input (a file, so
    // not a terminal).
    CliResult Run(const std::string& script, std::vector<std::string> arguments = {}, bool throughStdin = false) const {
        WriteText("script.txt", script);
        if (!throughStdin) arguments.push_back("script.txt");
        return RunProgram(arguments, throughStdin ? "script.txt" : "/dev/null");
    }

    CliResult RunProgram(const std::vector<std::string>& arguments, const std::string& stdinFile) const {
        std::vector<std::string> argv{VEXAL_CLI_PATH};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return ::RunProgram(argv, {path(), stdinFile, {}});
    }
};

// A folder with the standard ROM and nothing else.
struct StandardFolder : CliFolder {
    StandardFolder() { WriteRom(); }
};

// The value of one field of the state line, for instance "R0".
inline std::string StateField(const std::string& state, const std::string& name) {
    const size_t at = state.find(" " + name + "=") != std::string::npos ? state.find(" " + name + "=") + 1
                      : state.rfind(name + "=", 0) == 0                 ? 0
                                                                         : std::string::npos;
    if (at == std::string::npos) return "<no " + name + ">";
    const size_t start = at + name.size() + 1;
    return state.substr(start, state.find(' ', start) - start);
}
