// The complete state of the emulated MK-85, as one value, and the address
// decoding of its 16-bit bus. The process runs one machine, Mk, that every
// part of the emulator reads and writes; a copy of it is a whole machine that
// can be kept, compared with == and put back.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "a register is handed out as a location by its first byte, which must be its low byte");

// Memory: the 32 KiB firmware ROM followed directly by the 2 KiB RAM,
// indexed by machine address.
constexpr uint32_t RomSize = 0x8000;
constexpr uint32_t RamSize = 0x0800;
constexpr uint32_t MemorySize = RomSize + RamSize;
constexpr uint16_t RamStart = 0x8000;
constexpr uint16_t LastRamAddress = 0x87FF;
constexpr uint32_t LcdRamSize = 128;

// Registers R0..R7; R6 is the stack pointer, R7 the program counter.
constexpr int SP = 6;
constexpr int PC = 7;

// Processor status word bits.
constexpr uint16_t FlagC = 0x0001;
constexpr uint16_t FlagV = 0x0002;
constexpr uint16_t FlagZ = 0x0004;
constexpr uint16_t FlagN = 0x0008;
constexpr uint16_t FlagT = 0x0010;
constexpr uint16_t HaltModeBit = 0x0100;

// The processor status word, read and written as the 16-bit word it is. The
// condition codes are kept apart from the other bits, N, Z and V in one byte
// and C in another, so that an instruction that sets codes writes them
// without reading the word first (store-to-load forwarding: BuiltHandler,
// cpu/Binding.h).
class StatusWord {
public:
    constexpr operator uint16_t() const { return uint16_t((others_ & ~Codes) | (nzv_ & NZV) | c_); }
    // Two status words are equal when they read as the same word, however
    // their parts are kept.
    constexpr bool operator==(const StatusWord& other) const { return uint16_t(*this) == uint16_t(other); }
    constexpr StatusWord& operator=(uint16_t word) {
        others_ = word & ~Codes;
        nzv_ = uint8_t(word & NZV);
        c_ = word & FlagC;
        return *this;
    }
    // Codes that mask clears all together are written, not read.
    constexpr StatusWord& operator&=(uint16_t mask) {
        if ((mask & NZV) == 0)
            nzv_ = 0;
        else if ((mask & NZV) != NZV)
            nzv_ &= uint8_t(mask);
        if (!(mask & FlagC)) c_ = false;
        if ((mask | Codes) != 0xFFFF) others_ &= mask;
        return *this;
    }
    constexpr StatusWord& operator|=(uint16_t bits) {
        nzv_ = uint8_t((nzv_ & NZV) | (bits & NZV));
        c_ = c_ | ((bits & FlagC) != 0);
        others_ |= bits & ~Codes;
        return *this;
    }

private:
    static constexpr uint16_t NZV = FlagN | FlagZ | FlagV;
    static constexpr uint16_t Codes = NZV | FlagC;

    uint16_t others_ = 0;
    uint8_t nzv_ = 0;  // N, Z and V where the word has them
    bool c_ = false;
};

// Ports.
constexpr uint16_t KeyInAddress = 0x0100;
constexpr uint16_t KeyOutAddress = 0x0102;
constexpr uint16_t CtrlPortAddress = 0x0104;
constexpr uint16_t CtrlRunBit = 0x0400;
constexpr uint16_t CtrlSpeedBit = 0x0800;

// The machine. The small members a step uses all the time come first, where
// they share a few cache lines, and the memory after them.
struct Machine {
    std::array<uint16_t, 8> Reg{};  // R0..R7
    StatusWord Psw;

    // Halt-mode save registers: the PC and PSW of the interrupted program.
    uint16_t Cpc = 0;
    uint16_t Cps = 0;

    uint16_t Opcode = 0;    // the instruction word being executed
    uint16_t Addr = 0;      // effective address of the current access
    uint16_t AddrMask = 0;  // 0xFFFE for word operands, 0xFFFF for byte operands

