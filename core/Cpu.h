// The processor step: stopped and waiting states, the halt request, fetch and
// dispatch of one instruction, the trace trap and the trap entry.
#pragma once

#include <cstdint>

// Power-on state from the ROM's reset words at 0x0000 (PC) and 0x0002 (PSW).
void CpuReset();

// One processor step; returns its cost in cycle units: 1 while the speed bit
// of CtrlPort is set, else 8, whatever the step did.
int32_t CpuStep();

// Halt-mode entry, as HALT and the halt request perform it: PC and PSW go to
// Cpc and Cps, and the new ones come from the fixed vector at 0x0078.
void EnterHaltMode();

constexpr uint16_t HaltVector = 0x0078;
