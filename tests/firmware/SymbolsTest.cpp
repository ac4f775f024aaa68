// The firmware's rom.sym, which the build writes beside rom.bin and the
// firmware tests read, holds every label of the listing at its address, and
// nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "FirmwareRun.h"
#include "debugger/Symbols.h"

namespace {

// The labels of the firmware with their addresses, from the build's listing,
// where a line that defines one starts with the address in hexadecimal and
// the words it assembled to.
std::map<std::string, uint16_t> ListingLabels() {
    std::map<std::string, uint16_t> found;
    std::ifstream in(VEXAL_FIRMWARE_DIR "/rom.lst");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string address, word;
        words >> address;
        const auto isCode = [&] { return word.find_first_not_of("0123456789ABCDEF") == std::string::npos; };
        while (words >> word && isCode()) {}
        if (address.size() == 4 && word.size() > 1 && word.back() == ':')
            found.emplace(word.substr(0, word.size() - 1), uint16_t(std::stoul(address, nullptr, 16)));
    }
    return found;
}

TEST(FirmwareSymbols, MatchTheListing) {
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Load(VEXAL_FIRMWARE_DIR "/rom.sym");
    ASSERT_EQ(result.Error, "");
    EXPECT_TRUE(result.Warnings.empty());
    std::map<std::string, uint16_t> fromListing;
    for (const auto& [name, address] : ListingLabels())
        if (name.back() != '$') fromListing.emplace(name, address);
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
