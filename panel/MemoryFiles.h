// The memory images: "rom.bin" and "ram.bin" read into the machine at
// start-up, and the RAM written back at exit so that it survives the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct stat;

constexpr const char* RomFileName = "rom.bin";
constexpr const char* RamFileName = "ram.bin";
constexpr const char* LoadFailedMessage = "Failed to load the file ";
constexpr const char* SaveFailedMessage = "Failed to save the file ";

using WarnFunction = std::function<void(const std::string& message)>;

// What became of the RAM image at start-up. An image that exists but could
// not be read is the user's data that this session never saw: it must not be
// overwritten at exit.
enum class RamImageState { Missing, Loaded, Unreadable };

// Reads up to 32768 bytes of the ROM image into Rom and up to 2048 bytes of
// the RAM image into Ram; a shorter file fills only the beginning. A missing
// ROM image, or either image present but unreadable, is reported through warn
// as "Failed to load the file " and the file's name; a missing RAM image is
// not. A failure on one image does not keep the other from loading, and a
// failed read leaves memory as it was.
RamImageState LoadMemoryImages(const std::string& romPath, const std::string& ramPath, const WarnFunction& warn);

// Writes the bytes to path, a file of exactly that size afterwards, or says
// why it could not ("No space left on device", "it is write-protected"):
// empty when the bytes are in the file. Ordinarily a failure at any moment
// leaves the previous file whole: the bytes go to a temporary file in the
// same folder, which is flushed to the disk and renamed over the old one,
// with its permissions and owner. A symbolic link is followed and kept, and
// its target written. The file is written in place where a new file cannot
// take its place: the folder has no write permission, the file has other hard
// links, or its owner cannot be kept. A write-protected file (no write bit in
// its mode, even for root), or anything but a plain file, is left as it is.
std::string ReplaceFile(const std::string& path, const uint8_t* data, size_t size);

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

private:
    void WriteTemporary(const struct stat* old);

    std::string target_;     // the file itself, past any symbolic links
    std::string temporary_;  // written and not yet renamed; empty for none
    const uint8_t* data_;
    size_t size_;
    bool inPlace_ = false;
    std::string problem_;
};

// Writes the 2048 bytes of Ram to path through ReplaceFile; returns why that
// failed, or empty.
std::string SaveRam(const std::string& path);

// The temporary file ReplaceFile, and so SaveRam, writes beside path before
// renaming it to path.
std::string RamTemporaryPath(const std::string& path);

// Writes the 32768 bytes of Rom, as the debugger may have patched them, to
// path through ReplaceFile; returns why that failed, or empty. Callers keep
// it off the ROM image the session loaded (SameFile) unless the user agreed.
std::string SaveRom(const std::string& path);

// Whether the two names stand for one file: the same file where both exist,
// whatever links lead to it, else the same path once resolved.
bool SameFile(const std::string& a, const std::string& b);
