// The memory images: "rom.bin" and "ram.bin" read into the machine at
// start-up, and the RAM written back at exit so that it survives the session.
#pragma once

#include <functional>
#include <string>

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

// Writes the 2048 bytes of Ram to path through ReplaceFile; returns why that
// failed, or empty.
std::string SaveRam(const std::string& path);

// Writes the 32768 bytes of Rom, as the debugger may have patched them, to
// path through ReplaceFile; returns why that failed, or empty. Callers keep
// it off the ROM image the session loaded (SameFile) unless the user agreed.
std::string SaveRom(const std::string& path);

