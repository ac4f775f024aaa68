// The firmware's rom.sym, which the build writes beside rom.bin and the
// firmware tests read, holds every label of the listing at its address,
// local ones under their routine, and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "FirmwareRun.h"
#include "debugger/Symbols.h"

namespace {

// The labels of the firmware with their addresses, from the build's listing,
// where a line that defines some starts with the address in hexadecimal and
// the words it assembled to. A local label is named under the ordinary label
// above it, as "fill.1$".
std::map<std::string, uint16_t> ListingLabels() {
    std::map<std::string, uint16_t> found;
    std::string routine;
    std::ifstream in(VEXAL_FIRMWARE_DIR "/rom.lst");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string address, word;
        words >> address;
        const auto isCode = [&] { return word.find_first_not_of("0123456789ABCDEF") == std::string::npos; };
        while (words >> word && isCode()) {}
        if (address.size() != 4) continue;
        for (; word.size() > 1 && word.back() == ':'; word.clear(), words >> word) {
            std::string name = word.substr(0, word.size() - 1);
            if (name.back() != '$') routine = name;
            else if (routine.empty()) continue;
            else name = routine + "." + name;
            found.emplace(name, uint16_t(std::stoul(address, nullptr, 16)));
        }
    }
    return found;
}

TEST(FirmwareSymbols, MatchTheListing) {
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Load(VEXAL_FIRMWARE_DIR "/rom.sym");
    ASSERT_EQ(result.Error, "");
    EXPECT_TRUE(result.Warnings.empty());
    const std::map<std::string, uint16_t> fromListing = ListingLabels();
    ASSERT_GT(fromListing.size(), 100u);
    std::map<std::string, uint16_t> fromSymbols;
    uint16_t previous = 0;
    for (const Symbol& symbol : table.All()) {
        EXPECT_GE(symbol.Address, previous) << symbol.Name << ": not sorted by address";
        previous = symbol.Address;
        fromSymbols.emplace(symbol.Name, symbol.Address);
    }
    EXPECT_EQ(fromSymbols, fromListing);
}

}  // namespace
