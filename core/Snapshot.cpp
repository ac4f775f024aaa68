#include "core/Snapshot.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "core/Crc32.h"
#include "core/Keyboard.h"

namespace {

constexpr std::array<uint8_t, 8> Magic = {'V', 'E', 'X', 'A', 'L', 'S', 'N', 'P'};
constexpr size_t VersionAt = Magic.size();
constexpr size_t HeaderBytes = VersionAt + 4;
constexpr size_t ChecksumBytes = 4;

// How many members of Machine::Members the files of each version hold,
// indexed by version: those of a later version come after these.
constexpr size_t MembersOfVersion[SnapshotVersion + 1] = {0, 21};

template <class T>
constexpr bool IsArray = false;
template <class T, size_t N>
constexpr bool IsArray<std::array<T, N>> = true;

// The bytes a member takes in the file.
template <class T>
constexpr size_t FileSize() {
    if constexpr (IsArray<T>) return std::tuple_size_v<T> * FileSize<typename T::value_type>();
    else if constexpr (std::is_same_v<T, StatusWord>) return 2;
    else return sizeof(T);
}

void PutNumber(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

uint32_t NumberAt(std::span<const uint8_t> bytes, size_t at, size_t size) {
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

// Memory and display memory go as they are, byte for byte, at once.
template <class T>
constexpr bool IsByteArray = false;
template <size_t N>
constexpr bool IsByteArray<std::array<uint8_t, N>> = true;

template <class T>
void Put(std::vector<uint8_t>& out, const T& member) {
    if constexpr (IsByteArray<T>)
        out.insert(out.end(), member.begin(), member.end());
    else if constexpr (IsArray<T>)
        for (const auto& element : member) Put(out, element);
    else if constexpr (std::is_same_v<T, StatusWord>) PutNumber(out, uint16_t(member), 2);
    else PutNumber(out, uint32_t(member), sizeof(T));  // two's complement for a signed member
}

// Reads the members back in the order they were put; remembers the first
// member that holds a value its type cannot (a flag other than 0 or 1).
class MemberReader {
public:
    explicit MemberReader(std::span<const uint8_t> bytes) : bytes_(bytes), at_(HeaderBytes) {}

    template <class T>
    void Get(const char* name, T& member) {
        if constexpr (IsByteArray<T>) {
            std::copy_n(bytes_.begin() + long(at_), member.size(), member.begin());
            at_ += member.size();
        } else if constexpr (IsArray<T>) {
            for (auto& element : member) Get(name, element);
        } else if constexpr (std::is_same_v<T, StatusWord>) {
            member = uint16_t(Take(2));
        } else if constexpr (std::is_same_v<T, bool>) {
            const uint32_t flag = Take(1);
            if (flag > 1 && !badMember_) badMember_ = name;
            member = flag != 0;
        } else {
            member = T(Take(sizeof(T)));
        }
    }

    const char* BadMember() const { return badMember_; }

private:
    uint32_t Take(size_t size) {
        const uint32_t value = NumberAt(bytes_, at_, size);
        at_ += size;
        return value;
    }

    std::span<const uint8_t> bytes_;
    size_t at_;
    const char* badMember_ = nullptr;
};

// The whole file of a version: header, members and checksum.
size_t FileBytes(uint32_t version) {
    size_t body = 0;
    size_t listed = 0;
    Machine none{};
    Machine::Members(
        [&](const char*, const auto& member) {
            if (listed++ < MembersOfVersion[version]) body += FileSize<std::decay_t<decltype(member)>>();
        },
        none);
    return HeaderBytes + body + ChecksumBytes;
}

bool ChecksumHolds(std::span<const uint8_t> bytes) {
    const size_t end = bytes.size() - ChecksumBytes;
    return Crc32(bytes.first(end)) == NumberAt(bytes, end, ChecksumBytes);
}

bool IsKeyIndex(int32_t key) { return key >= 0 && key < KeyCount; }

}  // namespace

std::vector<uint8_t> EncodeSnapshot(const Machine& machine) {
    std::vector<uint8_t> bytes(Magic.begin(), Magic.end());
    bytes.reserve(FileBytes(SnapshotVersion));
    PutNumber(bytes, SnapshotVersion, 4);
    Machine::Members([&bytes](const char*, const auto& member) { Put(bytes, member); }, machine);
    PutNumber(bytes, Crc32(bytes), ChecksumBytes);
    return bytes;
}

std::string DecodeSnapshot(std::span<const uint8_t> bytes, Machine& machine) {
    if (bytes.empty()) return "the file is empty";
    if (bytes.size() < HeaderBytes || !std::equal(Magic.begin(), Magic.end(), bytes.begin()))
        return "it is not a Vexal snapshot";
    const std::string damaged = "it is damaged: its checksum does not match its contents";
    const uint32_t version = NumberAt(bytes, VersionAt, 4);
    if (version == 0 || version > SnapshotVersion) {
        // A damaged version word must not pass for a later version.
        if (version == 0 || bytes.size() < HeaderBytes + ChecksumBytes || !ChecksumHolds(bytes)) return damaged;
        return "it was made by a newer version of Vexal (snapshot format " + std::to_string(version) +
               "; this version reads formats up to " + std::to_string(SnapshotVersion) + ")";
    }
    const size_t expected = FileBytes(version);
    if (bytes.size() != expected)
        return "it is " + std::string(bytes.size() < expected ? "shorter" : "longer") + " than a snapshot (" +
               std::to_string(bytes.size()) + " bytes, not " + std::to_string(expected) + ")";
    if (!ChecksumHolds(bytes)) return damaged;

    Machine decoded{};
    MemberReader reader(bytes);
    size_t listed = 0;
    Machine::Members(
        [&](const char* name, auto& member) {
            if (listed++ < MembersOfVersion[version]) reader.Get(name, member);
        },
        decoded);
    if (const char* bad = reader.BadMember()) return std::string("it is damaged: ") + bad + " is neither 0 nor 1";
    for (const auto& [name, key] : {std::pair{"MouseKey", decoded.MouseKey}, std::pair{"PcKey", decoded.PcKey}})
        if (!IsKeyIndex(key)) return std::string("it is damaged: ") + name + " holds no key index";
    machine = decoded;
    return "";
}
