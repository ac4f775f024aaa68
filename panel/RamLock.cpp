#include "panel/RamLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

namespace {

// A descriptor that is closed unless it is handed on.
struct Descriptor {
    int value;
    explicit Descriptor(int value) : value(value) {}
    ~Descriptor() {
        if (value >= 0) close(value);
    }
    int Release() { return std::exchange(value, -1); }
};

// The file to lock for the image: the lock file beside it, created where
// missing, else the image itself. -1 when neither opens.
int OpenLockFile(const fs::path& image) {
    const fs::path lockFile = image.string() + ".lock";
    // O_NOFOLLOW: a link planted in the name must not make us create a file
    // elsewhere.
    const int descriptor = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor >= 0) return descriptor;
    return open(image.c_str(), O_RDONLY | O_CLOEXEC);
}

// The process that holds a lock on the file open as descriptor, 0 when the
// kernel does not say.
long LockHolder(int descriptor) {
    struct stat file {};
    if (fstat(descriptor, &file) != 0) return 0;
    // Each line: "1: FLOCK  ADVISORY  WRITE PID MAJOR:MINOR:INODE START END",
    // the device numbers in hexadecimal.
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, device;
        long pid = 0;
        if (!(fields >> number >> kind >> mode >> access >> pid >> device) || kind != "FLOCK") continue;
        unsigned deviceMajor = 0, deviceMinor = 0;
        unsigned long long inode = 0;
        char colon1 = 0, colon2 = 0;
        std::istringstream place(device);
        if (!(place >> std::hex >> deviceMajor >> colon1 >> deviceMinor >> colon2 >> std::dec >> inode)) continue;
        if (deviceMajor == major(file.st_dev) && deviceMinor == minor(file.st_dev) && inode == file.st_ino &&
            pid > 0)
            return pid;
    }
    return 0;
}

}  // namespace

RamLock::~RamLock() {
    if (descriptor_ >= 0) close(descriptor_);
}

RamLock::RamLock(RamLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), image_(std::move(other.image_)) {}

std::string RamLock::Take(const fs::path& image) {
    Descriptor file(OpenLockFile(image));
    if (file.value < 0) return {};
    if (flock(file.value, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) return {};
        const fs::path folder = fs::absolute(image).lexically_normal().parent_path();
        const long holder = LockHolder(file.value);
        return folder.string() + " is in use by " +
               (holder > 0 ? "process " + std::to_string(holder) : std::string("another process"));
    }
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = file.Release();
    image_ = image;
    return {};
}
