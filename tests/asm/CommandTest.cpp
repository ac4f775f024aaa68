#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "asm/Command.h"
#include "core/Def.h"
#include "debugger/Symbols.h"
#include "tests/support/TempFolder.h"

namespace {

class AsmCommand : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        return RunAssembler(arguments, out, err);
    }

    TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(AsmCommand, WritesTheImageAndTheListing) {
    folder.WriteText("prog.asm", " .org 2\n .word 1234\n");
    ASSERT_EQ(Run({"-l", folder / "prog.lst", folder / "prog.asm"}), AsmExitDone) << err.str();
    const std::vector<uint8_t> image = folder.Read("prog.bin");  // beside the source, by default
    ASSERT_EQ(image.size(), RomSize);
    EXPECT_EQ(image[2], 0x34);
    EXPECT_EQ(image[3], 0x12);
    const std::vector<uint8_t> listing = folder.Read("prog.lst");
    EXPECT_EQ(std::string(listing.begin(), listing.end()), "0002                   .org 2\n0002  1234             .word 1234\n");

    ASSERT_EQ(Run({folder / "prog.asm", "-o", folder / "out/../rom.bin"}), AsmExitFailed);  // no folder "out"
    EXPECT_EQ(err.str(), "vexal-asm: cannot write " + folder / "out/../rom.bin" +
                             ": cannot reach its folder: No such file or directory\n");
    ASSERT_EQ(Run({folder / "prog.asm", "-o", folder / "rom.bin"}), AsmExitDone);
    EXPECT_EQ(folder.Read("rom.bin"), image);
    EXPECT_EQ(out.str() + err.str(), "");
}

TEST_F(AsmCommand, AnErrorLeavesEveryOutputAsItWas) {
    folder.WriteText("prog.asm", " nop\n bogus r0\n");
    const std::vector<uint8_t> old = Pattern(100, 9);
    folder.Write("rom.bin", old);
    EXPECT_EQ(Run({"-o", folder / "rom.bin", "-l", folder / "prog.lst", folder / "prog.asm"}), AsmExitFailed);
    EXPECT_EQ(err.str(), folder / "prog.asm" + ":2:2: unknown mnemonic 'bogus'\n");
    EXPECT_EQ(folder.Read("rom.bin"), old);
    EXPECT_FALSE(std::filesystem::exists(folder / "prog.lst"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);  // no temporary left
}

// The outputs never replace what they are made from, nor each other, and
// are written both or neither.
TEST_F(AsmCommand, AnOutputThatWouldLoseAFileIsRefused) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;  // before the source
        int status;
        std::string message;
    };
    const std::string image = folder / "rom.bin";
    const Case cases[] = {
        {"the image and the listing in one file", {"-o", image, "-l", folder / "./rom.bin"}, AsmExitBadUsage,
         "the image and the listing would both be " + image + "; give them different names"},
        {"the source through a hard link", {"-o", folder / "hard.bin"}, AsmExitBadUsage,
         folder / "hard.bin" + " is the source file; write the output elsewhere"},
        {"the source through a symbolic link", {"-o", image, "-l", folder / "link.lst"}, AsmExitBadUsage,
         folder / "link.lst" + " is the source file; write the output elsewhere"},
        {"an included file", {"-o", image, "-l", folder / "sub/../inc.asm"}, AsmExitBadUsage,
         folder / "sub/../inc.asm" + " is the included file " + folder / "inc.asm" + "; write the output elsewhere"},
        {"the image through a link to where the listing goes",
         {"-o", folder / "dangling.bin", "-l", folder / "gone.lst"},
         AsmExitBadUsage,
         "the image and the listing would both be " + folder / "dangling.bin" + "; give them different names"},
        {"a listing that cannot be written", {"-o", image, "-l", folder / "sub"}, AsmExitFailed,
         "cannot write " + folder / "sub" + ": it is a folder"},
    };
    folder.WriteText("prog.asm", " .include \"inc.asm\"\n .word 1\n");
    folder.WriteText("inc.asm", " .word 2\n");
    std::filesystem::create_hard_link(folder / "prog.asm", folder / "hard.bin");
    std::filesystem::create_symlink("prog.asm", folder / "link.lst");
    std::filesystem::create_symlink("gone.lst", folder / "dangling.bin");
    std::filesystem::create_directory(folder / "sub");
    const std::vector<uint8_t> old = Pattern(100, 9);
    folder.Write("rom.bin", old);
    const auto entries = [this] { return std::distance(std::filesystem::directory_iterator(folder.path()), {}); };
    const auto before = entries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back(folder / "prog.asm");
        EXPECT_EQ(Run(arguments), c.status);
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "vexal-asm: " + c.message);
        EXPECT_EQ(folder.Read("rom.bin"), old);
        const std::vector<uint8_t> source = folder.Read("prog.asm");
        EXPECT_EQ(std::string(source.begin(), source.end()), " .include \"inc.asm\"\n .word 1\n");
        const std::vector<uint8_t> included = folder.Read("inc.asm");
        EXPECT_EQ(std::string(included.begin(), included.end()), " .word 2\n");
        EXPECT_EQ(entries(), before) << "nothing new, no temporary left";
    }
}

