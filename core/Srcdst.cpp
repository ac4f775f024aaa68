#include "core/Srcdst.h"

#include <utility>

namespace {

uint16_t WordAtAddr() { return ReadCell().Word(); }

// Registers R0..R5 mask their address with AddrMask and step by 1 for bytes
// and 2 for words (r - AddrMask is r + 2 or r + 1, r + AddrMask is r - 2 or
// r - 1). SP and PC are never masked and always step by 2, so a byte
// instruction cannot leave the stack or the instruction stream misaligned.
template <int Mode, int R>
void AddressMode() {
    constexpr bool stackOrPc = R >= SP;
    uint16_t& r = Reg[R];
    if constexpr (Mode == 0) {
        Addr = 0;
    } else if constexpr (Mode == 1) {
        Addr = stackOrPc ? r : r & AddrMask;
    } else if constexpr (Mode == 2) {
        if constexpr (stackOrPc) {
            Addr = r;
            r += 2;
        } else {
            Addr = r & AddrMask;
            r -= AddrMask;
        }
    } else if constexpr (Mode == 3) {
        Addr = stackOrPc ? r : r & 0xFFFE;
        r += 2;
        Addr = WordAtAddr() & AddrMask;
    } else if constexpr (Mode == 4) {
        if constexpr (stackOrPc) {
            r -= 2;
            Addr = r;
        } else {
            r += AddrMask;
            Addr = r & AddrMask;
        }
    } else if constexpr (Mode == 5) {
        r -= 2;
        Addr = stackOrPc ? r : r & 0xFFFE;
        Addr = WordAtAddr() & AddrMask;
    } else if constexpr (Mode == 6) {
        // The index word follows the instruction; with R7 the base is the
        // address after the index word.
        Addr = Reg[PC];
        Reg[PC] += 2;
        Addr = (WordAtAddr() + r) & AddrMask;
    } else {
        Addr = Reg[PC];
        Reg[PC] += 2;
        Addr = (WordAtAddr() + r) & 0xFFFE;
        Addr = WordAtAddr() & AddrMask;
    }
}

template <std::size_t... Field>
constexpr std::array<AddressingRoutine, 64> MakeModeTable(std::index_sequence<Field...>) {
    return {&AddressMode<int(Field >> 3), int(Field & 7)>...};
}

}  // namespace

constinit const std::array<AddressingRoutine, 64> ModeTable = MakeModeTable(std::make_index_sequence<64>{});
