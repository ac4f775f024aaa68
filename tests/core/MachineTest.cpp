// The machine as a value: == sees every part of it, a fresh machine is the
// all-zero one the program starts with, and a copy is a machine of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Def.h"
#include "tests/support/MachineDifference.h"

namespace {

TEST(Machine, EqualityNoticesEveryMember) {
    const struct {
        std::string named;  // how FirstDifference names the change
        std::function<void(Machine&)> change;
    } rows[] = {
        {"Memory[0x0]", [](Machine& m) { m.Memory[0] = 1; }},
        {"Memory[0x7fff]", [](Machine& m) { m.Rom()[RomSize - 1] = 1; }},
        {"Memory[0x8000]", [](Machine& m) { m.Ram()[0] = 1; }},
        {"Memory[0x87ff]", [](Machine& m) { m.Memory[LastRamAddress] = 1; }},
        {"Memory[0x8800]", [](Machine& m) { m.Memory[MemorySize] = 1; }},
        {"LcdRam[0x0]", [](Machine& m) { m.LcdRam[0] = 1; }},
        {"LcdRam[0x80]", [](Machine& m) { m.LcdRam[LcdRamSize] = 1; }},
        {"Reg[0x0]", [](Machine& m) { m.Reg[0] = 1; }},
        {"Reg[0x7]", [](Machine& m) { m.Reg[PC] = 0x8000; }},
        {"Psw", [](Machine& m) { m.Psw = FlagC; }},
        {"Psw", [](Machine& m) { m.Psw |= FlagN; }},
        {"Psw", [](Machine& m) { m.Psw = HaltModeBit; }},
        {"Cpc", [](Machine& m) { m.Cpc = 1; }},
        {"Cps", [](Machine& m) { m.Cps = 1; }},
        {"Opcode", [](Machine& m) { m.Opcode = 1; }},
        {"Addr", [](Machine& m) { m.Addr = 1; }},
        {"AddrMask", [](Machine& m) { m.AddrMask = 0xFFFE; }},
        {"KeyIn", [](Machine& m) { m.KeyIn = 1; }},
        {"KeyOut", [](Machine& m) { m.KeyOut = 1; }},
        {"CtrlPort", [](Machine& m) { m.CtrlPort = CtrlRunBit; }},
        {"RamEnd", [](Machine& m) { m.RamEnd = LastRamAddress; }},
        {"Waiting", [](Machine& m) { m.Waiting = true; }},
        {"HaltRequest", [](Machine& m) { m.HaltRequest = true; }},
        {"StepFlag", [](Machine& m) { m.StepFlag = true; }},
        {"TraceInhibit", [](Machine& m) { m.TraceInhibit = true; }},
        {"MouseKey", [](Machine& m) { m.MouseKey = 1; }},
        {"PcKey", [](Machine& m) { m.PcKey = 1; }},
        {"ZeroCell", [](Machine& m) { m.ZeroCell = 1; }},
        {"SinkCell", [](Machine& m) { m.SinkCell = 1; }},
    };
    const Machine fresh{};
    for (const auto& row : rows) {
        Machine changed{};
        row.change(changed);
        EXPECT_FALSE(changed == fresh) << row.named;
        EXPECT_EQ(FirstDifference(changed, fresh).substr(0, row.named.size() + 1), row.named + ":");
    }
}

// Any value converts to any member, so a machine can be brace-initialised
// from as many of these as it has members, and from no more.
struct AnyMember {
    template <class T>
    operator T() const;
};

template <class T, class... Given>
constexpr size_t AggregateMembers() {
    if constexpr (requires { T{Given{}..., AnyMember{}}; }) return AggregateMembers<T, Given..., AnyMember>();
    else return sizeof...(Given);
}

// Equality, snapshots and the difference report see only the members that
// the list names: a member added to the struct and not to the list would be
// neither compared nor saved.
TEST(Machine, TheListNamesEveryMemberOnce) {
    std::vector<std::string> names;
    Machine machine{};
    Machine::Members([&names](const char* name, const auto&) { names.push_back(name); }, machine);
    EXPECT_EQ(names.size(), AggregateMembers<Machine>());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

// A machine starts with every part zero, and so does a cleared one: a
// member with a default of its own would be wrong.
TEST(Machine, AFreshMachineIsAllZero) {
    Machine zeroed;
    std::memset(static_cast<void*>(&zeroed), 0, sizeof zeroed);
    EXPECT_EQ(FirstDifference(Machine{}, zeroed), "");
}

// Rom and Ram are views into a machine's own memory, so a change made
// through a copy's views stays in the copy.
TEST(Machine, ACopyIsAMachineOfItsOwn) {
    Machine original{};
    Machine copy = original;
    copy.Rom()[0x100] = 0x11;
    copy.Ram()[0x10] = 0x22;
    EXPECT_EQ(copy.Memory[0x100], 0x11);
    EXPECT_EQ(copy.Memory[RamStart + 0x10], 0x22);
    EXPECT_EQ(FirstDifference(original, Machine{}), "");
}

}  // namespace
