#include "richtext/css_length.h"
#include "richtext/css_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using richtext::FixedMetrics;
using richtext::LeadingNumber;
using richtext::ParseLength;
using richtext::WholeNumber;

TEST(Numbers, LeadingDecimalsAndWholeNumbersInEveryBase) {
    EXPECT_EQ(LeadingNumber(L" -3x"), -3);
    EXPECT_EQ(LeadingNumber(L"0x1F"), 0);
    EXPECT_EQ(LeadingNumber(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(WholeNumber(L"0x1Fz"), 31);
    EXPECT_EQ(WholeNumber(L"017"), 15);
    EXPECT_EQ(WholeNumber(L"019"), 1) << "stops at the first non-octal digit";
    EXPECT_EQ(WholeNumber(L"0xFFFFFFFFFFFFFFFFFFFF"), INT64_MAX);
}

TEST(ParseLength, EveryUnitAndTheSignRules) {
    // 120 pixels per inch, a font 20 high, "x" 9 high.
    const FixedMetrics metrics(120, 20, 9);
    const struct {
        const wchar_t* value;
        int current;
        bool fontSize;
        int expected;
    } cases[] = {{L"", 33, false, 33},
                 {L"3", 16, true, 12},
                 {L"7", 16, true, 36},
                 {L"8", 16, true, 8},
                 {L"3", 16, false, 3},
                 {L"3px", 16, true, 3},
                 {L"0x10", 16, false, 16},
                 {L"010", 16, false, 8},
                 {L"-11lf", 16, true, -11},
                 {L"+11lf", 16, true, 11},
                 {L"-11pt", 16, true, 18},
                 {L"11pt", 16, true, 11 * 120 / 72},
                 {L"-2", 16, false, 2},
                 {L"2in", 16, false, 240},
                 {L"3cm", 16, false, 141},
                 {L"7mm", 16, false, 33},
                 {L"2pc", 16, false, 40},
                 {L"2em", 16, false, 40},
                 {L"3ex", 16, false, 27},
                 {L"65%", 13, false, 8},
                 {L"50%", 13, false, 7},
                 {L"65%", -13, false, -8},
                 {L"%", 16, false, 0},
                 {L"99999999999999999999in", 16, false, INT_MAX},
                 {L"99999999999999999999%", 1000, false, INT_MAX},
                 {L"-99999999999999999999lf", 16, false, -INT_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseLength(c.value, c.current, c.fontSize, metrics), c.expected)
            << std::string(c.value, c.value + wcslen(c.value));
}
