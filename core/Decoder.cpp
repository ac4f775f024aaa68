#include "core/Decoder.h"

#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/Def.h"

namespace {

TrapVector DispatchOp0() { return Op0Table[Mk.Opcode](); }

template <int Group>
TrapVector DispatchGroup() {
    return OpGroupTable[Group][(Mk.Opcode >> 6) & 3]();
}

using Table = std::array<ExecHandler, 256>;

// Fills entries first..last (inclusive) of a table.
constexpr void Fill(Table& table, int first, int last, ExecHandler routine) {
    for (int i = first; i <= last; ++i) table[i] = routine;
}

constexpr Table MakeOpTable() {
    Table t{};
    t.fill(IllegalOp);
    Fill(t, 0x00, 0x00, DispatchOp0);         // 000000-000377
    Fill(t, 0x01, 0x01, ExecBr);              // 000400 BR
    Fill(t, 0x02, 0x02, ExecBne);             // 001000 BNE
    Fill(t, 0x03, 0x03, ExecBeq);             // 001400 BEQ
    Fill(t, 0x04, 0x04, ExecBge);             // 002000 BGE
    Fill(t, 0x05, 0x05, ExecBlt);             // 002400 BLT
    Fill(t, 0x06, 0x06, ExecBgt);             // 003000 BGT
    Fill(t, 0x07, 0x07, ExecBle);             // 003400 BLE
    Fill(t, 0x08, 0x09, ExecJsr);             // 004000 JSR
    Fill(t, 0x0A, 0x0A, DispatchGroup<0>);    // 005000 CLR COM INC DEC
    Fill(t, 0x0B, 0x0B, DispatchGroup<1>);    // 005400 NEG ADC SBC TST
    Fill(t, 0x0C, 0x0C, DispatchGroup<2>);    // 006000 ROR ROL ASR ASL
    Fill(t, 0x0D, 0x0D, DispatchGroup<3>);    // 006400 MARK - - SXT
    Fill(t, 0x10, 0x1F, ExecMov<WordWidth>);  // 010000 MOV
    Fill(t, 0x20, 0x2F, ExecCmp<WordWidth>);  // 020000 CMP
    Fill(t, 0x30, 0x3F, ExecBit<WordWidth>);  // 030000 BIT
    Fill(t, 0x40, 0x4F, ExecBic<WordWidth>);  // 040000 BIC
    Fill(t, 0x50, 0x5F, ExecBis<WordWidth>);  // 050000 BIS
    Fill(t, 0x60, 0x6F, ExecAdd);             // 060000 ADD
    Fill(t, 0x70, 0x71, ExecMul);             // 070000 MUL
    Fill(t, 0x72, 0x73, ExecDiv);             // 071000 DIV
    Fill(t, 0x74, 0x75, ExecAsh);             // 072000 ASH
    Fill(t, 0x76, 0x77, ExecAshc);            // 073000 ASHC
    Fill(t, 0x78, 0x79, ExecXor);             // 074000 XOR
    Fill(t, 0x7A, 0x7A, ExecFloatingPoint);   // 075000 floating-point group
    Fill(t, 0x7E, 0x7F, ExecSob);             // 077000 SOB
    Fill(t, 0x80, 0x80, ExecBpl);             // 100000 BPL
    Fill(t, 0x81, 0x81, ExecBmi);             // 100400 BMI
    Fill(t, 0x82, 0x82, ExecBhi);             // 101000 BHI
    Fill(t, 0x83, 0x83, ExecBlos);            // 101400 BLOS
    Fill(t, 0x84, 0x84, ExecBvc);             // 102000 BVC
    Fill(t, 0x85, 0x85, ExecBvs);             // 102400 BVS
    Fill(t, 0x86, 0x86, ExecBcc);             // 103000 BCC
    Fill(t, 0x87, 0x87, ExecBcs);             // 103400 BCS
    Fill(t, 0x88, 0x88, ExecEmt);             // 104000 EMT
    Fill(t, 0x89, 0x89, ExecTrap);            // 104400 TRAP
    Fill(t, 0x8A, 0x8A, DispatchGroup<4>);    // 105000 CLRB COMB INCB DECB
    Fill(t, 0x8B, 0x8B, DispatchGroup<5>);    // 105400 NEGB ADCB SBCB TSTB
    Fill(t, 0x8C, 0x8C, DispatchGroup<6>);    // 106000 RORB ROLB ASRB ASLB
    Fill(t, 0x8D, 0x8D, DispatchGroup<7>);    // 106400 MTPS - - MFPS
    Fill(t, 0x90, 0x9F, ExecMov<ByteWidth>);  // 110000 MOVB
    Fill(t, 0xA0, 0xAF, ExecCmp<ByteWidth>);  // 120000 CMPB
    Fill(t, 0xB0, 0xBF, ExecBit<ByteWidth>);  // 130000 BITB
    Fill(t, 0xC0, 0xCF, ExecBic<ByteWidth>);  // 140000 BICB
    Fill(t, 0xD0, 0xDF, ExecBis<ByteWidth>);  // 150000 BISB
    Fill(t, 0xE0, 0xEF, ExecSub);             // 160000 SUB
    // Left illegal: 007000-007777, 075400-076777, 107000-107777, 170000-177777.
    return t;
}

// Opcodes 000000..000377, indexed by the low byte (octal below).
constexpr Table MakeOp0Table() {
    Table t{};
    t.fill(IllegalOp);
    Fill(t, 0000, 0000, ExecHalt);
    Fill(t, 0001, 0001, ExecWait);
    Fill(t, 0002, 0002, ExecRti);
    Fill(t, 0003, 0003, ExecBpt);
    Fill(t, 0004, 0004, ExecIot);
    Fill(t, 0005, 0005, ExecReset);
    Fill(t, 0006, 0006, ExecRtt);
    Fill(t, 0010, 0013, ExecGo);
    Fill(t, 0014, 0017, ExecStep);
    Fill(t, 0020, 0020, ExecRsel);
    Fill(t, 0021, 0021, ExecMfus);
    Fill(t, 0022, 0023, ExecRcpc);
    Fill(t, 0024, 0027, ExecRcps);
    Fill(t, 0030, 0030, ExecRsel);
    Fill(t, 0031, 0031, ExecMtus);
    Fill(t, 0032, 0033, ExecWcpc);
    Fill(t, 0034, 0037, ExecWcps);
    Fill(t, 0100, 0177, ExecJmp);
    Fill(t, 0200, 0207, ExecRts);
    Fill(t, 0240, 0257, ExecClearFlags);
    Fill(t, 0260, 0277, ExecSetFlags);
    Fill(t, 0300, 0377, ExecSwab);
    // Left illegal: 000007, 000040-000077, 000210-000237 (SPL is not implemented).
    return t;
}

}  // namespace

