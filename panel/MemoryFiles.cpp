#include "panel/MemoryFiles.h"

#include "core/Def.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// Copies the file's first bytes to target. Nothing is stored unless the
// whole read succeeded, so a file that fails half-way leaves memory as it was.
FileStart::Outcome ReadImage(const std::string& path, uint8_t* target, size_t size) {
    const FileStart file = ReadFileStart(path, size);
    if (file.outcome == FileStart::Outcome::Read) std::memcpy(target, file.bytes.data(), file.bytes.size());
    return file.outcome;
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

// Linux gives up on a path after as many links.
constexpr int MaxLinkHops = 40;

// The file a name finally stands for, following symbolic links as a plain
// write would, a dangling one included: the RAM belongs in the link's target,
// and the link must stay. False for a loop of links.
bool FollowLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) return true;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) return false;
        path = (std::filesystem::path(path).parent_path() / target).string();
    }
    return false;
}

// Permission bits are the user's word, root or not: a file or a folder with no
// write bit at all is kept as it is even where the system would allow writing.
bool AllowsWriting(const std::string& path, const struct stat& status) {
    return (status.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

bool FolderAllowsWriting(const std::string& path) {
    const std::string folder = FolderOf(path);
    struct stat status;
    return ::stat(folder.c_str(), &status) == 0 && AllowsWriting(folder, status);
}

// Makes the rename itself durable. Failing here does not undo the save.
void SyncFolderOf(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes the file itself, over its old contents, where a new file cannot take
// its place. An interruption can leave it half old and half new.
bool WriteInPlace(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    // Truncated only after the write, so that a failed write leaves no empty
    // file; a longer old file ends up exactly the size of the new contents.
    bool written = WriteAll(fd, data, size) && ::ftruncate(fd, off_t(size)) == 0 && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    return written;
}

enum class SaveResult { Saved, Failed, CannotReplace };

// The safe save: a temporary file beside the old one, flushed to the disk and
// renamed over it, so that the old image stays whole until the new one is
// complete. The new file takes the old one's permissions and owner; where it
// cannot be given them, or the folder refuses it, the old file must be written
// in place instead.
SaveResult ReplaceThroughTemporary(const std::string& path, const struct stat* old, const uint8_t* data,
                                   size_t size) {
    const std::string temporary = RamTemporaryPath(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EACCES || errno == EPERM ? SaveResult::CannotReplace : SaveResult::Failed;

    // The umask applies to the mode given to open, not to fchmod. Only root
    // can give a file away; anyone else cannot replace another's file.
    struct stat created;
    const bool sameOwner = !old || (::fstat(fd, &created) == 0 && created.st_uid == old->st_uid &&
                                    created.st_gid == old->st_gid);
    const bool ownerKept = sameOwner || ::fchown(fd, old->st_uid, old->st_gid) == 0;
    bool written = ownerKept && (!old || ::fchmod(fd, old->st_mode & 07777) == 0) && WriteAll(fd, data, size) &&
                   ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    SaveResult result = ownerKept ? SaveResult::Failed : SaveResult::CannotReplace;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) {
        SyncFolderOf(path);
        return SaveResult::Saved;
    }
    // A sticky folder lets only the owner replace a file.
    if (written && (errno == EACCES || errno == EPERM)) result = SaveResult::CannotReplace;
    ::unlink(temporary.c_str());
    return result;
}

}  // namespace

FileStart ReadFileStart(const std::string& path, size_t limit) {
    FileStart file;
    // Without O_NONBLOCK a pipe of that name would wait for a writer forever;
    // only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const bool missing = errno == ENOENT;
        file.outcome = missing ? FileStart::Outcome::Missing : FileStart::Outcome::Failed;
        file.problem = missing ? "there is no such file" : std::string("it cannot be read: ") + std::strerror(errno);
        return file;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        file.problem = S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a plain file";
        ::close(fd);
        return file;
    }

    // Never more than the file holds, so that a large limit costs nothing
    // for a small file; a file that grows meanwhile is read up to the limit.
    std::vector<uint8_t> buffer(std::min(limit, size_t(std::max<off_t>(status.st_size, 0)) + 1));
    size_t filled = 0;
    int error = 0;
    while (filled < limit) {
        if (filled == buffer.size()) buffer.resize(std::min(limit, 2 * buffer.size()));
        const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        filled += size_t(n);
    }
    ::close(fd);
    if (error != 0) {
        file.problem = std::string("it cannot be read: ") + std::strerror(error);
        return file;
    }
    buffer.resize(filled);
    file.bytes = std::move(buffer);
    file.outcome = FileStart::Outcome::Read;
    return file;
}

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

std::string RamTemporaryPath(const std::string& path) { return path + ".new"; }

bool SaveRam(const std::string& path) { return ReplaceFile(path, Mk.Ram(), RamSize); }

bool ReplaceFile(const std::string& path, const uint8_t* data, size_t size) {
    std::string target = path;
    if (!FollowLinks(target)) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    // A write-protected file is left as it is, and so is anything that is not
    // a plain file.
    if (exists && (!S_ISREG(old.st_mode) || !AllowsWriting(target, old))) return false;

    // A new file would part a hard link from the file's other names, and a
    // folder closed to writing takes no new file.
    const bool inPlace = (exists && old.st_nlink > 1) || !FolderAllowsWriting(target);
    if (inPlace) return exists && WriteInPlace(target, data, size);
    switch (ReplaceThroughTemporary(target, exists ? &old : nullptr, data, size)) {
    case SaveResult::Saved:
        return true;
    case SaveResult::CannotReplace:
        return exists && WriteInPlace(target, data, size);
    case SaveResult::Failed:
        break;
    }
    return false;
}