// Names that end in ".new" are names like any other: an output never
// writes over them on its way, nor leaves a temporary file behind.
TEST_F(AsmCommand, OutputsBesideNamesEndingInNewAreWritten) {
    struct Case {
        const char* what;
        std::string source;               // holds the program, and stays as it is
        std::vector<std::string> output;  // the options naming the outputs
        std::string image, listing;       // the files that get them
    };
    const Case cases[] = {
        {"the source named as the image with .new", "prog.bin.new", {"-o", "prog.bin"}, "prog.bin", ""},
        {"an included file named as the listing with .new", "prog.asm", {"-l", "inc.lst"}, "prog.bin", "inc.lst"},
        {"the listing named as the image without .new", "prog.asm", {"-o", "x.new", "-l", "x"}, "x.new", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TempFolder here;
        const std::string source = " .include \"inc.lst.new\"\n .word 1\n";
        here.WriteText(c.source, source);
        here.WriteText("inc.lst.new", " .word 2\n");
        std::vector<std::string> arguments;
        for (const std::string& option : c.output) arguments.push_back(option[0] == '-' ? option : here / option);
        arguments.push_back(here / c.source);
        ASSERT_EQ(Run(arguments), AsmExitDone) << err.str();

        const std::vector<uint8_t> image = here.Read(c.image);
        ASSERT_EQ(image.size(), RomSize);
        EXPECT_EQ(image[0], 2);
        EXPECT_EQ(image[2], 1);
        const std::vector<uint8_t> kept = here.Read(c.source), included = here.Read("inc.lst.new");
        EXPECT_EQ(std::string(kept.begin(), kept.end()), source);
        EXPECT_EQ(std::string(included.begin(), included.end()), " .word 2\n");
        std::set<std::string> names{c.source, "inc.lst.new", c.image};
        if (!c.listing.empty()) {
            const std::vector<uint8_t> listing = here.Read(c.listing);
            EXPECT_NE(std::string(listing.begin(), listing.end()).find(".word 2"), std::string::npos);
            names.insert(c.listing);
        }
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(here.path()))
            found.insert(entry.path().filename().string());
        EXPECT_EQ(found, names) << "no temporary left";
    }
}

// The symbol file holds every label at its address, local ones under their
// routine, and the reader takes it back whole.
TEST_F(AsmCommand, TheSymbolFileReadsBackAsTheLabels) {
    folder.WriteText("prog.asm",
                     "1$: nop ; above every routine: under none\n"
                     " .org 100\n"
                     "start: 1$: nop\n"
                     " br 1$\n"
                     "loop$: dec r0\n"
                     "Next: Two: 1$: nop\n"
                     "data: .word 0\n");
    ASSERT_EQ(Run({"-s", folder / "prog.sym", folder / "prog.asm"}), AsmExitDone) << err.str();
    SymbolTable table;
    const SymbolTable::LoadResult read = table.Load(folder / "prog.sym");
    EXPECT_EQ(read.Error, "");
    EXPECT_TRUE(read.Warnings.empty());
    const std::vector<Symbol> labels = {{0x100, "start"}, {0x100, "start.1$"}, {0x104, "start.loop$"},
                                        {0x106, "Next"},  {0x106, "Two"},      {0x106, "Two.1$"},
                                        {0x108, "data"}};
    EXPECT_EQ(table.All(), labels);
    EXPECT_EQ(table.Find("two.1$"), 0x106);
}

