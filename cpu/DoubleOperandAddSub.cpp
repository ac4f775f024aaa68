// ADD and SUB as the processor runs them (cpu/DoubleOperand.h).
#include "cpu/DoubleOperand.h"

template struct SrcDstRoutines<ExecAdd>;
template struct SrcDstRoutines<ExecSub>;
