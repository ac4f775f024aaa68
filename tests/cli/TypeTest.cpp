// Typing: which machine key each PC character reaches, how long it is held,
// and the halt key's rule.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "core/Keyboard.h"

namespace {

// A program that latches the last non-zero key scan into R0 and counts its
// loops in R5:
//   8000  inc  r5
//   8002  mov  @#100,r1
//   8006  beq  8000
//   8008  mov  r1,r0
//   800A  br   8000
constexpr const char* LatchProgram = "load 8000 0A85 17C1 0100 03FC 1040 01FA\n";

struct Typed {
    const char* text;  // UTF-8
    int key;
};

const Typed Characters[] = {
    {"w", 7},   {"W", 7},   {"ц", 7},   {"Ц", 7},   {"e", 8},   {"t", 10},  {"p", 15},  {"[", 16},
    {"х", 16},  {"a", 17},  {"A", 17},  {"ф", 17},  {"f", 20},  {"а", 20},  {"А", 20},  {"l", 25},
    {";", 26},  {"ж", 26},  {"z", 27},  {"я", 27},  {"m", 33},  {"ь", 33},  {",", 34},  {"б", 34},
    {".", 35},  {"ю", 35},  {"'", 36},  {"э", 36},  {"-", 37},  {"=", 38},  {"\\", 40}, {"7", 41},
    {"8", 42},  {"9", 43},  {"*", 44},  {"4", 45},  {"5", 46},  {"6", 47},  {"1", 49},  {"2", 50},
    {"3", 51},  {"0", 53},  {"n", 32},  {"т", 32},  {"b", 31},  {"и", 31},  {"v", 30},
};

struct MatrixCode {
    uint16_t column;
    uint16_t code;
};

MatrixCode CodeOf(int key) {
    for (const KeyColumn& column : KeyMatrix)
        if (column.code[key] != 0) return {column.selectBit, column.code[key]};
    return {0, 0};
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

TEST(CliType, EachCharacterReachesItsKey) {
    std::string script = LatchProgram;
    for (const Typed& typed : Characters) {
        const MatrixCode code = CodeOf(typed.key);
        // Its own column gives its code; the other two columns give nothing.
        script += "set pc 8000\nset r0 0\nset keyout " + Hex4(code.column) + "\ntype " + typed.text + "\nstate\n";
        script += "set pc 8000\nset r0 0\nset keyout " + Hex4(0x000E & ~code.column) + "\ntype " + typed.text +
                  "\nstate\n";
    }
    StandardFolder folder;
    const CliResult r = folder.Run(script);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2 * std::size(Characters)) << r.out;
    for (size_t i = 0; i < std::size(Characters); ++i) {
        const Typed& typed = Characters[i];
        EXPECT_EQ(StateField(lines[2 * i], "R0"), Hex4(CodeOf(typed.key).code))
            << "'" << typed.text << "' should hold key " << typed.key;
        EXPECT_EQ(StateField(lines[2 * i + 1], "R0"), "0000") << "'" << typed.text << "' in the other columns";
    }
}

// 8000: inc r5; br 8000. At speed 16 a tick runs two steps: one inc.
constexpr const char* TickCounter = "load 8000 0A85 01FE\nspeed 16\n";

TEST(CliType, Scripts) {
    const MatrixCode blank = CodeOf(54);
    const std::string latch = LatchProgram;
    const ScriptCase cases[] = {
        // "a" (key 17) is in column 8 and the trailing blank comes last.
        {"a blank reaches key 54", latch + "set keyout " + Hex4(blank.column) + "\ntype  a \nstate\n",
         {"state: R0=" + Hex4(blank.code)}},
        {"keys are let go after typing", latch + "set keyout E\ntype f\npeek 100\nstate\n",
         {"0000", "state: R0=0024"}},
        {"each key is held and let go for the hold time",
         std::string(TickCounter) +
             "type w\nstate\n"                   // default hold: 5 + 5 ticks
             "set r5 0\nhold 3\ntype ww\nstate\n"  // 2 keys x (3 + 3)
             "set r5 0\ntype qQ€é\tw\nstate\n"   // only w reaches a key
             "set r5 0\nhold 0\ntype www\nstate\n",
         {"state: R5=000A", "state: R5=000C", "state: R5=0006", "state: R5=0000"}},
        // A stray continuation byte, a truncated sequence, an overlong "w", a
        // surrogate, and bytes that never occur in UTF-8: only the blank after
        // the truncated sequence reaches a key.
        {"malformed UTF-8 reaches no key",
         std::string(TickCounter) + "type \x80\xD1 \xC1\xB7\xED\xA0\x80\xFF\xFE\xF8\x88\x80\x80\x80\nstate\n",
         {"state: R5=000A"}},
        // Speed 0: ticks run nothing, so the request stays pending.
        {"` is the halt key", "speed 0\nset keyout E\ntype `\nstate\n", {"state: HALTREQUEST=1"}},
        {"ё is the halt key", "speed 0\nset keyout E\ntype ё\nstate\n", {"state: HALTREQUEST=1"}},
        {"Ё is the halt key", "speed 0\nset keyout E\ntype Ё\nstate\n", {"state: HALTREQUEST=1"}},
        // Holding key 39 raises the request itself; the reset takes it back
        // and leaves the key held.
        {"a halt key still held raises it for any character",
         "speed 0\nkey 39\nreset\ntype q\nstate\n"  // matches nothing, but key 39 is still down
         "key 39\nreset\ntype w\nstate\n"            // w takes the key's place first
         "key 20\nreset\ntype q\nstate\n",
         {"state: HALTREQUEST=1", "state: HALTREQUEST=0", "state: HALTREQUEST=0"}},
        // The halt key by the window's rule: from the PC keyboard at once,
        // with the mouse when it lets go and only while KEYOUT selects its
        // column.
        {"key 39", "speed 0\nkey 39\nstate\n", {"state: HALTREQUEST=1"}},
        {"key 39, no column", "speed 0\nset keyout 0\nkey 39\nstate\n", {"state: HALTREQUEST=1"}},
        {"key 20", "speed 0\nkey 20\nstate\n", {"state: HALTREQUEST=0"}},
        {"mouse 39 held", "speed 0\nset keyout 2\nmouse 39\nstate\n", {"state: HALTREQUEST=0"}},
        {"mouse 39 let go", "speed 0\nset keyout 2\nmouse 39\nmouse 0\nstate\n", {"state: HALTREQUEST=1"}},
        {"mouse 39 for 20", "speed 0\nset keyout 2\nmouse 39\nmouse 20\nstate\n", {"state: HALTREQUEST=1"}},
        {"mouse 39, other columns", "speed 0\nset keyout C\nmouse 39\nmouse 0\nstate\n", {"state: HALTREQUEST=0"}},
        {"mouse 20 let go", "speed 0\nset keyout 2\nmouse 20\nmouse 0\nstate\n", {"state: HALTREQUEST=0"}},
        // Taken at the first step of the first tick, before the inc at 8000.
        {"the halt key takes the machine into halt mode", std::string(TickCounter) + "type `\nstate\n",
         {"state: HALTREQUEST=0 CPC=8000 CPS=0000 PC=7000 PSW=01E0 R5=0000"}},
    };
    for (const ScriptCase& c : cases) ExpectScript(c);
}

}  // namespace