// One grammar of names: a label the assembler takes comes back from the
// symbol file, and one it refuses, the reader refuses too.
TEST_F(AsmCommand, TheAssemblerAndTheReaderTakeTheSameNames) {
    const struct {
        std::string label;
        bool good;
    } names[] = {
        {"fill", true},
        {"_Mixed_9", true},
        {std::string(NameLimit, 'n'), true},
        {std::string(NameLimit + 1, 'n'), false},
        {"sp", false},
        {"R7", false},
        {"9lives", false},
        {"a.b", false},
        {"1$", true},
        {"Loop_2$", true},
        {std::string(NameLimit - 1, '7') + "$", true},
        {std::string(NameLimit, '7') + "$", false},
        {"$", false},
    };
    for (const auto& row : names) {
        SCOPED_TRACE(row.label);
        const std::string name = row.label.back() == '$' ? "start." + row.label : row.label;
        folder.WriteText("prog.asm", " .org 100\nstart: nop\n" + row.label + ": nop\n");
        std::filesystem::remove(folder / "prog.sym");
        EXPECT_EQ(Run({"-s", folder / "prog.sym", folder / "prog.asm"}), row.good ? AsmExitDone : AsmExitFailed);
        SymbolTable table;
        EXPECT_EQ(table.Parse("0102 " + name + "\n", "t.sym").Count, row.good ? 1u : 0u);
        if (!row.good) continue;
        EXPECT_EQ(table.Load(folder / "prog.sym").Count, 2u);
        EXPECT_EQ(table.Find(name), 0x102);
    }
}

// More labels than a symbol file holds: the symbol file is refused, and with
// it every output; without -s the source assembles.
TEST_F(AsmCommand, TooManyLabelsForASymbolFileWriteNothing) {
    std::string source;
    for (size_t i = 0; i <= SymbolCountLimit; ++i) source += "l" + std::to_string(i) + ":\n";
    folder.WriteText("many.asm", source);
    EXPECT_EQ(Run({"-s", folder / "many.sym", folder / "many.asm"}), AsmExitFailed);
    EXPECT_EQ(err.str(), "vexal-asm: cannot write " + folder / "many.sym" + ": 65537 labels; a symbol file holds at most 65536\n");
    EXPECT_FALSE(folder.Exists("many.sym"));
    EXPECT_FALSE(folder.Exists("many.bin"));
    EXPECT_EQ(Run({folder / "many.asm"}), AsmExitDone) << err.str();
}

struct Usage {
    std::vector<std::string> arguments;
    std::string message;
};

TEST_F(AsmCommand, ABadCommandLineSaysWhy) {
    folder.WriteText("a.bin", "");
    const Usage cases[] = {
        {{}, "vexal-asm: no source file\n"},
        {{"-x", "a.asm"}, "vexal-asm: unknown option -x\n"},
        {{"a.asm", "-o"}, "vexal-asm: -o needs a file name\n"},
        {{"a.asm", "b.asm"}, "vexal-asm: one source file only; the others come in through .include\n"},
        {{folder / "a.bin"}, "vexal-asm: " + folder / "a.bin" + " is the source file; write the output elsewhere\n"},
        {{"-l", "a.asm", "a.asm"}, "vexal-asm: a.asm is the source file; write the output elsewhere\n"},
    };
    for (const Usage& c : cases) {
        EXPECT_EQ(Run(c.arguments), AsmExitBadUsage) << c.message;
        EXPECT_EQ(err.str(), c.message + AsmUsage);
    }
    EXPECT_EQ(Run({"--help"}), AsmExitDone);
    EXPECT_EQ(out.str(), AsmUsage);
}

}  // namespace
