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

// What a failed call left in errno, as a reason a user can read.
std::string SystemReason() { return std::strerror(errno); }

// Writes everything or says why not. A write that stops short (the disk
// filling up) is tried again for the rest, and that one tells why.
std::string WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemReason();
        if (n == 0) return std::strerror(ENOSPC);
        data += n;
        size -= size_t(n);
    }
    return {};
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

// Why the path's folder takes no new file, or empty when it does.
std::string FolderRefusal(const std::string& path) {
    const std::string folder = FolderOf(path);
    struct stat status;
    if (::stat(folder.c_str(), &status) != 0) return "cannot reach its folder: " + SystemReason();
    if (!AllowsWriting(folder, status)) return "its folder is closed to writing";
    return {};
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
std::string WriteInPlace(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return SystemReason();
    // Truncated only after the write, so that a failed write leaves no empty
    // file; a longer old file ends up exactly the size of the new contents.
    std::string problem = WriteAll(fd, data, size);
    if (problem.empty() && (::ftruncate(fd, off_t(size)) != 0 || ::fsync(fd) != 0)) problem = SystemReason();
    if (::close(fd) != 0 && problem.empty()) problem = SystemReason();
    return problem;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path, const uint8_t* data, size_t size)
    : target_(path), data_(data), size_(size) {
    if (!FollowLinks(target_)) {
        problem_ = std::strerror(ELOOP);
        return;
    }
    struct stat old;
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        problem_ = SystemReason();
        return;
    }
    // A write-protected file is left as it is, and so is anything that is not
    // a plain file.
    if (exists && S_ISDIR(old.st_mode)) problem_ = "it is a folder";
    else if (exists && !S_ISREG(old.st_mode)) problem_ = "it is not a plain file";
    else if (exists && !AllowsWriting(target_, old)) problem_ = "it is write-protected";
    if (!problem_.empty()) return;

    // A new file would part a hard link from the file's other names, and a
    // folder closed to writing takes no new file.
    const std::string folderRefusal = FolderRefusal(target_);
    inPlace_ = (exists && old.st_nlink > 1) || !folderRefusal.empty();
    if (inPlace_ && !exists) problem_ = folderRefusal;
    else if (!inPlace_) WriteTemporary(exists ? &old : nullptr);
}

FileReplacement::~FileReplacement() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

// The safe way: a temporary file beside the old one, flushed to the disk, to
// be renamed over it. The new file takes the old one's permissions and owner;
// where it cannot be given them, or the folder refuses it, the old file must
// be written in place instead.
void FileReplacement::WriteTemporary(const struct stat* old) {
    const std::string temporary = RamTemporaryPath(target_);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (old && (errno == EACCES || errno == EPERM)) inPlace_ = true;
        else problem_ = "cannot create " + FileName(temporary) + " beside it: " + SystemReason();
        return;
    }
    temporary_ = temporary;

    // The umask applies to the mode given to open, not to fchmod. Only root
    // can give a file away; anyone else cannot replace another's file.
    struct stat created;
    const bool sameOwner = !old || (::fstat(fd, &created) == 0 && created.st_uid == old->st_uid &&
                                    created.st_gid == old->st_gid);
    if (!sameOwner && ::fchown(fd, old->st_uid, old->st_gid) != 0) {
        ::close(fd);
        inPlace_ = true;
        return;
    }
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) problem_ = SystemReason();
    if (problem_.empty()) problem_ = WriteAll(fd, data_, size_);
    if (problem_.empty() && ::fsync(fd) != 0) problem_ = SystemReason();
    if (::close(fd) != 0 && problem_.empty()) problem_ = SystemReason();
}

std::string FileReplacement::Commit() {
    if (!problem_.empty()) return problem_;
    if (inPlace_) return WriteInPlace(target_, data_, size_);
    if (::rename(temporary_.c_str(), target_.c_str()) == 0) {
        temporary_.clear();
        SyncFolderOf(target_);
        return {};
    }
    // A sticky folder lets only the owner replace a file.
    const int error = errno;
    if (error == EACCES || error == EPERM) {
        struct stat old;
        if (::stat(target_.c_str(), &old) == 0) return WriteInPlace(target_, data_, size_);
    }
    return std::strerror(error);
}

FileStart ReadFileStart(const std::string& path, size_t limit) {
    FileStart file;
    // Without O_NONBLOCK a pipe of that name would wait for a writer forever;
    // only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const bool missing = errno == ENOENT;
        file.outcome = missing ? FileStart::Outcome::Missing : FileStart::Outcome::Failed;
        file.problem = missing ? "there is no such file" : "it cannot be read: " + SystemReason();
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

std::string ReplaceFile(const std::string& path, const uint8_t* data, size_t size) {
    FileReplacement replacement(path, data, size);
    return replacement.Commit();
}

std::string SaveRam(const std::string& path) { return ReplaceFile(path, Mk.Ram(), RamSize); }

std::string SaveRom(const std::string& path) { return ReplaceFile(path, Mk.Rom(), RomSize); }

bool SameFile(const std::string& a, const std::string& b) {
    struct stat one, other;
    if (::stat(a.c_str(), &one) == 0 && ::stat(b.c_str(), &other) == 0)
        return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    // Made absolute first: a relative name of a file not yet there stays
    // relative through weakly_canonical, and would not meet its full name.
    std::error_code error;
    const auto full = [&error](const std::string& path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    };
    const std::filesystem::path first = full(a);
    if (error) return false;
    const std::filesystem::path second = full(b);
    return !error && first == second;
}
