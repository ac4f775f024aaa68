// Reading a file that the user gave, bounded: a huge file, a folder or a pipe
// of that name costs nothing and waits for nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The start of a file that the user gave, at most limit bytes of it; only a
// plain file is read. problem says why nothing was read, for a message:
// "there is no such file", "it is a folder", "it cannot be read: ...".
struct FileStart {
    enum class Outcome { Read, Missing, Failed };
    Outcome outcome = Outcome::Failed;
    std::vector<uint8_t> bytes;
    std::string problem;
};
FileStart ReadFileStart(const std::string& path, size_t limit);
