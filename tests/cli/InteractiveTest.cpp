// vexal-cli in a terminal: a bad line is reported and the next one is read.
#include <gtest/gtest.h>
#include <pty.h>

#include "CliRun.h"

namespace {

TEST(CliInteractive, BadLineInATerminalDoesNotEndTheRun) {
    StandardFolder folder;
    const std::string err = folder / "stderr.txt";
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (e < 0 || dup2(e, 2) < 0 || chdir((folder / "").c_str()) != 0) _exit(121);
        execl(VEXAL_CLI_PATH, VEXAL_CLI_PATH, static_cast<char*>(nullptr));
        _exit(122);
    }
    // End of input (Ctrl-D) follows, so that a console ignoring quit still ends.
    const std::string input = "bogus\nset r0\npeek 0\nquit\n\x04";
    ASSERT_EQ(write(terminal, input.data(), input.size()), ssize_t(input.size()));
    std::string shown;
    char buffer[256];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, size_t(n));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(terminal);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(shown.find("8000\r\n"), std::string::npos) << shown;
    std::ifstream in(err);
    const std::string messages(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(messages,
              "line 1: unknown command 'bogus' (help lists the commands)\n"
              "line 2: missing argument; usage: set NAME VALUE\n");
}

}  // namespace