    // Ports.
    uint16_t KeyIn = 0;     // keyboard return lines, rescanned at every read of 0x0100
    uint16_t KeyOut = 0;    // keyboard column selection
    uint16_t CtrlPort = 0;  // run and speed bits

    uint16_t RamEnd = 0;  // last RAM address; while 0 no address is RAM

    // Processor flags.
    bool Waiting = false;
    bool HaltRequest = false;
    bool StepFlag = false;
    bool TraceInhibit = false;

    // Key indices 0..56 of the key held on the face (mouse) and on the PC
    // keyboard; 0 when none.
    int32_t MouseKey = 0;
    int32_t PcKey = 0;

    // Every unmapped read is served by ZeroCell, every write without a target
    // goes to SinkCell.
    uint16_t ZeroCell = 0;
    uint16_t SinkCell = 0;

    // A word access at the last byte of Memory (0x87FF) or of LcdRam (0x00FF)
    // takes its high byte from one spare byte kept past the end of each
    // array, so such an access never reaches anything else. The spare bytes
    // belong to no machine address, but they are part of the machine's
    // value: a word read at 0x87FF gives back the high byte that a word write
    // there left, so two machines that differ only there can go on
    // differently, and a copy that is to run on alike must keep them.
    std::array<uint8_t, LcdRamSize + 1> LcdRam{};
    std::array<uint8_t, MemorySize + 1> Memory{};

    uint8_t* Rom() { return Memory.data(); }
    const uint8_t* Rom() const { return Memory.data(); }
    uint8_t* Ram() { return Memory.data() + RomSize; }
    const uint8_t* Ram() const { return Memory.data() + RomSize; }

    // Every member, named, in one list that equality, the snapshot file and
    // the tests' report of a first difference all walk. visit is called once
    // a member, with its name and that member of each machine given, so
    // Members(visit, a, b) walks two machines side by side. Snapshots store
    // the members in the order of this list: a member added to the machine
    // goes at the end of the list, whatever its place in the struct, and
    // raises the snapshot format's version.
    template <class Visitor, class... Machines>
    static void Members(Visitor&& visit, Machines&... machines) {
        visit("Reg", machines.Reg...);
        visit("Psw", machines.Psw...);
        visit("Cpc", machines.Cpc...);
        visit("Cps", machines.Cps...);
        visit("Opcode", machines.Opcode...);
        visit("Addr", machines.Addr...);
        visit("AddrMask", machines.AddrMask...);
        visit("KeyIn", machines.KeyIn...);
        visit("KeyOut", machines.KeyOut...);
        visit("CtrlPort", machines.CtrlPort...);
        visit("RamEnd", machines.RamEnd...);
        visit("Waiting", machines.Waiting...);
        visit("HaltRequest", machines.HaltRequest...);
        visit("StepFlag", machines.StepFlag...);
        visit("TraceInhibit", machines.TraceInhibit...);
        visit("MouseKey", machines.MouseKey...);
        visit("PcKey", machines.PcKey...);
        visit("ZeroCell", machines.ZeroCell...);
        visit("SinkCell", machines.SinkCell...);
        visit("LcdRam", machines.LcdRam...);
        visit("Memory", machines.Memory...);
    }

    bool operator==(const Machine& other) const {
        bool equal = true;
        Members([&equal](const char*, const auto& a, const auto& b) { equal = equal && a == b; }, *this, other);
        return equal;
    }
};

// The emulated machine, zero at program start. Clearing it is assigning a
// fresh one: Mk = Machine{}.
extern Machine Mk;

// A reference to a byte position in one of the stores of the machine, read or written
// as a byte or as a little-endian word (the byte at the position is the low
// byte). A register location is the register's low byte.
struct Location {
    uint8_t* at;

