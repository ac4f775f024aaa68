// MOV and MOVB as the processor runs them (cpu/DoubleOperand.h).
#include "cpu/DoubleOperand.h"

template struct SrcDstByteRoutines<ExecMov>;
