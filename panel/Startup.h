// The start of a session, as the main window and the console both make it:
// the settings, the memory images, an empty display and a processor reset, in
// the order in which the main window is created and first shown; and the
// debugger's radix, which the debug window reads as it is created.
#pragma once

#include "debugger/Numbers.h"
#include "panel/MemoryFiles.h"

#include <string>

constexpr const char* FaceFileName = "face.bmp";
constexpr const char* KeysFileName = "keys.bmp";

// The files of a session, named relative to the working folder unless a path
// is given.
struct StartupFiles {
    std::string rom;       // the ROM image, read at start
    std::string ram;       // the RAM image, read at start and written at exit
    std::string settings;  // the settings, read at start and never written
    std::string face;      // the picture of the front panel (windows only)
    std::string keys;      // the key and indicator pictures (windows only)
    std::string symbols;   // the ROM's labels, read at start when the file is there
    std::string snapshot;  // the machine saved and loaded by Ctrl+S and Ctrl+L (windows only)
};

// "rom.bin", "ram.bin", "vexal.ini", "face.bmp", "keys.bmp", "rom.sym" and
// "snapshot.vxs" in the folder, the working folder when it is empty.
StartupFiles DefaultStartupFiles(const std::string& folder = {});

// Whether path names one of the files the session runs with (the ROM and RAM
// images, the settings, the pictures), under any name: a file the user
// chooses to write must not be one of them.
bool IsStartupFile(const StartupFiles& files, const std::string& path);

// As the main window is created: CpuSpeed from the settings, RamEnd, the ROM
// and RAM images and the ROM's labels, each problem reported through warn.
// Tells what became of the RAM image.
RamImageState CreateMachine(const StartupFiles& files, const WarnFunction& warn);

// The symbol table from the file, in place of the session's; none, and no
// warning, when there is no such file. A file that cannot be read, or lines
// that do not parse, are reported through one call of warn.
void LoadSymbols(const std::string& path, const WarnFunction& warn);

// Every key released, the display memory emptied (bytes 0..95 of LcdRam; the
// cursor byte and the rest keep their contents) and the processor reset: the
// machine as it is switched on, its RAM as it was.
void ResetMachine();

// As the main window is first shown, after its pictures: the run control as
// for a running machine, then ResetMachine.
void ResetMachineForShow();

// As the debug window is created: the radix of the debugger's numbers, with
// its digit widths, from the settings' [Debugger] Radix, where a value outside
// 8..16, or none, gives 16.
NumberFormat ReadDebuggerRadix(const std::string& settings);

// The whole start-up in its order, for a program without windows.
RamImageState StartMachine(const StartupFiles& files, const WarnFunction& warn);
