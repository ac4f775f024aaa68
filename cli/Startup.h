// Bringing the machine up as the main window does, without a window: the
// settings, the memory images, an empty display and a processor reset.
#pragma once

#include <functional>
#include <string>

struct StartupFiles {
    std::string rom;       // the ROM image
    std::string ram;       // the RAM image read at start; never written here
    std::string settings;  // the settings file
};

// The files the main window uses, in the working directory.
StartupFiles DefaultStartupFiles();

// Reads CpuSpeed and the debugger's Radix from the settings, sets RamEnd,
// loads the images (each problem reported through warn with the front panel's
// message), releases every key, empties the display and resets the processor.
void StartMachine(const StartupFiles& files, const std::function<void(const std::string&)>& warn);
