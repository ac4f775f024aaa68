#include "panel/MemoryFiles.h"

#include "core/Def.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

enum class ReadResult { Missing, Loaded, Failed };

// Reads up to size bytes of the file into target. Nothing is stored unless the
// whole read succeeded, so a file that fails half-way leaves memory as it was.
ReadResult ReadImage(const std::string& path, uint8_t* target, size_t size) {
    // Without O_NONBLOCK a pipe of that name would wait for a writer forever;
    // only a regular file is an image.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return ReadResult::Failed;
    }

    std::vector<uint8_t> buffer(size);
    size_t filled = 0;
    bool failed = false;
    while (filled < size) {
        const ssize_t n = ::read(fd, buffer.data() + filled, size - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        filled += size_t(n);
    }
    ::close(fd);
    if (failed) return ReadResult::Failed;
    std::memcpy(target, buffer.data(), filled);
    return ReadResult::Loaded;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// The new file keeps the permissions of the one it replaces.
mode_t ModeFor(const std::string& path) {
    struct stat old;
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
    return 0644;
}

// Makes the rename itself durable. Failing here does not undo the save.
void SyncFolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

RamImageState LoadMemoryImages(const std::string& romPath, const std::string& ramPath, const WarnFunction& warn) {
    if (ReadImage(romPath, Rom, RomSize) != ReadResult::Loaded) warn(LoadFailedMessage + FileName(romPath));

    switch (ReadImage(ramPath, Ram, RamSize)) {
    case ReadResult::Missing:
        return RamImageState::Missing;
    case ReadResult::Loaded:
        return RamImageState::Loaded;
    case ReadResult::Failed:
        break;
    }
    warn(LoadFailedMessage + FileName(ramPath));
    return RamImageState::Unreadable;
}

std::string RamTemporaryPath(const std::string& path) { return path + ".new"; }

bool SaveRam(const std::string& path) { return ReplaceFile(path, Ram, RamSize); }

bool ReplaceFile(const std::string& path, const uint8_t* data, size_t size) {
    const std::string temporary = RamTemporaryPath(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, ModeFor(path));
    if (fd < 0) return false;
    bool written = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) {
        SyncFolderOf(path);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}
