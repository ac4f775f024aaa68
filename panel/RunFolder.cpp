#include "panel/RunFolder.h"

#include "debugger/Symbols.h"
#include "panel/MemoryFiles.h"
#include "panel/Settings.h"
#include "panel/Startup.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace fs = std::filesystem;

const char* const ShippedFiles[ShippedFileCount] = {RomFileName, SymbolFileName, FaceFileName, KeysFileName,
                                                    SettingsFileName};

fs::path InstalledDataFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().parent_path() / "share" / "vexal";
}

fs::path UserRunFolder() {
    // A relative XDG_DATA_HOME is ignored, as desktops ignore it.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && fs::path(dataHome).is_absolute()) return fs::path(dataHome) / "vexal";
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return fs::path(home) / ".local" / "share" / "vexal";
}

std::vector<std::string> PrepareRunFolder(const fs::path& from, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return {"cannot create the folder " + folder.string() + ": " + error.message()};
    std::vector<std::string> problems;
    for (const char* name : ShippedFiles) {
        const fs::path target = folder / name;
        // Not exists(): that follows a link, and a link to nothing is the
        // user's too.
        const fs::file_type type = fs::symlink_status(target, error).type();
        if (type == fs::file_type::none) {
            problems.push_back("cannot look for " + target.string() + ": " + error.message());
            continue;
        }
        if (type != fs::file_type::not_found) continue;
        // Without overwrite, a file that appeared meanwhile is not replaced.
        fs::copy_file(from / name, target, fs::copy_options::none, error);
        if (error)
            problems.push_back("cannot copy " + (from / name).string() + " into " + folder.string() + ": " +
                               error.message());
    }
    return problems;
}

std::string RunFolderProblem(const fs::path& folder, bool mayBeCreated) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (status.type() == fs::file_type::not_found)
        return mayBeCreated ? std::string() : "the folder " + folder.string() + " does not exist";
    if (error) return "cannot reach the folder " + folder.string() + ": " + error.message();
    if (!fs::is_directory(status)) return folder.string() + " is not a folder";
    if (access(folder.c_str(), X_OK) != 0)
        return "cannot enter the folder " + folder.string() + ": " + std::strerror(errno);
    return {};
}

std::vector<fs::path> MissingRunFiles(const fs::path& folder) {
    std::vector<fs::path> missing;
    for (const char* name : {RomFileName, FaceFileName, KeysFileName}) {
        std::error_code error;
        const fs::path file = fs::absolute(folder / name, error).lexically_normal();
        if (fs::status(file, error).type() == fs::file_type::not_found) missing.push_back(file);
    }
    return missing;
}
