#include "panel/Session.h"

#include "core/Def.h"
#include "cpu/Cpu.h"
#include "debugger/RunControl.h"
#include "panel/RunLoop.h"

void ResetSession() {
    ResetCore();
    ResetProcessor();
    ResetDebugger();
    ResetRunLoop();
}
