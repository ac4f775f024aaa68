// vexal-cli: runs and inspects the emulated machine without a window, from
// scripts or from standard input, one command a line.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "files/ReadFileStart.h"
#include "cli/Interrupt.h"
#include "panel/Startup.h"
#include "panel/Version.h"

namespace {

constexpr int ExitDone = 0;
constexpr int ExitBadLine = 2;
constexpr int ExitInterrupted = 128 + SIGINT;

constexpr const char* Usage =
    "usage: vexal-cli [--rom FILE] [--ram FILE] [--ini FILE] [--sym FILE] [SCRIPT ...]\n"
    "       vexal-cli --help | --version\n"
    "Runs the commands of each SCRIPT in turn, or of standard input; \"help\" lists them.\n"
    "The files are rom.bin, ram.bin, vexal.ini and rom.sym in the working folder unless\n"
    "named: unlike vexal, it does not default to the user's folder. From its first save\n"
    "onto a RAM image to its end it owns that image: no other vexal or vexal-cli writes it.\n";

enum class Outcome { EndOfInput, Quit, BadLine, Interrupted };

// Runs the lines of one input. In an interactive terminal a bad line is
// reported and the next one is read; from a file or a pipe it ends the run.
Outcome RunLines(Console& console, std::istream& input, bool interactive) {
    std::string line;
    for (long number = 1; std::getline(input, line); ++number) {
        // Scripts written on Windows end their lines in CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ConsoleReply reply;
        {
            const InterruptCatcher catcher;
            reply = console.Execute(line, std::cout);
        }
        if (!reply.warnings.empty() || reply.failed) {
            std::cout.flush();
            std::cerr << reply.warnings;
            if (reply.failed) std::cerr << "line " << number << ": " << reply.error << '\n';
        }
        if (interactive) std::cout.flush();
        if (reply.quit) return Outcome::Quit;
        // A script cannot be told where it stopped: the run ends, and
        // nothing after the command runs.
        if (reply.interrupted && !interactive) return Outcome::Interrupted;
        if (reply.failed && !interactive) return Outcome::BadLine;
    }
    return Outcome::EndOfInput;
}

}  // namespace

int main(int argc, char** argv) {
    StartupFiles files = DefaultStartupFiles();
    std::vector<std::string> scripts;
    bool symbolsNamed = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string* option = argument == "--rom" ? &files.rom
                            : argument == "--ram" ? &files.ram
                            : argument == "--ini" ? &files.settings
                            : argument == "--sym" ? &files.symbols
                                                  : nullptr;
        if (option) {
            if (i + 1 == argc) {
                std::cerr << "vexal-cli: " << argument << " needs a file name\n" << Usage;
                return ExitBadLine;
            }
            *option = argv[++i];
            symbolsNamed = symbolsNamed || option == &files.symbols;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << Usage;
            return ExitDone;
        } else if (argument == "--version") {
            std::cout << "vexal-cli " << VexalVersion << '\n';
            return ExitDone;
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::cerr << "vexal-cli: unknown option " << argument << "\n" << Usage;
            return ExitBadLine;
        } else {
            scripts.push_back(argument);
        }
    }

    // A symbol file asked for by name must be a plain file there (a folder or
    // a pipe is a mistake of the command line); rom.sym need not be.
    if (symbolsNamed) {
        if (const FileStart file = ReadFileStart(files.symbols, 0); file.outcome != FileStart::Outcome::Read) {
            std::cerr << "vexal-cli: cannot read the symbol file " << files.symbols << ": " << file.problem << '\n';
            return ExitBadLine;
        }
    }
    StartMachine(files, [](const std::string& message) { std::cerr << message << '\n'; });
    Console console(files.ram, ReadDebuggerRadix(files.settings), files.rom);
    console.AddInput(files.settings);
    console.AddInput(files.symbols);
    for (const std::string& script : scripts) console.AddInput(script);

    if (scripts.empty()) {
        const Outcome outcome = RunLines(console, std::cin, isatty(STDIN_FILENO) == 1);
        return outcome == Outcome::BadLine       ? ExitBadLine
               : outcome == Outcome::Interrupted ? ExitInterrupted
                                                 : ExitDone;
    }
    for (const std::string& script : scripts) {
        // A folder opens as a file that reads as nothing, which would pass
        // for an empty script.
        std::error_code ignored;
        if (std::filesystem::is_directory(script, ignored)) {
            std::cerr << "vexal-cli: the script " << script << " is a folder\n";
            return ExitBadLine;
        }
        std::ifstream input(script, std::ios::binary);
        if (!input) {
            std::cerr << "vexal-cli: cannot read the script " << script << ": " << std::strerror(errno) << '\n';
            return ExitBadLine;
        }
        switch (RunLines(console, input, false)) {
        case Outcome::EndOfInput:
            break;
        case Outcome::Quit:
            return ExitDone;
        case Outcome::BadLine:
            return ExitBadLine;
        case Outcome::Interrupted:
            return ExitInterrupted;
        }
    }
    return ExitDone;
}
