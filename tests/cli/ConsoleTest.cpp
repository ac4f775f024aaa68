// The command module on its own, as a window's console would use it.
#include "cli/Console.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "panel/RunLoop.h"
#include "tests/support/CleanMachine.h"

namespace {

class ConsoleModule : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        CpuSpeed = 250;
    }

    // Runs the line; what it prints lands in output.
    ConsoleReply Execute(std::string_view line) {
        std::ostringstream out;
        const ConsoleReply reply = console.Execute(line, out);
        output = out.str();
        return reply;
    }

    Console console{"unused-ram.bin"};
    std::string output;
};

TEST_F(ConsoleModule, BlankAndCommentLinesDoNothing) {
    for (const char* line : {"", "   ", "\t", "#", "# state", "  #set r0 1"}) {
        const ConsoleReply reply = Execute(line);
        EXPECT_FALSE(reply.failed) << "'" << line << "'";
        EXPECT_FALSE(reply.quit);
        EXPECT_EQ(output + reply.warnings + reply.error, "") << "'" << line << "'";
    }
}

TEST_F(ConsoleModule, AFailedLineChangesNothing) {
    for (const char* line : {"load 8000 1111 2222 33Z3", "set r0 12G4", "poke 8000 Z", "step 1 2",
                             "speed 99999999999", "hold x", "key 60", "until 8000 0"}) {
        const ConsoleReply reply = Execute(line);
        EXPECT_TRUE(reply.failed) << line;
        EXPECT_EQ(output, "") << line;
        EXPECT_FALSE(reply.error.empty()) << line;
        for (int i = 0; i < 8; ++i) EXPECT_EQ(Mk.Reg[i], 0) << line;
        EXPECT_EQ(Mk.Memory[0x8000], 0) << line;
        EXPECT_EQ(Mk.PcKey, 0) << line;
        EXPECT_EQ(CpuSpeed, 250) << line;
    }
    EXPECT_EQ(console.HoldTicks(), 5);
}

TEST_F(ConsoleModule, NumbersFollowTheRadix) {
    console = Console("unused-ram.bin", NumberFormat(8));
    EXPECT_TRUE(Execute("set r0 8").failed);  // 8 is no octal digit
    EXPECT_FALSE(Execute("set r0 177777").failed);
    EXPECT_EQ(Mk.Reg[0], 0xFFFF);
    // A valid number keeps its low 16 bits.
    EXPECT_FALSE(Execute("set r1 777777").failed);
    EXPECT_EQ(Mk.Reg[1], 0xFFFF);
    Execute("peek 0");
    EXPECT_EQ(output, "000000\n");
    console = Console("unused-ram.bin", NumberFormat(16));
    EXPECT_FALSE(Execute("set r2 aBcD").failed);
    EXPECT_EQ(Mk.Reg[2], 0xABCD);
}

TEST_F(ConsoleModule, CountsAreDecimalAndBounded) {
    EXPECT_TRUE(Execute("step A").failed);
    EXPECT_TRUE(Execute("step 1000000000000000000000").failed);
    EXPECT_FALSE(Execute("hold 12").failed);
    EXPECT_EQ(console.HoldTicks(), 12);
    EXPECT_FALSE(Execute("speed -2147483648").failed);
    EXPECT_EQ(CpuSpeed, INT32_MIN);
    EXPECT_TRUE(Execute("speed -2147483649").failed);
    EXPECT_FALSE(Execute("speed 2147483647").failed);
    EXPECT_EQ(CpuSpeed, INT32_MAX);
}

TEST_F(ConsoleModule, QuitAndSaveWarnings) {
    const ConsoleReply quit = Execute("QUIT");
    EXPECT_TRUE(quit.quit);
    EXPECT_FALSE(quit.failed);

    const ConsoleReply save = Execute("save /nonexistent-folder/ram.bin");
    EXPECT_FALSE(save.failed);
    EXPECT_EQ(save.warnings, "Failed to save the file /nonexistent-folder/ram.bin: cannot reach its folder: No such "
                             "file or directory\n");
}

TEST_F(ConsoleModule, TypeWithoutTextIsAnError) {
    EXPECT_TRUE(Execute("type").failed);
    EXPECT_TRUE(Execute("type    ").failed);
}

}  // namespace
