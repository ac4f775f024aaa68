// The memory images: "rom.bin" and "ram.bin" read into the machine at
// start-up, and the RAM written back at exit so that it survives the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// Writes the bytes to path, a file of exactly that size afterwards.
// Ordinarily a failure at any moment leaves the previous file whole: the bytes
// go to a temporary file in the same folder, which is flushed to the disk and
// renamed over the old one, with its permissions and owner. A symbolic link is
// followed and kept, and its target written. The file is written in place
// where a new file cannot take its place: the folder has no write permission,
// the file has other hard links, or its owner cannot be kept. A
// write-protected file (no write bit in its mode, even for root), or anything
// but a plain file, is left as it is. Returns whether the bytes are in the
// file.
bool ReplaceFile(const std::string& path, const uint8_t* data, size_t size);

// Writes the 2048 bytes of Ram to path through ReplaceFile.
bool SaveRam(const std::string& path);

// The temporary file ReplaceFile, and so SaveRam, writes beside path before
// renaming it to path.
std::string RamTemporaryPath(const std::string& path);
