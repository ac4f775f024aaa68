#include "files/ReplaceFile.h"

#include "files/FollowLinks.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

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

// Far more tries than a folder has temporary files of one name.
constexpr int MostNamesTried = 100;

// Creates ".NAME.XXXXXX" beside the target with six random letters, as
// mkstemp does, but only where no file of that name is (O_EXCL): the
// temporary file is never one the program reads, such as a source named
// "prog.bin.new". Unlike mkstemp it takes the mode a new file usually gets,
// so the umask decides a new file's permissions. Returns the open file, or
// -1 with errno set.
int CreateTemporary(const std::string& target, std::string& temporary) {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> letter(0, sizeof Letters - 2);
    const std::filesystem::path path(target);
    for (int tried = 0; tried < MostNamesTried; ++tried) {
        std::string name = "." + path.filename().string() + ".";
        for (int i = 0; i < 6; ++i) name += Letters[letter(random)];
        temporary = (path.parent_path() / name).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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
    std::string temporary;
    const int fd = CreateTemporary(target_, temporary);
    if (fd < 0) {
        if (old && (errno == EACCES || errno == EPERM)) inPlace_ = true;
        else problem_ = "cannot create a temporary file beside it: " + SystemReason();
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

std::string FileReplacement::CommitNew(bool& taken) {
    taken = false;
    if (!problem_.empty()) return problem_;
    // Only an existing file is ever written in place.
    if (inPlace_) {
        taken = true;
        return std::strerror(EEXIST);
    }
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
        taken = errno == EEXIST;
        return SystemReason();
    }
    temporary_.clear();
    SyncFolderOf(target_);
    return {};
}

std::string ReplaceFile(const std::string& path, const uint8_t* data, size_t size) {
    FileReplacement replacement(path, data, size);
    return replacement.Commit();
}

std::string CreateNewFile(const std::string& path, const uint8_t* data, size_t size, bool& taken) {
    // A name taken by a symbolic link, even one leading nowhere, is taken.
    struct stat status;
    taken = ::lstat(path.c_str(), &status) == 0;
    if (taken) return std::strerror(EEXIST);
    FileReplacement replacement(path, data, size);
    return replacement.CommitNew(taken);
}
