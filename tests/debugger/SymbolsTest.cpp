// The symbol file as hostile input: each line that is not an address and a
// name, or whose name another line took, is skipped and counted, the first
// few told by file and line; sizes are bounded; only plain files are read; names are found without regard to case, and before numbers.
// Local labels stand under their routine.
#include "debugger/Symbols.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/support/TempFolder.h"

namespace {

// Each line beside a good one: a bad line is skipped, counted and told by
// its number.
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
        {"0246 pc", false},
        {"0246 R7", false},
        {"0246 Sp", false},
        {"0246 fill.r0$", true},
        {"0246 anchor", false},  // the name of the line beside it
        {"0246 ANCHOR", false},
        // As long as a line may be, with the CR LF after it.
        {"0246 " + std::string(NameLimit, 'n') + "." + std::string(NameLimit - 1, '7') + "$" +
             std::string(SymbolLineLimit - 5 - 2 * NameLimit - 1, ' '),
         true},
    };
    for (const auto& row : lines) {
        SymbolTable table;
        // CR LF, and blank lines, which are no lines of symbols.
        const SymbolTable::LoadResult result = table.Parse("0100 anchor\r\n\n" + row.line + "\r\n", "labels.sym");
        EXPECT_EQ(result.Count, row.good ? 2u : 1u) << row.line;
        EXPECT_EQ(result.Skipped, row.good ? 0u : 1u) << row.line;
        ASSERT_EQ(result.Warnings.size(), row.good ? 0u : 1u) << row.line;
        if (!row.good) {
            EXPECT_EQ(result.Warnings[0].rfind("labels.sym:3: ", 0), 0u) << result.Warnings[0];
        }
        EXPECT_EQ(table.Find("anchor"), 0x0100) << row.line;
    }
    SymbolTable table;
    std::string text;
    for (const auto& row : lines) text += row.line + "\n";
    table.Parse(text, "labels.sym");
    EXPECT_EQ(table.Find("LOOP_2"), 0x01A4);
    EXPECT_EQ(table.Find("top"), 0xFFFF);
    EXPECT_EQ(table.Find("FILL.LOOP_2$"), 0x0246);
    ASSERT_NE(table.NameAt(0x8000), nullptr);
    EXPECT_EQ(*table.NameAt(0x8000), "main");
    EXPECT_EQ(table.NameAt(0x8002), nullptr);
}

// Bad files: those without a symbol, or not to be read, leave the table as
// it was; the skipped lines of any size of file make one short message.
TEST(Symbols, BadFilesGiveOneMessage) {
    std::string manyBad;
    for (int i = 0; i < 1000000; ++i) manyBad += "bad\n";
    std::string thirtyBad;
    for (int i = 0; i < 30; ++i) thirtyBad += "8000 r" + std::to_string(i % 8) + "\n";
    const struct {
        const char* what;
        std::string text;  // the file's contents when it is a plain file
        size_t count;      // the symbols taken; none keeps the table
        size_t skipped;
        std::string problem;  // in the message
    } files[] = {
        {"empty", "", 0, 0, "no symbols"},
        {"blank lines", "\n \r\n\t\n", 0, 0, "no symbols"},
        {"register names", thirtyBad, 0, 30, "30 lines of "},
        {"a million bad lines", manyBad, 0, 1000000, "1000000 lines of "},
        {"one good among bad", "bad\n" + manyBad + "0200 good\n", 1, 1000001, ", the first 3:"},
        {"a name twice, in two cases", "9000 later\n8000 Main\n7000 MAIN\n7000 main\n", 2, 2, "already names 8000"},
        {"too large", std::string(SymbolCountLimit * (SymbolLineLimit + 2) + 1, '\n'), 0, 0, "too large"},
        {"folder", {}, 0, 0, "it is a folder"},
        {"pipe", {}, 0, 0, "not a plain file"},
        {"missing", {}, 0, 0, "no such file"},
    };
    TempFolder folder;
    for (const auto& file : files) {
        const std::string path = folder / (std::string(file.what) + ".sym");
        if (file.what == std::string("folder")) std::filesystem::create_directory(path);
        else if (file.what == std::string("pipe")) ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else if (file.what != std::string("missing")) folder.WriteText(std::string(file.what) + ".sym", file.text);
        SymbolTable table;
        table.Parse("8000 kept\n", "t.sym");
        const SymbolTable::LoadResult result = table.Load(path);
        EXPECT_EQ(result.Count, file.count) << file.what;
        EXPECT_EQ(result.Skipped, file.skipped) << file.what;
        EXPECT_EQ(result.Error.empty(), file.count > 0) << file.what;
        EXPECT_EQ(table.Find("kept").has_value(), file.count == 0) << file.what;
        EXPECT_EQ(table.All().size(), file.count == 0 ? 1u : file.count) << file.what;
        const std::string message = result.Message(path);
        EXPECT_NE(message.find(file.problem), std::string::npos) << file.what << ": " << message;
        EXPECT_LE(std::count(message.begin(), message.end(), '\n'), std::ptrdiff_t(1 + SymbolTable::SkippedShown))
            << message;
    }
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
