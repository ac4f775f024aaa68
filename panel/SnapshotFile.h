// Snapshot files: the whole machine saved to a file and loaded back, as the
// console's "snapshot" and "restore" and the window's Ctrl+S and Ctrl+L do.
#pragma once

#include <string>

#include "core/Def.h"

// The file the window saves to and loads from, in its run folder.
constexpr const char* SnapshotFileName = "snapshot.vxs";

// Writes the machine to path through ReplaceFile, so a failed save leaves
// the previous file whole. Returns "" or the message to show: "Failed to
// save the file ", the path, ": " and the reason.
std::string SaveSnapshot(const std::string& path, const Machine& machine);

// Loads the snapshot at path into machine. Returns "" or the message to
// show: "Failed to load the file ", the path, ": " and the reason; then
// machine is as it was.
std::string LoadSnapshot(const std::string& path, Machine& machine);
