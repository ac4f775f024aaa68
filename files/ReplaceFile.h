// Writing a file so that a failure at any moment leaves the previous one
// whole. Every file the programs write goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct stat;

// Writes the bytes to path, a file of exactly that size afterwards, or says
// why it could not ("No space left on device", "it is write-protected"):
// empty when the bytes are in the file. Ordinarily a failure at any moment
// leaves the previous file whole: the bytes go to a temporary file in the
// same folder, which is flushed to the disk and renamed over the old one,
// with its permissions and owner. The temporary file has a name no file had,
// ".NAME.XXXXXX", created exclusively, so that it never stands for another
// file the program reads or writes. A symbolic link is followed and kept,
// and its target written. The file is written in place where a new file
// cannot take its place: the folder has no write permission, the file has
// other hard links, or its owner cannot be kept. A write-protected file (no
// write bit in its mode, even for root), or anything but a plain file, is
// left as it is.
std::string ReplaceFile(const std::string& path, const uint8_t* data, size_t size);

// Writes the bytes to a new file of that name, never over a file that has
// it: they go to a temporary file as with ReplaceFile, which then takes the
// name only where no file has it (an atomic rename that replaces nothing), so
// the file appears whole or not at all. Returns why it was not written, or
// empty; taken tells that a file already had the name.
std::string CreateNewFile(const std::string& path, const uint8_t* data, size_t size, bool& taken);

// ReplaceFile in two steps, so that several files are written together or
// not at all: the constructor makes every check and writes the temporary
// file, and only Commit puts the bytes in place (where the file must be
// written in place, Commit writes it). A replacement never committed leaves
// nothing behind. The bytes must stay alive until Commit.
class FileReplacement {
public:
    FileReplacement(const std::string& path, const uint8_t* data, size_t size);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Why the bytes cannot be written, found before anything was replaced;
    // empty while they can.
    const std::string& Problem() const { return problem_; }
    // Puts the bytes in place; returns why that failed, or empty.
    std::string Commit();
    // Puts the bytes in place only where no file has the name yet; taken
    // tells that one had it.
    std::string CommitNew(bool& taken);

private:
    void WriteTemporary(const struct stat* old);

    std::string target_;     // the file itself, past any symbolic links
    std::string temporary_;  // written and not yet renamed; empty for none
    const uint8_t* data_;
    size_t size_;
    bool inPlace_ = false;
    std::string problem_;
};
