// Runs vexal-cli as a separate program in a fresh folder that holds the files
// a test gives it, and collects what it prints and how it ends.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
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

// The step in the console's "interrupted at ADDRESS, step N" followed by
// lineEnd, where text has that line.
inline std::optional<uint64_t> InterruptedStep(const std::string& text, const std::string& address,
                                               const std::string& lineEnd) {
    const std::string start = "interrupted at " + address + ", step ";
    const size_t at = text.find(start);
    if (at == std::string::npos) return std::nullopt;
    const size_t digits = at + start.size();
    const size_t end = text.find_first_not_of("0123456789", digits);
    if (end == digits || end == std::string::npos || text.compare(end, lineEnd.size(), lineEnd) != 0)
        return std::nullopt;
    return std::stoull(text.substr(digits, end - digits));
}

// One script run in a fresh folder with the standard ROM, which must end
// well, print nothing to standard error and print these lines, a line each: the whole line; or "state: NAME=VALUE ..." for those
// fields of a state line; or "TEXT..." for the start of the line.
struct ScriptCase {
    const char* what;
    std::string script;
    std::vector<std::string> lines;
    std::string settings = {};  // vexal.ini, when not empty
};

inline void ExpectLine(const std::string& got, const std::string& expected, const std::string& where) {
    if (expected.rfind("state: ", 0) == 0) {
        const std::string fields = expected.substr(7);
        for (size_t at = 0; at < fields.size();) {
            const size_t end = std::min(fields.find(' ', at), fields.size());
            const std::string field = fields.substr(at, end - at);
            const size_t equals = field.find('=');
            EXPECT_EQ(StateField(got, field.substr(0, equals)), field.substr(equals + 1)) << where;
            at = end + 1;
        }
    } else if (expected.size() > 3 && expected.compare(expected.size() - 3, 3, "...") == 0) {
        EXPECT_EQ(got.substr(0, expected.size() - 3), expected.substr(0, expected.size() - 3)) << where;
    } else {
        EXPECT_EQ(got, expected) << where;
    }
}

inline void ExpectScript(const ScriptCase& c) {
    StandardFolder folder;
    if (!c.settings.empty()) folder.WriteText("vexal.ini", c.settings);
    const CliResult r = folder.Run(c.script);
    ASSERT_EQ(r.status, 0) << c.what << ": " << r.err;
    EXPECT_EQ(r.err, "") << c.what;
    const std::vector<std::string> lines = r.Lines();
    ASSERT_EQ(lines.size(), c.lines.size()) << c.what << ":\n" << r.out;
    for (size_t i = 0; i < lines.size(); ++i)
        ExpectLine(lines[i], c.lines[i], std::string(c.what) + ", line " + std::to_string(i + 1));
}
