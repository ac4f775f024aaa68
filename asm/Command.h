// The command line of vexal-asm: assembles a source file into a ROM image
// and, on request, a listing, and reports what went wrong.
#pragma once

#include <ostream>
#include <string>
#include <vector>

constexpr int AsmExitDone = 0;
constexpr int AsmExitFailed = 1;    // errors in the source, or an output not written
constexpr int AsmExitBadUsage = 2;  // the command line itself

constexpr const char* AsmUsage =
    "usage: vexal-asm [-o OUTPUT] [-l LISTING] [-s SYMBOLS] SOURCE\n"
    "       vexal-asm --help | --version\n"
    "Assembles SOURCE into a 32768-byte ROM image: OUTPUT, or SOURCE with the\n"
    "extension .bin. With -l it also writes the listing to LISTING, with -s the\n"
    "labels to SYMBOLS, one \"ADDRESS NAME\" a line.\n";

// Runs vexal-asm with the arguments that follow the program's name. Nothing
// is written unless the whole source assembles; an output that fails leaves
// the file that was there before whole.
int RunAssembler(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
