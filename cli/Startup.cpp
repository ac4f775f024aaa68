#include "cli/Startup.h"

#include <cstring>

#include "core/Cpu.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "panel/LcdLayout.h"
#include "panel/MemoryFiles.h"
#include "panel/RunLoop.h"
#include "panel/Settings.h"

StartupFiles DefaultStartupFiles() { return {RomFileName, RamFileName, SettingsFileName}; }

void StartMachine(const StartupFiles& files, const std::function<void(const std::string&)>& warn) {
    CpuSpeed = ReadIniInteger(files.settings, "Settings", "CpuSpeed", DefaultCpuSpeed);
    // SetRadix turns a value outside 8..16 into 16, as the debug window does.
    SetRadix(ReadIniInteger(files.settings, "Debugger", "Radix", 16));

    RamEnd = LastRamAddress;
    LoadMemoryImages(files.rom, files.ram, warn);

    ResetRunControl();
    MouseKey = 0;
    PcKey = 0;
    // The cursor byte and the rest keep theirs, as when the main window is
    // first shown.
    std::memset(LcdRam, 0, DrawnBytes);
    CpuReset();
}
