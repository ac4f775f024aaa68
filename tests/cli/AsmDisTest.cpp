// Assembling through the console and listing the result again: the line
// assembler and the disassembler meet in the disassembly pane's layout.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

struct RoundTrip {
    const char* typed;   // what asm is given
    const char* listed;  // what dis shows at 8000, after "8000: "
    int words;
};

const RoundTrip RoundTrips[] = {
    {"mov #A,r0", "mov   #A,r0", 2},
    {"MOV R0,R1", "mov   r0,r1", 1},
    {"movb (r1)+,-(sp)", "movb  (r1)+,-(sp)", 1},
    {"clrb r0", "clrb  r0", 1},
    {"sub r1,r2", "sub   r1,r2", 1},
    {"clr 8010", "clr   8010", 2},
    {"jsr pc,8100", "jsr   pc,8100", 2},
    {"br 8000", "br    8000", 1},
    {"bne 7F02", "bne   7F02", 1},
    {"sob r1,7F84", "sob   r1,7F84", 1},
    {"mov @#1000,@-(r5)", "mov   @#1000,@-(r5)", 2},
    {"add 1234(r3),@6(sp)", "add   1234(r3),@0006(sp)", 3},
    {"jmp @(r1)", "jmp   @0000(r1)", 2},
    {"tst @r1", "tst   (r1)", 1},
    {"emt 7F", "emt   7F", 1},
    {"trap 0", "trap  0", 1},
    {"mark 3F", "mark  3F", 1},
    {"spl 7", "spl   7       ; traps", 1},
    {"clear cvzn", "clear cvzn", 1},
    {"set ", "set", 1},
    {"halt", "halt", 1},
    {"rts pc", "rts   pc", 1},
    {"xor r2,(r4)", "xor   r2,(r4)", 1},
    {"mul (r0)+,r2", "mul   (r0)+,r2", 1},
    {"ashc #3,r4", "ashc  #3,r4", 2},
    {"mtps #E0", "mtps  #E0", 2},
    {".word 0A85", "inc   r5", 1},
};

std::string Hex4(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

TEST(CliAsmDis, AssembledLinesListAsTyped) {
    std::string script;
    for (const RoundTrip& trip : RoundTrips) script += std::string("asm 8000 ") + trip.typed + "\ndis 8000\n";
    StandardFolder folder;
    const CliResult r = folder.Run(script);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2 * std::size(RoundTrips)) << r.out;
    for (size_t i = 0; i < std::size(RoundTrips); ++i) {
        const RoundTrip& trip = RoundTrips[i];
        EXPECT_EQ(lines[2 * i], Hex4(0x8000u + 2u * unsigned(trip.words))) << "'" << trip.typed << "'";
        EXPECT_EQ(lines[2 * i + 1], std::string("8000: ") + trip.listed) << "'" << trip.typed << "'";
    }
}

TEST(CliAsmDis, Scripts) {
    const ScriptCase cases[] = {
        {"a failed line stores nothing",
         "load 8000 1111 2222 3333\n"
         "asm 8000 clear\nasm 8000 clear vc\nasm 8000    haltx\nasm 8000 br 8102\nasm 8000 mov r0\n"
         "dump 8000\n"
         "asm 8000 clear \ndump 8000\n",
         // Columns count from the first character of the text; the trailing
         // blank makes "clear " a whole instruction: nop.
         {"error at 6", "error at 8", "error at 5", "error at ...", "error at 7", "8000: 11 11 22 22 33 33...", "8002",
          "8000: A0 00 22 22 33 33..."}},
        {"a failed asm is an answer, not an error", "asm 8000 illop\nasm 8000 mov r0\npeek 8000\n",
         {"error at 6", "error at 7", "0000"}},
        {"empty text assembles to nothing", "asm 8010\nasm 8010    \npeek 8010\n", {"8010", "8010", "0000"}},
        {"patching ROM and listing across the end of a region",
         "asm 7FFC mov #1,r0\ndis 7FFD 3\n"
         "load 1000 00A0 00B1\ndis 1000 2\npoke 1000 0\npeek 1000\n"
         "asm 102 nop\npeek 102\nstate\n",
         // The processor itself cannot write ROM; 0x0102 reads as 0, a store
         // there is discarded and KeyOut is untouched.
         {"8000", "7FFC: mov   #1,r0", "8000: halt", "8002: halt", "1000: nop", "1002: sec", "00A0", "0104", "0000",
          "state: KEYOUT=0000"}},
        {"octal listing columns", "asm 100000 mov #12,r0\nasm 100004 br 100000\ndis 100000 2\n",
         {"100004", "100006", "100000: mov   #12,r0", "100004: br    100000"}, "[Debugger]\nRadix=8\n"},
    };
    for (const ScriptCase& c : cases) ExpectScript(c);
}

}  // namespace
