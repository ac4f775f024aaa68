#include "cpu/Srcdst.h"

#include <utility>

namespace {

// With the register fixed, the choices between R0..R5 and SP or PC in
// AddressMode vanish when the routine is built.
template <int Mode, int R>
void FieldRoutine() {
    AddressMode<Mode>(R);
}

template <std::size_t... Field>
constexpr std::array<AddressingRoutine, 64> MakeModeTable(std::index_sequence<Field...>) {
    return {&FieldRoutine<int(Field >> 3), int(Field & 7)>...};
}

}  // namespace

constinit const std::array<AddressingRoutine, 64> ModeTable = MakeModeTable(std::make_index_sequence<64>{});
