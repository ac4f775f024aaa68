// BIT and BITB as the processor runs them (cpu/DoubleOperand.h).
#include "cpu/DoubleOperand.h"

template struct SrcDstByteRoutines<ExecBit>;
