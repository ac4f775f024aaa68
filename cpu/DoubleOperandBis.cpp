// BIS and BISB as the processor runs them (cpu/DoubleOperand.h).
#include "cpu/DoubleOperand.h"

template struct SrcDstByteRoutines<ExecBis>;
