// The folder a session runs in, and how a fresh one is prepared: the
// firmware, pictures and settings that come with Vexal are copied in where
// the folder has none, so that a file of the user's is never replaced.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The files a run folder is prepared with: "rom.bin" with its labels
// "rom.sym", "face.bmp", "keys.bmp" and "vexal.ini". The RAM image is the
// user's alone.
constexpr int ShippedFileCount = 5;
extern const char* const ShippedFiles[ShippedFileCount];

// The file in a run folder that records, for each shipped file copied in,
// its CRC-32 as copied: a file that still has it is one the user has not
// changed.
constexpr const char* ShippedManifestName = ".shipped.crc";

// Where the running program finds the files it comes with: share/vexal beside
// the bin/ folder that holds it, in the build as once installed.
std::filesystem::path InstalledDataFolder();

// "vexal" in the user's folder that the environment variable names (one of
// the desktop's XDG_..._HOME), or in underHome within HOME where it is unset
// or not absolute. Empty when HOME is not set either.
std::filesystem::path UserFolder(const char* variable, const char* underHome);

// The user's own run folder: "vexal" in $XDG_DATA_HOME, or in ~/.local/share.
std::filesystem::path UserRunFolder();

// Creates the folder if need be and copies into it, from the folder `from`,
// each shipped file that it lacks. A shipped file copied in before and not
// changed since is replaced where `from` holds another version; any other
// name that the folder holds in any form, even a symbolic link to nothing,
// is left alone. Returns what went wrong, one message a problem.
std::vector<std::string> PrepareRunFolder(const std::filesystem::path& from, const std::filesystem::path& folder);

// Why a session cannot run in the folder (it does not exist, is not a folder
// or cannot be entered), or empty when it can. With mayBeCreated a folder
// that does not exist yet is no problem: preparing it creates it.
std::string RunFolderProblem(const std::filesystem::path& folder, bool mayBeCreated = false);

// The full paths of the files a window needs that the folder lacks: the
// firmware and the two pictures. Each one missing means a warning at start.
std::vector<std::filesystem::path> MissingRunFiles(const std::filesystem::path& folder);
