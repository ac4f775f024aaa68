// The session: every global the program keeps, from the machine up to the
// run loop, each layer's beside its own code.
#pragma once

// Every global as the program starts it, layer by layer from the bottom: the
// machine and its bus watch (ResetCore), the processor's trap counter
// (ResetProcessor), the debugger and its symbols (ResetDebugger), the run
// loop (ResetRunLoop). Nothing is read from files: that is the start-up's
// part (Startup.h).
void ResetSession();
