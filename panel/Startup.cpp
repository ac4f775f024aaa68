#include "panel/Startup.h"

#include "core/Cpu.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "panel/LcdLayout.h"
#include "panel/RunLoop.h"
#include "panel/Settings.h"

#include <cstring>
#include <filesystem>

namespace {

constexpr int32_t DefaultRadix = 16;

}  // namespace

StartupFiles DefaultStartupFiles(const std::string& folder) {
    const auto in = [&folder](const char* name) { return (std::filesystem::path(folder) / name).string(); };
    return {in(RomFileName), in(RamFileName), in(SettingsFileName), in(FaceFileName), in(KeysFileName)};
}

RamImageState CreateMachine(const StartupFiles& files, const WarnFunction& warn) {
    CpuSpeed = ReadIniInteger(files.settings, "Settings", "CpuSpeed", DefaultCpuSpeed);
    Mk.RamEnd = LastRamAddress;
    return LoadMemoryImages(files.rom, files.ram, warn);
}

void ResetMachine() {
    Mk.MouseKey = 0;
    Mk.PcKey = 0;
    std::memset(Mk.LcdRam.data(), 0, DrawnBytes);
    CpuReset();
}

void ResetMachineForShow() {
    ResetRunControl();
    ResetMachine();
}

NumberFormat ReadDebuggerRadix(const std::string& settings) {
    // NumberFormat turns a value outside 8..16 into 16.
    return NumberFormat(ReadIniInteger(settings, "Debugger", "Radix", DefaultRadix));
}

RamImageState StartMachine(const StartupFiles& files, const WarnFunction& warn) {
    const RamImageState ram = CreateMachine(files, warn);
    ResetMachineForShow();
    return ram;
}
