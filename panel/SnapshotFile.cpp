#include "panel/SnapshotFile.h"

#include "core/Snapshot.h"
#include "files/ReadFileStart.h"
#include "files/ReplaceFile.h"

std::string SaveSnapshot(const std::string& path, const Machine& machine) {
    const std::vector<uint8_t> bytes = EncodeSnapshot(machine);
    return ReplaceFile(path, bytes.data(), bytes.size());
}

std::string LoadSnapshot(const std::string& path, Machine& machine) {
    // One byte past the largest snapshot tells a file that is too long
    // without reading all of it.
    const FileStart file = ReadFileStart(path, MaxSnapshotBytes + 1);
    if (file.outcome != FileStart::Outcome::Read) return file.problem;
    if (file.bytes.size() > MaxSnapshotBytes) return "it is larger than any snapshot";
    return DecodeSnapshot(file.bytes, machine);
}
