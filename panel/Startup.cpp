#include "panel/Startup.h"

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Symbols.h"
#include "files/SameFile.h"
#include "panel/LcdLayout.h"
#include "panel/RunLoop.h"
#include "panel/Settings.h"
#include "panel/SnapshotFile.h"

#include <cstring>
#include <filesystem>

namespace {

constexpr int32_t DefaultRadix = 16;

}  // namespace

StartupFiles DefaultStartupFiles(const std::string& folder) {
    const auto in = [&folder](const char* name) { return (std::filesystem::path(folder) / name).string(); };
    return {in(RomFileName),  in(RamFileName),  in(SettingsFileName),
            in(FaceFileName), in(KeysFileName), in(SymbolFileName), in(SnapshotFileName)};
}

bool IsStartupFile(const StartupFiles& files, const std::string& path) {
    for (const std::string* file : {&files.rom, &files.ram, &files.settings, &files.face, &files.keys})
        if (SameFile(*file, path)) return true;
    return false;
}

RamImageState CreateMachine(const StartupFiles& files, const WarnFunction& warn) {
    CpuSpeed = ReadIniInteger(files.settings, "Settings", "CpuSpeed", DefaultCpuSpeed);
    Mk.RamEnd = LastRamAddress;
    const RamImageState ram = LoadMemoryImages(files.rom, files.ram, warn);
    LoadSymbols(files.symbols, warn);
    return ram;
}

void LoadSymbols(const std::string& path, const WarnFunction& warn) {
    Symbols.Clear();
    std::error_code error;
    if (path.empty() || std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found)
        return;
    // One message for the whole file: a box each would stand before the window.
    if (const std::string message = Symbols.Load(path).Message(path); !message.empty()) warn(message);
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
