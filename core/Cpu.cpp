#include "core/Cpu.h"

#include "core/Decoder.h"
#include "core/Def.h"
#include "core/Srcdst.h"

namespace {

uint16_t ReadWordAt(uint16_t address) {
    Addr = address;
    return ReadCell().Word();
}

void Push(uint16_t value) {
    ComputeAddress(FieldPush);
    WriteCell().SetWord(value);
}

void EnterTrap(TrapVector vector) {
    AddrMask = 0xFFFE;
    // The first push is made even; the second is not, so an odd SP splits the
    // saved PC across the saved PSW.
    ComputeAddress(FieldPush);
    Addr &= 0xFFFE;
    WriteCell().SetWord(Psw);
    Push(Reg[PC]);
    Reg[PC] = ReadWordAt(vector & 0xFFFE) & 0xFFFE;
    Psw = ReadWordAt(Addr + 2);
}

}  // namespace

void CpuReset() {
    CtrlPort = 0x0500;
    TraceInhibit = Waiting = StepFlag = HaltRequest = false;
    Cpc &= 0xFFFE;
    Reg[PC] = ReadWordAt(0x0000) & 0xFFFE;
    Psw = ReadWordAt(0x0002);
}

void EnterHaltMode() {
    Cpc = Reg[PC];
    Cps = Psw;
    Reg[PC] = ReadWordAt(HaltVector) & 0xFFFE;
    Psw = ReadWordAt(HaltVector + 2) | HaltModeBit;
}

int32_t CpuStep() {
    const int32_t cost = (CtrlPort & CtrlSpeedBit) ? 1 : 8;

    // A held key wakes a stopped processor.
    if (MouseKey != 0 || PcKey != 0) CtrlPort |= CtrlRunBit;
    if (!(CtrlPort & CtrlRunBit)) return cost;

    if (HaltRequest) Waiting = false;
    // No halt request is taken in halt mode or at the step after "step".
    if (StepFlag || (Psw & HaltModeBit)) HaltRequest = false;
    StepFlag = false;
    if (Waiting) return cost;

    if (HaltRequest) {
        // HALT instead of the next instruction: nothing is fetched, so Cpc
        // receives the address of the instruction that would have run.
        Opcode = 0;
        HaltRequest = false;
    } else {
        AddrMask = 0xFFFE;
        ComputeAddress(FieldFetch);
        Opcode = ReadCell().Word();
    }
    TrapVector vector = DispatchOpcode();
    Reg[PC] &= 0xFFFE;
    if (vector == NoTrap && (Psw & FlagT) && !TraceInhibit) vector = VectorBreakpoint;

    if (vector != NoTrap) EnterTrap(vector);
    TraceInhibit = false;
    return cost;
}
