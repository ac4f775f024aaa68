// vexal-asm: the assembler of ROM images for the emulated machine.
#include <iostream>
#include <string>
#include <vector>

#include "asm/Command.h"

int main(int argc, char** argv) {
    return RunAssembler(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
