#include "files/ReadFileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
    struct stat status = {};
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