constinit const std::array<ExecHandler, 256> OpTable = MakeOpTable();
constinit const std::array<ExecHandler, 256> Op0Table = MakeOp0Table();

// Entries 0..3 by bits 6 and 7; MFPI/MTPI and MFPD/MTPD are not implemented.
constinit const std::array<std::array<ExecHandler, 4>, 8> OpGroupTable = {{
    /* 0x0A */ {ExecClr<WordWidth>, ExecCom<WordWidth>, ExecInc<WordWidth>, ExecDec<WordWidth>},
    /* 0x0B */ {ExecNeg<WordWidth>, ExecAdc<WordWidth>, ExecSbc<WordWidth>, ExecTst<WordWidth>},
    /* 0x0C */ {ExecRor<WordWidth>, ExecRol<WordWidth>, ExecAsr<WordWidth>, ExecAsl<WordWidth>},
    /* 0x0D */ {ExecMark, IllegalOp, IllegalOp, ExecSxt},
    /* 0x8A */ {ExecClr<ByteWidth>, ExecCom<ByteWidth>, ExecInc<ByteWidth>, ExecDec<ByteWidth>},
    /* 0x8B */ {ExecNeg<ByteWidth>, ExecAdc<ByteWidth>, ExecSbc<ByteWidth>, ExecTst<ByteWidth>},
    /* 0x8C */ {ExecRor<ByteWidth>, ExecRol<ByteWidth>, ExecAsr<ByteWidth>, ExecAsl<ByteWidth>},
    /* 0x8D */ {ExecMtps, IllegalOp, IllegalOp, ExecMfps},
}};

ExecHandler RoutineFor(uint16_t opcode) {
    const int high = opcode >> 8;
    if (high == 0) return Op0Table[opcode];
    for (int g = 0; g < 8; ++g)
        if (GroupHighBytes[g] == high) return OpGroupTable[g][(opcode >> 6) & 3];
    return OpTable[high];
}

namespace {

// The routine run for an opcode: the one RoutineFor names, built for the
// modes of the opcode's fields if it has operand fields.
BuiltHandler BuiltRoutine(uint16_t opcode) {
    const ExecHandler routine = RoutineFor(opcode);
    const auto modes = [opcode](const ModeRoutines& r) {
        // A register in bits 6..8 is register mode on it.
        const uint16_t source = r.registerField ? opcode >> 6 & 7 : opcode >> 6 & 077;
        return BuiltModeIndex(source) * ModeCount + BuiltModeIndex(opcode & 077);
    };
    for (std::span<const ModeRoutines> built : {std::span<const ModeRoutines>(DoubleOperandModeRoutines),
                                                std::span<const ModeRoutines>(SingleOperandModeRoutines),
                                                std::span<const ModeRoutines>(ExtendedArithmeticModeRoutines),
                                                std::span<const ModeRoutines>(ProgramControlModeRoutines)})
        for (const ModeRoutines& r : built)
            if (r.routine == routine) return r.byModes[modes(r)];
    for (std::span<const PlainRoutine> built :
         {std::span<const PlainRoutine>(SystemPlainRoutines), std::span<const PlainRoutine>(ProgramControlPlainRoutines)})
        for (const PlainRoutine& r : built)
            if (r.routine == routine) return r.built;
    // Every routine of the tables above is listed; this is never reached.
    std::fprintf(stderr, "no built routine for opcode %06o\n", opcode);
    std::abort();
}

// Built once, when the program starts.
std::array<BuiltHandler, 0x10000> MakeOpcodeTable() {
    std::array<BuiltHandler, 0x10000> table;
    for (uint32_t opcode = 0; opcode <= 0xFFFF; ++opcode) table[opcode] = BuiltRoutine(uint16_t(opcode));
    return table;
}

}  // namespace

const std::array<BuiltHandler, 0x10000> OpcodeTable = MakeOpcodeTable();
