#include "files/FollowLinks.h"

#include <filesystem>

namespace {

// Linux gives up on a path after as many links.
constexpr int MaxLinkHops = 40;

}  // namespace

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
