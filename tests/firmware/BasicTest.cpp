// BASIC as a user meets it: programs typed, run, stopped, listed and edited,
// kept between sessions, and their errors.
#include "FirmwareRun.h"

namespace {

// A program typed line by line.
std::string Program(const std::vector<std::string>& lines) {
    std::string script;
    for (const std::string& line : lines) script += Enter(line);
    return script;
}

const std::string Show = "lcd\n";
const std::string RunIt = Enter("RUN") + Show;
const std::string Next = Execute + "idle\n" + Show;  // EXE where PRINT waits
// A run that does not stop by itself.
std::string Start(const std::string& command) { return "type " + command + "\n" + Execute; }

std::vector<std::string> TextsOf(const std::vector<Screen>& screens) {
    std::vector<std::string> texts;
    for (const Screen& screen : screens) texts.push_back(Trimmed(screen.text));
    return texts;
}

struct ProgramCase {
    const char* name;
    std::vector<std::string> lines;
    std::string actions;
    std::vector<std::string> shown;  // the display after each Show
};

// PRINT shows its line and waits for EXE; ";" or "," at its end lets the
// next PRINT or INPUT go on with the line instead.
TEST(Basic, RunsPrograms) {
    const ProgramCase cases[] = {
        {"a loop waits at each PRINT", {"10 FOR I=1 TO 3:PRINT \"I=\";I:NEXT I"}, RunIt + Next + Next + Next,
         {"I= 1", "I= 2", "I= 3", ""}},
        {"GOSUB and RETURN, output going on after ;",
         {"10 GOSUB 100:PRINT \"BACK\":END", "100 PRINT \"SUB\";:RETURN"}, RunIt + Next, {"SUBBACK", ""}},
        {"IF with a statement and with a line",
         {"10 A=5", "20 IF A>3 THEN PRINT \"BIG\"", "30 IF A=5 THEN 50", "40 PRINT \"NO\"", "50 PRINT \"YES\""},
         RunIt + Next + Next, {"BIG", "YES", ""}},
        {"IF false skips the rest of the line", {"10 IF 0 THEN PRINT 1:PRINT 2", "20 PRINT 3"}, RunIt + Next, {"3", ""}},
        {"FOR counting down, FOR inside FOR",
         {"10 FOR I=2 TO 1 STEP -1:FOR J=1 TO 2", "20 PRINT I;\",\";J:NEXT J:NEXT I"},
         RunIt + Next + Next + Next + Next, {"2, 1", "2, 2", "1, 1", "1, 2", ""}},
        {"GOSUB eight deep", {"10 GOSUB 20:PRINT D:END", "20 D=D+1:IF D<8 THEN GOSUB 20", "30 RETURN"}, RunIt + Next,
         {"8", ""}},
        {"FOR four deep",
         {"10 FOR A=1TO2:FOR B=1TO2:FOR C=1TO2:FOR D=1TO2", "20 N=N+1:NEXT D:NEXT C:NEXT B:NEXT A:PRINT N"},
         RunIt + Next, {"16", ""}},
        {"INPUT takes a value, an answer that is no value shows its error and is asked again",
         {"10 INPUT \"N\";N:PRINT N*N"},
         RunIt + Enter("1+") + Show + Enter("1/0") + Show + Enter("ABC") + Show + Enter("\"HI\"") + Show + Execute +
             "idle\n" + Show + "type 7\n" + Show + Execute + "idle\n" + Show,
         {"N?", "SYNTAX ERR", "DIV BY ZERO", "SYNTAX ERR", "SYNTAX ERR", "N?", "N?7", "49"}},
        {"INPUT after PRINT ;", {"10 PRINT \"A\";:INPUT B:PRINT B"}, RunIt + "type 2\n" + Execute + "idle\n" + Show,
         {"A?", "2"}},
        {"PRINT joins with ; and spaces with ,, a number after output gets a blank before it unless one is there",
         {"10 PRINT 1;2,\"X\";-3;\"(\";5"}, RunIt, {"1 2 X -3( 5"}},
        {"a number after the output of an earlier PRINT", {"10 PRINT -1;", "20 PRINT 3E20"}, RunIt, {"-1 3E20"}},
        {"END in the middle", {"10 PRINT 1:END", "20 PRINT 2"}, RunIt + Next, {"1", ""}},
        {"RUN from a line", {"10 PRINT 1", "20 PRINT 2"}, Enter("RUN 20") + Show + Next, {"2", ""}},
        {"GOTO from the line typed runs the program", {"10 PRINT 1", "20 PRINT 2"}, Enter("GOTO 20") + Show, {"2"}},
        {"a number alone is a value, no deletion", {"5 PRINT 1"}, Enter("5") + Show + RunIt + Next, {"5", "1", ""}},
        {"DELETE a line", {"10 PRINT 1", "20 PRINT 2", "30 PRINT 3"}, Enter("DELETE 20") + RunIt + Next + Next,
         {"1", "3", ""}},
        {"DELETE lines from one number to another",
         {"10 PRINT 1", "20 PRINT 2", "30 PRINT 3", "40 PRINT 4"}, Enter("DELETE 15-30") + RunIt + Next + Next,
         {"1", "4", ""}},
        {"DELETE of every line gives all the memory back", {},
         Enter("MEM") + Show + Program({"10 PRINT 1", "20 PRINT 2"}) + Enter("DELETE 1-9999") + Enter("MEM") + Show,
         {"1200", "1200"}},
        {"DELETE and RANDOMIZE list as typed", {"10 DELETE 20", "20 RANDOMIZE"},
         Enter("LIST") + Show + Next + Clear + RunIt + Enter("LIST") + Show + Next,
         {"10 DELETE 20", "20 RANDOMIZE", "", "10 DELETE 20", ""}},
        {"DELETE ends a run", {"10 PRINT 1:DELETE 20", "20 PRINT 2"}, RunIt + Next + RunIt + Next,
         {"1", "", "1", "NO LINE 10"}},
        {"LET assigns", {"10 LET A=2", "20 LET B=A*3", "30 PRINT A;B"}, RunIt + Next, {"2 6", ""}},
        {"LET typed", {}, Enter("LET Z=3") + Enter("Z") + Show, {"3"}},
        {"GOSUB to an expression comes back after it",
         {"10 K=2:GOSUB 100*K:PRINT 1:END", "100 PRINT 100:RETURN", "200 PRINT 200:RETURN"}, RunIt + Next + Next,
         {"200", "1", ""}},
        {"a line typed again replaces it", {"10 PRINT 1", "10 PRINT 3"}, RunIt + Next, {"3", ""}},
        {"NEW empties the program", {"10 PRINT 1", "NEW"}, RunIt + Enter("MEM") + Show, {"", "1200"}},
        {"several statements in the line typed", {}, Enter("A=2:B=A*3:PRINT A;B") + Show, {"2 6"}},
        // The line typed shows its own output, never what an earlier line left.
        {"PRINT after a value", {}, Enter("2+3") + Enter("PRINT 7") + Show + Press(KeyRight) + Show, {"7", "7"}},
        {"? after a value", {}, Enter("2+3") + Enter("?7") + Show, {"7"}},
        {"PRINT after a value and an assignment", {}, Enter("2+3") + Enter("B=4:PRINT 7") + Show, {"7"}},
        {"PRINT after a value and AC", {}, Enter("2+3") + Clear + Enter("PRINT 7") + Show, {"7"}},
        {"PRINT after a message", {}, Enter("1/0") + Enter("PRINT 5") + Show, {"5"}},
        {"output left by ; shows", {}, Enter("PRINT 5;") + Show + Enter("PRINT 6") + Show, {"5", "6"}},
        {"a loop typed shows all its output", {}, Enter("FOR I=1 TO 3:PRINT I;:NEXT I") + Show, {"1 2 3"}},
    };
    for (const ProgramCase& c : cases) {
        FirmwareFolder folder;
        const auto screens = folder.ScreensOf(PowerOn + Program(c.lines) + c.actions);
        EXPECT_EQ(TextsOf(screens), c.shown) << c.name;
    }
}

// A jump goes where the plain number takes it, whatever expression gives it.
TEST(Basic, JumpTargetsAreExpressions) {
    const std::vector<std::string> program = {"100 PRINT 100:END", "200 PRINT 200"};
    const char* jumps[] = {"GOTO 100+100", "RUN 100+100", "IF 1 GOTO 100+100", "IF 1 THEN 100+100",
                           "GOTO 1*200",   "GOTO 2E2",    "GOTO (200)",        "GOSUB 400/2"};
    FirmwareFolder folder;
    const auto plain = folder.ScreensOf(PowerOn + Program(program) + Enter("GOTO 200") + Show);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(Trimmed(plain[0].text), "200");
    for (const char* jump : jumps) {
        const auto screens = folder.ScreensOf(PowerOn + Program(program) + Enter(jump) + Show);
        ASSERT_EQ(screens.size(), 1u) << jump;
        EXPECT_EQ(screens[0].text, plain[0].text) << jump;
        EXPECT_EQ(screens[0].digits, plain[0].digits) << jump;
    }
}

// The first RND of a fresh machine, and RND after RANDOMIZE, depend on how
// long the keys were held before: the same typing, held longer, gives
// another number.
TEST(Basic, RandomNumbersStartFromTheKeyTiming) {
    const auto rnd = [](const std::string& before, int hold, const std::string& typed) {
        FirmwareFolder folder;
        const auto screens = folder.ScreensOf(PowerOn + before + "hold " + std::to_string(hold) + "\n" + typed +
                                              Enter("RND") + Show);
        return screens.empty() ? std::string() : Trimmed(screens.back().text);
    };
    const std::string used = Enter("A=RND");
    const std::pair<std::string, std::string> cases[] = {{"", ""}, {"", Enter("RANDOMIZE")}, {used, Enter("RANDOMIZE")}};
    for (const auto& [before, typed] : cases) {
        const std::string brisk = rnd(before, 5, typed), slow = rnd(before, 9, typed);
        EXPECT_EQ(brisk.rfind("0.", 0), 0u) << typed << brisk;
        EXPECT_EQ(slow.rfind("0.", 0), 0u) << typed << slow;
        EXPECT_NE(brisk, slow) << typed;
    }
}

// The screen while a program waits at PRINT: RUN lit, the line's number on
// the digits; the machine asleep, as it waits for a key.
TEST(Basic, PrintWaitsForExeWithRunLit) {
    FirmwareFolder folder;
    const CliResult result =
        folder.RunFirmware(PowerOn + Program({"10 PRINT 1", "20 PRINT 2"}) + RunIt + "tick 500\nstate\n" + Show + Next);
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(Trimmed(screens[1].text), "1");  // still, five seconds on
    EXPECT_EQ(screens[1].indicators, "3");      // RUN
    EXPECT_EQ(DigitsShown(screens[1].digits), "10");
    EXPECT_EQ(StateField(States(result).at(0), "CTRLPORT"), "0000");
    EXPECT_EQ(Trimmed(screens[2].text), "2");
}

// An error names itself and the line; ► scrolls a message longer than the
// display, the digits show the line; ◄ then opens the line for editing, the
// cursor where the run stopped.
TEST(Basic, ErrorsNameTheirLine) {
    struct Case {
        std::vector<std::string> lines;
        const char* message;
        const char* opened;  // the line as ◄ opens it, the cursor at "|"
    };
    const Case cases[] = {
        {{"10 A=1", "20 PRINT A/0"}, "DIV BY ZERO 20", "20 PRINT A/0|"},
        {{"10 GOTO 99"}, "NO LINE 10", "10 GOTO 99|"},
        {{"10 PRINT (1+"}, "SYNTAX ERR 10", "10 PRINT (1+|"},
        {{"10 A=B+", "20 A=1"}, "SYNTAX ERR 10", "10 A=B+|"},
        {{"10 NEXT I"}, "NO FOR 10", "10 NEXT I|"},
        {{"10 RETURN"}, "NO GOSUB 10", "10 RETURN|"},
        {{"10 GOSUB 10"}, "TOO DEEP 10", "10 GOSUB 10|"},
        {{"10 FOR A=1TO2:FOR B=1TO2:FOR C=1TO2:FOR D=1TO2", "20 FOR E=1TO2"}, "TOO DEEP 20", nullptr},
        {{"10 PRINT SQR(-1)"}, "BAD ARGUMENT 10", "10 PRINT SQR(-1)|"},
        {{"10 PRINT 1:STOP:PRINT 2"}, "STOP 10", nullptr},
    };
    for (const Case& c : cases) {
        const std::string message = c.message;
        const size_t scroll = message.size() > CellCount ? message.size() - CellCount : 0;
        std::string script = PowerOn + Program(c.lines) + Enter("RUN");
        if (message.rfind("STOP", 0) == 0) script += Next;  // past PRINT 1
        script += Show + Repeat(Press(KeyRight), int(scroll)) + Show + Press(KeyLeft) + Repeat(Press(KeyLeft), int(scroll));
        if (c.opened) script += Show;
        FirmwareFolder folder;
        const auto screens = folder.ScreensOf(script);
        const size_t at = message.rfind("STOP", 0) == 0 ? 1 : 0;
        ASSERT_EQ(screens.size(), at + (c.opened ? 3u : 2u)) << message;
        const auto padded = [](std::string text) {
            text.resize(CellCount, ' ');
            return text;
        };
        EXPECT_EQ(screens[at].text, padded(message.substr(0, CellCount))) << message;
        EXPECT_EQ(screens[at + 1].text, padded(message.substr(scroll))) << message;
        EXPECT_EQ(DigitsShown(screens[at].digits), message.substr(message.rfind(' ') + 1)) << message;
        if (!c.opened) continue;
        const std::string opened = c.opened;
        const size_t cursor = opened.find('|');
        const std::string text = opened.substr(0, cursor) + opened.substr(cursor + 1);
        EXPECT_EQ(Trimmed(screens[at + 2].text), text.substr(text.size() > 11 ? text.size() - 11 : 0)) << message;
        EXPECT_EQ(DigitsShown(screens[at + 2].digits), std::to_string(cursor + 1)) << message;
    }
}

TEST(Basic, ErrorsOfTheLineTyped) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"INPUT A", "DIRECT ERR"}, {"CONT", "CAN'T CONT"}, {"GOTO 10", "NO LINE"}, {"RETURN", "NO GOSUB"},
        {"PRINT 1+", "SYNTAX ERR"}, {"0 PRINT 1", "SYNTAX ERR"}, {"10000 PRINT 1", "SYNTAX ERR"},
        {"PRINT TAB(3);1", "SYNTAX ERR"}, {"PRINT A B", "SYNTAX ERR"}, {"PRINT \"A\"1", "SYNTAX ERR"},
        {"GOTO 2.5", "BAD ARGUMENT"}, {"GOTO 0", "BAD ARGUMENT"}, {"GOSUB 5-6", "BAD ARGUMENT"},
        {"RUN 10000", "BAD ARGUMENT"}, {"GOTO 1E4", "BAD ARGUMENT"}, {"GOTO 10+10", "NO LINE"},
        {"GOTO 10 20", "SYNTAX ERR"}, {"RUN 10)", "SYNTAX ERR"},
        {"DELETE 10", "NO LINE"}, {"DELETE", "SYNTAX ERR"}, {"DELETE 20-10", "SYNTAX ERR"},
    };
    std::string script = PowerOn;
    for (const Case& c : cases) script += Enter(c.typed) + Show + Press(KeyClear);
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].typed;
        EXPECT_EQ(DigitsShown(screens[i].digits), "") << cases[i].typed;
    }
}

