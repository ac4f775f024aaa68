// The firmware's rom.sym, which the build writes beside rom.bin, holds every
// label of the listing at its address, local ones under their routine, and
// nothing else.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "FirmwareRun.h"
#include "debugger/Symbols.h"

namespace {

TEST(FirmwareSymbols, MatchTheListing) {
    SymbolTable table;
    const SymbolTable::LoadResult result = table.Load(VEXAL_FIRMWARE_DIR "/rom.sym");
    ASSERT_EQ(result.Error, "");
    EXPECT_TRUE(result.Warnings.empty());
    const std::map<std::string, uint16_t>& fromListing = ListingLabels();
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
