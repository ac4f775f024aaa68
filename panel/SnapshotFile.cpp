#include "panel/SnapshotFile.h"

#include "core/Snapshot.h"
#include "panel/MemoryFiles.h"

std::string SaveSnapshot(const std::string& path, const Machine& machine) {
    const std::vector<uint8_t> bytes = EncodeSnapshot(machine);
    const std::string problem = ReplaceFile(path, bytes.data(), bytes.size());
    return problem.empty() ? "" : SaveFailedMessage + path + ": " + problem;
}

std::string LoadSnapshot(const std::string& path, Machine& machine) {
    // One byte past the largest snapshot tells a file that is too long
    // without reading all of it.
    const FileStart file = ReadFileStart(path, MaxSnapshotBytes + 1);
    std::string problem = file.problem;
    if (file.outcome == FileStart::Outcome::Read)
        problem = file.bytes.size() > MaxSnapshotBytes ? "it is larger than any snapshot"
                                                        : DecodeSnapshot(file.bytes, machine);
    return problem.empty() ? "" : LoadFailedMessage + path + ": " + problem;
}