// AC stops a running program between statements; CONT goes on where it
// stopped; a change to the program ends that.
TEST(Basic, BreakAndCont) {
    const std::string hold = "key 52\ntick 5\nkey 0\nidle\n";
    FirmwareFolder folder;
    const CliResult result =
        folder.RunFirmware(PowerOn + Program({"10 I=I+1:GOTO 10"}) + Start("RUN") + "tick 100\n" + Show + hold + Show +
                           Enter("I") + Show + Start("CONT") + "tick 100\n" + Show + hold + Enter("I") + Show +
                           Enter("10 I=0") + Enter("CONT") + Show);
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 6u) << result.out;
    EXPECT_EQ(screens[0].indicators, "3");  // RUN while it runs
    EXPECT_EQ(Trimmed(screens[1].text), "BREAK 10");
    EXPECT_EQ(screens[1].indicators, "");
    const int first = std::stoi(Trimmed(screens[2].text));
    EXPECT_GT(first, 50);
    EXPECT_EQ(screens[3].indicators, "3");  // running again
    EXPECT_GT(std::stoi(Trimmed(screens[4].text)), first + 50);
    EXPECT_EQ(Trimmed(screens[5].text), "CAN'T CONT");
}

TEST(Basic, StopAndCont) {
    FirmwareFolder folder;
    const auto screens =
        folder.ScreensOf(PowerOn + Program({"10 PRINT \"A\":STOP:PRINT \"B\""}) + RunIt + Next + Enter("CONT") + Show);
    EXPECT_EQ(TextsOf(screens), (std::vector<std::string>{"A", "STOP 10", "B"}));
}