    // Machine words are little-endian like the host's, so a word is one
    // (possibly unaligned) host access.
    uint8_t Byte() const { return at[0]; }
    uint16_t Word() const {
        uint16_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    void SetByte(uint8_t value) const { at[0] = value; }
    void SetWord(uint16_t value) const { std::memcpy(at, &value, sizeof value); }
};

inline Location CellOf(uint16_t& word) { return {reinterpret_cast<uint8_t*>(&word)}; }
inline Location RegisterLocation(int n) { return CellOf(Mk.Reg[n]); }

inline bool IsRom(uint16_t address) { return address <= 0x7FFF; }
// RAM ends at RamEnd, and never past the RAM there is, whatever RamEnd holds.
inline bool IsRam(const Machine& machine, uint16_t address) {
    return address >= RamStart && address <= LastRamAddress && address <= machine.RamEnd;
}
inline bool IsRam(uint16_t address) { return IsRam(Mk, address); }

constexpr uint16_t LcdRamStart = 0x0080;
inline bool IsLcdRam(uint16_t address) { return uint16_t(address - LcdRamStart) < LcdRamSize; }

// Reads that come straight from Memory: RAM, and all of ROM but the ports
// at 0x0100..0x0107. The display range reads ROM: the display memory cannot
// be read back.
inline bool ReadsMemory(const Machine& machine, uint16_t address) {
    return address < RamStart ? (address & 0xFFF8) != KeyInAddress : IsRam(machine, address);
}
inline bool ReadsMemory(uint16_t address) { return ReadsMemory(Mk, address); }

// The debugger's watch on the bus. ReadCell and WriteCell serve inline only
// the addresses these spans leave to them: ROM reads outside the hole (the
// ports at 0x0100..0x0107, by default), RAM reads and writes up to the span
// from RamStart, display writes up to the span from LcdRamStart. Every other
// access comes out of line, where Hook, when set, sees it (Addr and AddrMask
// tell which) before it is served. The debugger narrows the spans around the
// ranges it watches; as they only replace constants, the accesses that stay
// inline cost what they did. These belong to the debugger, not to the
// machine: a copy of the machine does not carry them, and Hook must change
// nothing in the machine.
struct BusWatch {
    uint16_t RomReadHole = KeyInAddress;
    uint16_t RomReadHoleSize = 8;
    uint16_t RamReadSpan = RamSize;
    uint16_t RamWriteSpan = RamSize;
    uint16_t LcdWriteSpan = LcdRamSize;
    void (*Hook)(bool write) = nullptr;
};
extern BusWatch Watch;

// The core's globals as the program starts them: Mk all zero and the bus
// watch off.
void ResetCore();

// The ports and unmapped space, and whatever the bus watch keeps from the
// fast paths below.
Location ReadCellOutsideMemory();
Location WriteCellToPort();

// The location that a read (ReadCell) or a write (WriteCell) of Addr uses.
// Both decode by Addr alone; byte or word access is the caller's business.
// They run for every fetch and operand access, so memory and the display
// are decided inline and everything else out of line.
inline Location ReadCell() {
    const uint16_t address = Mk.Addr;
    const bool inline_ = address < RamStart
                             ? uint16_t(address - Watch.RomReadHole) >= Watch.RomReadHoleSize
                             : uint16_t(address - RamStart) < Watch.RamReadSpan && address <= Mk.RamEnd;
    if (inline_) [[likely]]
        return {Mk.Memory.data() + address};
    return ReadCellOutsideMemory();
}

inline Location WriteCell() {
    const uint16_t address = Mk.Addr;
    if (uint16_t(address - RamStart) < Watch.RamWriteSpan && address <= Mk.RamEnd) [[likely]]
        return {Mk.Memory.data() + address};
    if (uint16_t(address - LcdRamStart) < Watch.LcdWriteSpan) return {Mk.LcdRam.data() + (address - LcdRamStart)};
    return WriteCellToPort();
}

// The word that a read of the address would give, as ReadCell().Word() gives
// it, but without a read's side effects: the key lines are computed, not
// stored into KeyIn, and nothing else changes. For tools that look at memory.
uint16_t PeekWord(const Machine& machine, uint16_t address);
