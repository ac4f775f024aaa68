#include "panel/RunFolder.h"

#include "core/Crc32.h"
#include "debugger/Symbols.h"
#include "panel/MemoryFiles.h"
#include "panel/Settings.h"
#include "panel/Startup.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

const char* const ShippedFiles[ShippedFileCount] = {RomFileName, SymbolFileName, FaceFileName, KeysFileName,
                                                    SettingsFileName};

fs::path InstalledDataFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().parent_path() / "share" / "vexal";
}

fs::path UserFolder(const char* variable, const char* underHome) {
    // A relative path is ignored, as desktops ignore it.
    const char* named = std::getenv(variable);
    if (named && fs::path(named).is_absolute()) return fs::path(named) / "vexal";
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return fs::path(home) / underHome / "vexal";
}

fs::path UserRunFolder() { return UserFolder("XDG_DATA_HOME", ".local/share"); }

namespace {

// Larger files are no shipped file's.
constexpr std::uintmax_t LargestShippedFile = 16 << 20;

// The CRC-32 of the file's contents; nothing when it cannot be read or is too
// large to be one of ours.
std::optional<uint32_t> FileCrc(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > LargestShippedFile) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size))) return std::nullopt;
    return Crc32(bytes);
}

// The manifest: each line the CRC-32 of a file as it was copied in, in eight
// hexadecimal digits, and the file's name. Lines that do not read so are
// ignored: the files they would name count as the user's.
std::map<std::string, uint32_t> ReadManifest(const fs::path& file) {
    std::map<std::string, uint32_t> copied;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        uint32_t crc = 0;
        std::string name;
        if (fields >> std::hex >> crc >> name) copied[name] = crc;
    }
    return copied;
}

std::string WriteManifest(const fs::path& file, const std::map<std::string, uint32_t>& copied) {
    const fs::path written = file.string() + ".new";
    {
        std::ofstream out(written, std::ios::trunc);
        char crc[9];
        for (const auto& [name, value] : copied) {
            std::snprintf(crc, sizeof crc, "%08x", value);
            out << crc << ' ' << name << '\n';
        }
        if (!out.flush()) return "cannot write " + written.string();
    }
    std::error_code error;
    fs::rename(written, file, error);
    return error ? "cannot write " + file.string() + ": " + error.message() : std::string();
}

// The shipped file copied in over target, through a new file beside it, so
// that a copy that fails leaves the old one whole.
std::error_code CopyOver(const fs::path& from, const fs::path& target) {
    const fs::path written = target.string() + ".new";
    std::error_code error;
    fs::copy_file(from, written, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(written, target, error);
    if (error) fs::remove(written);
    return error;
}

}  // namespace

std::vector<std::string> PrepareRunFolder(const fs::path& from, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return {"cannot create the folder " + folder.string() + ": " + error.message()};
    const fs::path manifest = folder / ShippedManifestName;
    std::map<std::string, uint32_t> copied = ReadManifest(manifest);
    const std::map<std::string, uint32_t> before = copied;
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
        const std::optional<uint32_t> shipped = FileCrc(from / name);
        if (type == fs::file_type::not_found) {
            // Without overwrite, a file that appeared meanwhile is not replaced.
            fs::copy_file(from / name, target, fs::copy_options::none, error);
        } else {
            if (type != fs::file_type::regular || !shipped) continue;
            const std::optional<uint32_t> present = FileCrc(target);
            // A file the same as ours is ours, however it came there.
            if (present == shipped) {
                copied[name] = *shipped;
                continue;
            }
            // Replaced only as it was copied in, unchanged since.
            const auto entry = copied.find(name);
            if (entry == copied.end() || present != entry->second) continue;
            error = CopyOver(from / name, target);
        }
        if (error)
            problems.push_back("cannot copy " + (from / name).string() + " into " + folder.string() + ": " +
                               error.message());
        else if (shipped) copied[name] = *shipped;
    }
    if (copied != before)
        if (std::string problem = WriteManifest(manifest, copied); !problem.empty())
            problems.push_back(std::move(problem));
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