// LIST shows a line at a time: EXE or ▼ the next, ▲ the one before, AC ends;
// the cursor keys start editing the line, and EXE stores it and lists on.
TEST(Basic, ListAndEdit) {
    FirmwareFolder folder;
    const std::string program = Program({"10 A=1", "20 PRINT A", "30 END"});
    const auto screens = folder.ScreensOf(
        PowerOn + program + Enter("LIST") + Show + Press(KeyNewer) + Show + Execute + Show + Press(KeyOlder) +
        Show + Press(KeyRight) + Repeat(Press(KeyDelete), 5) + "type ?\n" + Show + Execute +
        Show + Press(KeyClear) + Show + Enter("LIST 15") + Show + "type RUN\n" + Show + Execute + "idle\n" + Show);
    EXPECT_EQ(TextsOf(screens), (std::vector<std::string>{"10 A=1", "20 PRINT A", "30 END", "20 PRINT A", "20 ? A",
                                                          "30 END", "", "20 ? A", "RUN", "1"}));
    EXPECT_EQ(screens[0].cursor, "none");  // no cursor until editing starts
    EXPECT_EQ(screens[4].cursor, "4 underline");
}

TEST(Basic, ProgramAndVariablesSurviveASavedSession) {
    FirmwareFolder folder;
    folder.RunFirmware(PowerOn + Program({"10 PRINT \"HI\";A", "20 B=B+1"}) + Enter("A=7") + "save\n");
    const auto screens = folder.ScreensOf(PowerOn + Show + Enter("LIST") + Show + Press(KeyClear) + RunIt + Next +
                                          Enter("B") + Show);
    EXPECT_EQ(TextsOf(screens), (std::vector<std::string>{"", "10 PRINT \"HI", "HI 7", "", "1"}));

    // Saved while PRINT waits, the processor asleep: what the line changed
    // since an earlier PRINT is kept too, and the line just stored.
    folder.RunFirmware(PowerOn + Start("A=1:PRINT A:A=2:PRINT A") + "idle\n" + Execute + "idle\n" + "save\n");
    folder.RunFirmware(PowerOn + Enter("30 END") + Start("PRINT A:A=3:PRINT A") + "idle\n" + Execute + "idle\n" +
                       "save\n");
    EXPECT_EQ(TextsOf(folder.ScreensOf(PowerOn + Show + Enter("A") + Show + Press(KeyClear) + Enter("LIST 30") + Show)),
              (std::vector<std::string>{"", "3", "30 END"}));
}

// A line that does not fit is refused whole: the program stays as it was.
// Each of these lines takes 48 bytes: 25 fill the 1,200.
TEST(Basic, OutOfMemory) {
    std::string script = PowerOn;
    const std::string filler = " REM " + std::string(40, 'X');
    for (int line = 1; line <= 26; ++line) script += Enter(std::to_string(line) + filler);
    script += Show + Press(KeyClear) + Enter("MEM") + Show + Enter("LIST 25") + Show + Press(KeyNewer) + Show;
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    EXPECT_EQ(TextsOf(screens), (std::vector<std::string>{"OUT OF MEMOR", "0", "25 REM XXXXX", ""}));
}

}  // namespace
