#include "panel/MemoryFiles.h"

#include "core/Def.h"
#include "files/ReadFileStart.h"
#include "files/ReplaceFile.h"

#include <cstring>
#include <filesystem>

namespace {

// Copies the file's first bytes to target. Nothing is stored unless the
// whole read succeeded, so a file that fails half-way leaves memory as it was.
FileStart::Outcome ReadImage(const std::string& path, uint8_t* target, size_t size) {
    const FileStart file = ReadFileStart(path, size);
    if (file.outcome == FileStart::Outcome::Read) std::memcpy(target, file.bytes.data(), file.bytes.size());
    return file.outcome;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

RamImageState LoadMemoryImages(const std::string& romPath, const std::string& ramPath, const WarnFunction& warn) {
    if (ReadImage(romPath, Mk.Rom(), RomSize) != FileStart::Outcome::Read)
        warn(LoadFailedMessage + FileName(romPath));

    switch (ReadImage(ramPath, Mk.Ram(), RamSize)) {
    case FileStart::Outcome::Missing:
        return RamImageState::Missing;
    case FileStart::Outcome::Read:
        return RamImageState::Loaded;
    case FileStart::Outcome::Failed:
        break;
    }
    warn(LoadFailedMessage + FileName(ramPath));
    return RamImageState::Unreadable;
}

std::string SaveRam(const std::string& path) { return ReplaceFile(path, Mk.Ram(), RamSize); }

std::string SaveRom(const std::string& path) { return ReplaceFile(path, Mk.Rom(), RomSize); }
