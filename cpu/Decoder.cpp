#include "cpu/Decoder.h"

namespace {

// The words that a record matches, for each of which visit(word) is called.
// The free bits (outside the mask) run through all their combinations; a
// record with value bits outside its mask matches nothing.
template <class Visit>
constexpr void ForEachWord(const InstructionRecord& record, Visit visit) {
    if (record.Value & ~record.Mask) return;
    const uint16_t free = uint16_t(~record.Mask);
    uint16_t bits = 0;
    do {
        visit(uint16_t(record.Value | bits));
        bits = uint16_t((bits - free) & free);
    } while (bits != 0);
}

// The place in InstructionSet of the record that binds the opcode; -1 if
// none does.
constexpr int BindingIndex(uint16_t opcode) {
    for (int i = 0; i < int(std::size(InstructionSet)); ++i)
        if (Binds(InstructionSet[i]) && Matches(InstructionSet[i], opcode)) return i;
    return -1;
}

// A binding record with value bits outside its mask would bind nothing.
constexpr bool EveryBindingMatchesWords() {
    for (const InstructionRecord& record : InstructionSet)
        if (Binds(record) && (record.Value & ~record.Mask)) return false;
    return true;
}
static_assert(EveryBindingMatchesWords(), "a record of the instruction set binds no word");

// No word is bound twice: two records share a word exactly when their values
// agree on the bits that both masks keep.
constexpr bool NoWordBoundTwice() {
    for (const InstructionRecord& a : InstructionSet) {
        if (!Binds(a)) continue;
        for (const InstructionRecord* b = &a + 1; b != std::end(InstructionSet); ++b)
            if (Binds(*b) && ((a.Value ^ b->Value) & a.Mask & b->Mask) == 0) return false;
    }
    return true;
}
static_assert(NoWordBoundTwice(), "a word of the instruction set is bound by two records");

// A name for an instruction that another record binds ("nop", "bhis") names
// words the processor runs: every word of a NameOnly record is bound, but
// those of "illop".
constexpr bool NamesOnlyBoundWords() {
    bool bound = true;
    for (const InstructionRecord& record : InstructionSet)
        if (!Binds(record) && record.Format != FmtIllegal)
            ForEachWord(record, [&](uint16_t word) { bound = bound && BindingIndex(word) >= 0; });
    return bound;
}
static_assert(NamesOnlyBoundWords(), "a name of the instruction set stands for words that no record binds");

// Unbound opcodes are reserved instructions and go to IllegalOp.
constexpr Binding Unbound = Traps<IllegalOp>;

const Binding& BindingFor(uint16_t opcode) {
    const int index = BindingIndex(opcode);
    return index >= 0 ? InstructionSet[index].Runs : Unbound;
}

// Built once, when the program starts: IllegalOp everywhere, then each
// binding record over its own words.
std::array<BuiltHandler, 0x10000> MakeOpcodeTable() {
    std::array<BuiltHandler, 0x10000> table;
    for (uint32_t opcode = 0; opcode <= 0xFFFF; ++opcode) table[opcode] = Unbound.Built(uint16_t(opcode));
    for (const InstructionRecord& record : InstructionSet)
        if (Binds(record)) ForEachWord(record, [&](uint16_t word) { table[word] = record.Runs.Built(word); });
    return table;
}

}  // namespace

ExecHandler RoutineFor(uint16_t opcode) { return BindingFor(opcode).Assigned(opcode); }

bool IsReserved(uint16_t opcode) { return BindingFor(opcode).Traps; }

const std::array<BuiltHandler, 0x10000> OpcodeTable = MakeOpcodeTable();
