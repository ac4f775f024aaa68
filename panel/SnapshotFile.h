// Snapshot files: the whole machine saved to a file and loaded back, as the
// console's "snapshot" and "restore" and the window's Ctrl+S and Ctrl+L do.
#pragma once

#include <string>

#include "core/Def.h"

// The file the window saves to and loads from, in its run folder.
constexpr const char* SnapshotFileName = "snapshot.vxs";

// Writes the machine to path through ReplaceFile, so a failed save leaves
// the previous file whole. Returns "" or why the file could not be written,
// to follow "Failed to save the file " and the file's name.
std::string SaveSnapshot(const std::string& path, const Machine& machine);

// Loads the snapshot at path into machine. Returns "" or why the file does
// not load ("there is no such file", "it is not a Vexal snapshot", ...), to
// follow "Failed to load the file " and the file's name; then machine is as
// it was.
std::string LoadSnapshot(const std::string& path, Machine& machine);
