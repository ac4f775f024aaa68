#include "files/SameFile.h"

#include "files/FollowLinks.h"

#include <sys/stat.h>

#include <filesystem>

bool SameFile(const std::string& a, const std::string& b) {
    struct stat one, other;
    if (::stat(a.c_str(), &one) == 0 && ::stat(b.c_str(), &other) == 0)
        return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    // Made absolute first: a relative name of a file not yet there stays
    // relative through weakly_canonical, and would not meet its full name.
    // A dangling link stands for the file a write would create.
    std::error_code error;
    const auto full = [&error](std::string path) {
        if (!FollowLinks(path)) {
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return std::filesystem::path();
        }
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    };
    const std::filesystem::path first = full(a);
    if (error) return false;
    const std::filesystem::path second = full(b);
    return !error && first == second;
}
