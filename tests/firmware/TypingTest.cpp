// vexal-cli's type on our firmware: every printable character of a listing
// reaches the machine, those without a key of their own through the shift
// key, by the key map in the ROM.
#include "FirmwareRun.h"

namespace {

TEST(Typing, EveryPrintableCharacterOfAListing) {
    std::string printable;
    for (char c = ' '; c <= '~'; ++c) printable += c;
    // The firmware's characters are 20 to 5F; lower-case letters are typed
    // as capitals. { | } ~ reach no key, and ` the halt key.
    const std::string lines[] = {printable.substr(0, 33), printable.substr(33, 31), printable.substr(65, 26)};
    FirmwareFolder folder;
    std::string script = PowerOn;
    for (size_t i = 0; i < std::size(lines); ++i) script += Enter(std::to_string(10 * (i + 1)) + " REM " + lines[i]);
    std::vector<std::string> listed;
    for (size_t i = 0; i < std::size(lines); ++i) {
        const std::string walk = "lcd\n" + Repeat(Press(KeyRight) + "lcd\n", 45);
        const auto screens = folder.ScreensOf(script + Enter("LIST " + std::to_string(10 * (i + 1))) + walk);
        listed.push_back(ListedLine(screens));
    }
    EXPECT_EQ(listed[0], "10 REM  !\"#$%&'()*+,-./0123456789:;<=>?@");
    EXPECT_EQ(listed[1], "20 REM ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_");
    EXPECT_EQ(listed[2], "30 REM ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

}  // namespace
