// One of our programs run as a separate process, as a user starts it: in a
// folder, with standard input from a file, the environment changed as asked,
// and what it prints collected.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempFolder.h"

struct ProgramResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    int signal = 0;   // the signal that ended it, if one did
    std::string out;
    std::string err;

    // The lines of standard output, without their newlines.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

class ChildProcess {
public:
    struct Options {
        std::filesystem::path folder;       // where it runs
        std::string input = "/dev/null";    // its standard input, named from the folder it runs in
        std::vector<std::string> settings;  // "NAME=value" sets a variable, a bare "NAME" removes it
    };

    // Starts the program, arguments[0], with the rest as its arguments.
    ChildProcess(std::vector<std::string> arguments, const Options& options) {
        // Everything is made before the fork: in the child of a process with
        // threads only plain system calls are safe.
        std::vector<std::string> environment = Environment(options.settings);
        std::vector<char*> argv, envp;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : environment) envp.push_back(e.data());
        envp.push_back(nullptr);
        const std::string out = output_ / "stdout.txt", err = output_ / "stderr.txt";
        const std::string folder = options.folder.string();
        pid_ = fork();
        if (pid_ != 0) return;
        if (chdir(folder.c_str()) != 0) _exit(120);
        const int in = open(options.input.c_str(), O_RDONLY);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || o < 0 || e < 0) _exit(121);
        dup2(in, 0);
        dup2(o, 1);
        dup2(e, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(122);
    }

    ~ChildProcess() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until ready() holds, for at most the time-out; tells whether it
    // held.
    template <typename Ready>
    static bool WaitUntil(Ready ready, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (!ready()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Whether the program has set a handler for the signal by now.
    bool Catches(int signal) const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigCgt:", 0) == 0) return std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1;
        return false;
    }

    // How many bytes the program has written to standard output so far.
    std::uintmax_t OutputSize() const {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(output_ / "stdout.txt", error);
        return error ? 0 : size;
    }

    void Signal(int signal) const { kill(pid_, signal); }

    pid_t Pid() const { return pid_; }

    // Waits for the program to end; one that has not ended after the
    // time-out is killed, and ends with that signal.
    ProgramResult Wait(std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        pid_t ended = 0;
        while (pid_ > 0 && (ended = waitpid(pid_, &status, WNOHANG)) == 0) {
            if (std::chrono::steady_clock::now() > until) {
                kill(pid_, SIGKILL);
                ended = waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ended_ = true;
        ProgramResult result;
        if (ended == pid_ && WIFEXITED(status)) result.status = WEXITSTATUS(status);
        if (ended == pid_ && WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        result.out = Text(output_ / "stdout.txt");
        result.err = Text(output_ / "stderr.txt");
        return result;
    }

private:
    // This process's environment with the settings applied.
    static std::vector<std::string> Environment(const std::vector<std::string>& settings) {
        std::vector<std::string> environment;
        for (char** variable = environ; *variable; ++variable) environment.push_back(*variable);
        for (const std::string& setting : settings) {
            const std::string name = setting.substr(0, setting.find('='));
            std::erase_if(environment, [&](const std::string& v) { return v.rfind(name + "=", 0) == 0; });
            if (setting.size() > name.size()) environment.push_back(setting);
        }
        return environment;
    }

    static std::string Text(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    TempFolder output_;
    pid_t pid_ = -1;
    bool ended_ = false;
};

// Runs the program to its end.
inline ProgramResult RunProgram(std::vector<std::string> arguments, const ChildProcess::Options& options) {
    return ChildProcess(std::move(arguments), options).Wait();
}
