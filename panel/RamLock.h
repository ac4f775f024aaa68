// One owner per RAM image: a program that may write an image holds an
// advisory lock on "NAME.lock" beside it (on the image itself where its
// folder cannot take a new file) for as long as it runs. The kernel lets go
// of the lock when the process ends, however it ends, so a crash leaves no
// stale lock behind.
#pragma once

#include <filesystem>
#include <string>

class RamLock {
public:
    RamLock() = default;
    ~RamLock();
    RamLock(RamLock&& other) noexcept;
    RamLock& operator=(RamLock&&) = delete;
    RamLock(const RamLock&) = delete;
    RamLock& operator=(const RamLock&) = delete;

    // Locks the image at path, which need not exist yet. Empty when this
    // process holds it now, or where no lock can be made at all (a folder
    // that takes no new file and no image in it: nothing can be written there
    // either); otherwise "FOLDER is in use by process N".
    std::string Take(const std::filesystem::path& image);

    bool Held() const { return descriptor_ >= 0; }
    // The image this lock was taken for, as Take was given it.
    const std::filesystem::path& Image() const { return image_; }

private:
    int descriptor_ = -1;
    std::filesystem::path image_;
};
