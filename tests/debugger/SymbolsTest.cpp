// The symbol file as hostile input: each line that is not an address and a
// name gives one warning naming the file and the line and is skipped; sizes
// are bounded; names are found without regard to case, and before numbers.
// Local labels stand under their routine.
#include "debugger/Symbols.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace {

TEST(Symbols, EachBadLineWarnsAndIsSkipped) {
    const struct {
        std::string line;
        bool good;
    } lines[] = {
        {"8000 main", true},
        {"  01a4\tloop_2  ", true},
        {"0 zero", true},
        {"FFFF top", true},
        {"10000 five_digits", false},
        {"80G0 not_hex", false},
        {"8000", false},
        {"8000 two words", false},
        {"8000 1starts_with_digit", false},
        {"main 8000", false},
        {"8000 name" + std::string(SymbolLineLimit, 'x'), false},
        {std::string("8000 nul\0byte", 13), false},
        {"0246 fill.1$", true},
        {"0246 Fill.loop_2$", true},
        {"0246 1$", false},
        {"0246 fill.1", false},
        {"0246 .1$", false},
        {"0246 fill.", false},
        {"0246 a.b.1$", false},
        {"0246 fill$.1$", false},
        // As long as a line may be, with the CR LF after it.
        {"0246 " + std::string(NameLimit, 'n') + "." + std::string(NameLimit - 1, '7') + "$" +
             std::string(SymbolLineLimit - 5 - 2 * NameLimit - 1, ' '),
         true},
    };
    std::string text;
    size_t goodCount = 0;
    for (const auto& row : lines) {
        text += row.line + "\r\n\n";  // CR LF, and blank lines, which are no lines of symbols
        goodCount += row.good;
    }
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Parse(text, "labels.sym");
    EXPECT_EQ(result.Count, goodCount);
    size_t warning = 0;
    for (size_t i = 0; i < std::size(lines); ++i) {
        if (lines[i].good) continue;
        ASSERT_LT(warning, result.Warnings.size());
        EXPECT_EQ(result.Warnings[warning++].rfind("labels.sym:" + std::to_string(2 * i + 1) + ": ", 0), 0u)
            << lines[i].line;
    }
    EXPECT_EQ(warning, result.Warnings.size());
    EXPECT_EQ(table.Find("LOOP_2"), 0x01A4);
    EXPECT_EQ(table.Find("top"), 0xFFFF);
    EXPECT_EQ(table.Find("FILL.LOOP_2$"), 0x0246);
    ASSERT_NE(table.NameAt(0x8000), nullptr);
    EXPECT_EQ(*table.NameAt(0x8000), "main");
    EXPECT_EQ(table.NameAt(0x8002), nullptr);
}

TEST(Symbols, ANameWinsOverANumberSpeltAlike) {
    SymbolTable table;
    table.Parse("1234 add\n", "t.sym");
    EXPECT_EQ(ParseAddress("add", 16, table), 0x1234);
    EXPECT_EQ(ParseAddress("adc", 16, table), 0x0ADC);
    EXPECT_EQ(ParseAddress("1FFFF", 16, table), 0xFFFF);
    EXPECT_EQ(ParseAddress("179", 8, table), std::nullopt);
    EXPECT_EQ(ParseAddress("", 16, table), std::nullopt);
}

TEST(Symbols, TooManyLinesStopWithOneWarning) {
    std::string text;
    for (size_t i = 0; i < SymbolCountLimit + 10; ++i) text += "8000 n" + std::to_string(i) + "\n";
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Parse(text, "big.sym");
    EXPECT_EQ(result.Count, SymbolCountLimit);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_EQ(table.Find("n" + std::to_string(SymbolCountLimit - 1)), 0x8000);
}

// A file that cannot be read leaves the table as it was.
TEST(Symbols, AnUnreadableFileChangesNothing) {
    TempFolder folder;
    SymbolTable table;
    table.Parse("8000 main\n", "t.sym");
    EXPECT_NE(table.Load(folder / "missing.sym").Error, "");
    EXPECT_NE(table.Load(folder.path().string()).Error, "");
    EXPECT_EQ(table.Find("main"), 0x8000);
}

// What vexal-asm writes, the table reads back; what the table would skip,
// the writer refuses.
TEST(Symbols, WrittenAndReadBack) {
    const std::vector<Symbol> labels = {{0x8010, "later"}, {0x0200, "start"}, {0x8010, "same_place"},
                                        {0x0202, "start.1$"}};
    const SymbolFile file = SymbolFileText(labels);
    EXPECT_EQ(file.Problem, "");
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Parse(file.Text, "t.sym");
    EXPECT_TRUE(result.Warnings.empty());
    const std::vector<Symbol> sorted = {
        {0x0200, "start"}, {0x0202, "start.1$"}, {0x8010, "later"}, {0x8010, "same_place"}};
    EXPECT_EQ(table.All(), sorted);
    EXPECT_EQ(file.Text, "0200 start\n0202 start.1$\n8010 later\n8010 same_place\n");

    for (const std::string& bad : {std::string("1$"), std::string("pc"), std::string(NameLimit + 1, 'x')}) {
        const SymbolFile refused = SymbolFileText({{0x0200, "start"}, {0x0300, bad}});
        EXPECT_EQ(refused.Text, "") << bad;
        EXPECT_NE(refused.Problem, "") << bad;
    }
    const SymbolFile tooMany = SymbolFileText(std::vector<Symbol>(SymbolCountLimit + 1, Symbol{0x0200, "start"}));
    EXPECT_EQ(tooMany.Problem, "65537 labels; a symbol file holds at most 65536");
    EXPECT_EQ(SymbolFileText(std::vector<Symbol>(SymbolCountLimit, Symbol{0x0200, "start"})).Problem, "");
}

}  // namespace
