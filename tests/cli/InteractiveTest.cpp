// vexal-cli in a terminal: a bad line is reported and the next one is read;
// Ctrl+C stops the command and the next line is read.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>

#include <chrono>
#include <csignal>

#include "CliRun.h"

namespace {

// vexal-cli in a terminal of its own in the folder, its standard error going
// to stderr.txt there.
class TerminalConsole {
public:
    explicit TerminalConsole(const CliFolder& folder) {
        const std::string err = folder / "stderr.txt";
        child_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (child_ != 0) return;
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (e < 0 || dup2(e, 2) < 0 || chdir((folder / "").c_str()) != 0) _exit(121);
        execl(VEXAL_CLI_PATH, VEXAL_CLI_PATH, static_cast<char*>(nullptr));
        _exit(122);
    }

    pid_t Child() const { return child_; }
    bool Type(const std::string& input) const {
        return write(terminal_, input.data(), input.size()) == ssize_t(input.size());
    }

    // Everything the terminal showed until the program ended; status is its
    // exit status, or -1 when it did not exit. A program still running after
    // 30 s is killed, so a console that ignores its input fails the test
    // instead of hanging it.
    std::string Finish(int& status) {
        std::string shown;
        char buffer[256];
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            pollfd ready{terminal_, POLLIN, 0};
            if (poll(&ready, 1, 100) == 1) {
                const ssize_t n = read(terminal_, buffer, sizeof buffer);
                if (n <= 0) break;
                shown.append(buffer, size_t(n));
            } else if (std::chrono::steady_clock::now() > until) {
                kill(child_, SIGKILL);
                break;
            }
        }
        int wait = 0;
        status = waitpid(child_, &wait, 0) == child_ && WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
        close(terminal_);
        return shown;
    }

private:
    pid_t child_ = -1;
    int terminal_ = -1;
};

TEST(CliInteractive, BadLineInATerminalDoesNotEndTheRun) {
    StandardFolder folder;
    TerminalConsole console(folder);
    ASSERT_GT(console.Child(), 0);
    // End of input (Ctrl-D) follows, so that a console ignoring quit still ends.
    ASSERT_TRUE(console.Type("bogus\nset r0\npeek 0\nquit\n\x04"));
    int status = -1;
    const std::string shown = console.Finish(status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(shown.find("8000\r\n"), std::string::npos) << shown;
    std::ifstream in(folder / "stderr.txt");
    const std::string messages(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(messages,
              "line 1: unknown command 'bogus' (help lists the commands)\n"
              "line 2: missing argument; usage: set NAME VALUE\n");
}

// Whether the program has set a handler for SIGINT by now: it does while a
// command runs.
bool CatchesInterrupt(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1) & 1;
    return false;
}

// The ROM's zeros at 8000 are HALT: the processor enters halt mode and waits
// at 7000 on a branch to itself, which runs for as long as it is let.
TEST(CliInteractive, CtrlCStopsTheCommandAndTheNextLineIsRead) {
    StandardFolder folder;
    TerminalConsole console(folder);
    ASSERT_GT(console.Child(), 0);
    ASSERT_TRUE(console.Type("step 1000000000000000\nback 1\nquit\n\x04"));
    EXPECT_TRUE(ChildProcess::WaitUntil([&] { return CatchesInterrupt(console.Child()); }));
    kill(console.Child(), SIGINT);
    int status = -1;
    const std::string shown = console.Finish(status);
    EXPECT_EQ(status, 0);
    const std::optional<uint64_t> interrupted = InterruptedStep(shown, "7000", "\r\n");
    ASSERT_TRUE(interrupted) << shown;
    const uint64_t step = *interrupted;
    EXPECT_GT(step, 1u);
    EXPECT_NE(shown.find("stepped to 7000, step " + std::to_string(step - 1) + "\r\n"), std::string::npos) << shown;
}

}  // namespace
