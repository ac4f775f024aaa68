// Makes the firmware's key code and font tables, and the artwork's header of
// face labels, from the key table and the font kept as text:
//   vexal_fwtables keys.md font.txt OUTPUT_FOLDER
// writes keycodes.s (the key map), font.s and KeyAssignment.h into the folder.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "FirmwareTables.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TableError(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw TableError(path + ": cannot be written");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: vexal_fwtables keys.md font.txt OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const KeyTable keys = ParseKeyTable(ReadFile(argv[1]), argv[1]);
        const Font font = ParseFont(ReadFile(argv[2]), argv[2]);
        const std::string folder = std::string(argv[3]) + "/";
        WriteFile(folder + "keycodes.s", KeyMapAssembly(keys));
        WriteFile(folder + "font.s", FontAssembly(font));
        WriteFile(folder + "KeyAssignment.h", KeyAssignmentHeader(keys));
    } catch (const TableError& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
