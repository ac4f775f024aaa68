// Decimal arithmetic as the line typed shows it: values with ten digits,
// decimal input giving decimal answers, errors instead of wrong numbers.
#include "FirmwareRun.h"

namespace {

TEST(Decimals, ValuesAsShown) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"0.1+0.2", "0.3"},
        {"1-0.9", "0.1"},
        {"0.1*3", "0.3"},
        {"1/3*3", "1"},
        {"2/3", "0.6666666667"},
        {"1/3", "0.3333333333"},
        {"-1/3", "-0.333333333"},
        {"7/2", "3.5"},
        {"200*200", "40000"},
        {"-32768", "-32768"},
        {"32767+1", "32768"},
        {"1234567890", "1234567890"},
        {"12345678901", "1.2345679E10"},
        {"0.00001", "0.00001"},
        {"1.5E-10", "1.5E-10"},
        {"1E-99/10", "0"},
        {"2^10", "1024"},
        {"10^-3", "0.001"},
        {"(-2)^3", "-8"},
        {"SQR(2)", "1.414213562"},
        {"SQR(16)", "4"},
        {"INT(-2.5)", "-3"},
        {"INT(2.5)", "2"},
        {"ABS(-7.5)", "7.5"},
        {"SGN(-0.5)", "-1"},
        {"PI", "3.141592654"},
        {"SIN(PI/6)", "0.5"},
        {"COS(0)", "1"},
        {"ATN(1)*4", "3.141592654"},
        {"LN(EXP(2))", "2"},
        {"LOG(1000)", "3"},
        {"EXP(1)", "2.718281828"},
        {"0.1+0.2=0.3", "1"},
        {"RND>=0 AND RND<1", "1"},
        {"1/0", "DIV BY ZERO"},
        {"1E99*10", "OVERFLOW"},
        {"SQR(-1)", "BAD ARGUMENT"},
        {"0^-1", "BAD ARGUMENT"},
        {"LN(0)", "BAD ARGUMENT"},
    };
    std::string script = PowerOn;
    for (const Case& c : cases) script += Clear + Enter(c.typed) + "lcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases));
    for (size_t i = 0; i < screens.size(); ++i) EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].typed;
}

// A loop in steps of a tenth meets its limit exactly.
TEST(Decimals, DecimalStepsAddUpExactly) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + Enter("10 FOR X=0 TO 1 STEP 0.1:N=N+1:NEXT X") +
                                          Enter("20 PRINT N;\" \";X") + Enter("RUN") + "lcd\n");
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(Trimmed(screens[0].text), "11 1.1");
}

}  // namespace
