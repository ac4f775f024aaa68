#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "asm/Command.h"
#include "core/Def.h"
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
