#include "richtext/css_length.h"
#include "richtext/css_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>

#include "platform/unique_resource.h"

#include <windows.h>

#include <memory>
#include <type_traits>

using richtext::FixedMetrics;
using richtext::LeadingNumber;
using richtext::ParseLength;
using richtext::WholeNumber;

namespace {

// 120 pixels per inch, a font 20 high, "x" 9 high.
const FixedMetrics kMetrics(120, 20, 9);

int Length(std::wstring_view value, int current = 16, bool isFontSize = false) {
    return ParseLength(value, current, isFontSize, kMetrics);
}

int FontSize(std::wstring_view value, int current = 16) {
    return Length(value, current, true);
}

} // namespace

TEST(Numbers, LeadingDecimal) {
    EXPECT_EQ(LeadingNumber(L"12px"), 12);
    EXPECT_EQ(LeadingNumber(L" -3x"), -3);
    EXPECT_EQ(LeadingNumber(L"x3"), 0);
    EXPECT_EQ(LeadingNumber(L"0x1F"), 0);
    EXPECT_EQ(LeadingNumber(L"99999999999999999999"), INT_MAX);
}

TEST(Numbers, WholeNumberReadsDecimalHexAndOctal) {
    EXPECT_EQ(WholeNumber(L"42"), 42);
    EXPECT_EQ(WholeNumber(L"0x1Fz"), 31);
    EXPECT_EQ(WholeNumber(L"0X00ff"), 255);
    EXPECT_EQ(WholeNumber(L"017"), 15);
    EXPECT_EQ(WholeNumber(L"019"), 1); // stops at the first non-octal digit
    EXPECT_EQ(WholeNumber(L"0x"), 0);
    EXPECT_EQ(WholeNumber(L"0xFFFFFFFFFFFFFFFFFFFF"), INT64_MAX);
}

TEST(ParseLength, ClassicFontSizesOnlyForFonts) {
    EXPECT_EQ(Length(L"", 33), 33);
    EXPECT_EQ(FontSize(L"1"), 8);
    EXPECT_EQ(FontSize(L"3"), 12);
    EXPECT_EQ(FontSize(L"7"), 36);
    EXPECT_EQ(FontSize(L"8"), 8);
    EXPECT_EQ(Length(L"3"), 3); // only font sizes use the table
}

TEST(ParseLength, PixelsAreTakenAsTheyStand) {
    EXPECT_EQ(FontSize(L"3px"), 3);
    EXPECT_EQ(Length(L"250px"), 250);
    EXPECT_EQ(Length(L"0x10"), 16);
    EXPECT_EQ(Length(L"010"), 8);
}

TEST(ParseLength, RawFontHeightKeepsItsSign) {
    EXPECT_EQ(FontSize(L"-11lf"), -11);
    EXPECT_EQ(FontSize(L"+11lf"), 11);
    EXPECT_EQ(FontSize(L"13lf"), 13);
}

TEST(ParseLength, OtherUnitsDropTheSign) {
    EXPECT_EQ(FontSize(L"-11pt"), FontSize(L"11pt"));
    EXPECT_EQ(FontSize(L"11pt"), 11 * 120 / 72);
    EXPECT_EQ(Length(L"-2"), 2);
}

TEST(ParseLength, DeviceAndFontUnits) {
    EXPECT_EQ(Length(L"2in"), 240);
    EXPECT_EQ(Length(L"3cm"), static_cast<int>(3 * 120 / 2.54));
    EXPECT_EQ(Length(L"7mm"), static_cast<int>(7 * 120 / 25.4));
    EXPECT_EQ(Length(L"2pc"), 40);
    EXPECT_EQ(Length(L"2em"), 40);
    EXPECT_EQ(Length(L"3ex"), 27);
}

TEST(ParseLength, PercentOfTheCurrentValueRounded) {
    EXPECT_EQ(Length(L"65%", 13), 8);   // 8.45
    EXPECT_EQ(Length(L"50%", 13), 7);   // 6.5 rounds up
    EXPECT_EQ(Length(L"65%", -13), -8); // negative heights round the same way
    EXPECT_EQ(Length(L"125%", 16), 20);
    EXPECT_EQ(Length(L"%", 16), 0);
}

TEST(ParseLength, HugeValuesSaturate) {
    EXPECT_EQ(Length(L"99999999999999999999in"), INT_MAX);
    EXPECT_EQ(Length(L"99999999999999999999%", 1000), INT_MAX);
    EXPECT_EQ(Length(L"-99999999999999999999lf"), -INT_MAX);
    EXPECT_EQ(Length(L"0xFFFFFFFFFF"), INT_MAX);
}

// A memory device context with a font selected, both released at the end of the scope.
class FontDc {
public:
    explicit FontDc(int height) : dc_(::CreateCompatibleDC(nullptr), &::DeleteDC) {
        LOGFONTW description{};
        description.lfHeight = height;
        wcscpy_s(description.lfFaceName, L"Tahoma");
        font_ = platform::UniqueFont(::CreateFontIndirectW(&description));
        previous_ = ::SelectObject(dc_.get(), font_.Get());
    }
    ~FontDc() { ::SelectObject(dc_.get(), previous_); }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    HDC Get() const { return dc_.get(); }

private:
    std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&::DeleteDC)> dc_;
    platform::UniqueFont font_;
    HGDIOBJ previous_ = nullptr;
};

TEST(DcMetrics, MeasuresTheSelectedFont) {
    const FontDc dc(-20);
    ASSERT_NE(dc.Get(), nullptr);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(::GetTextMetricsW(dc.Get(), &metrics));
    const richtext::DcMetrics dcMetrics(dc.Get());
    EXPECT_EQ(dcMetrics.PixelsPerInch(), ::GetDeviceCaps(dc.Get(), LOGPIXELSY));
    EXPECT_EQ(dcMetrics.FontHeight(), metrics.tmHeight);
    EXPECT_GT(dcMetrics.XHeight(), 0);
    EXPECT_EQ(ParseLength(L"2em", 0, true, dcMetrics), 2 * metrics.tmHeight);
    EXPECT_EQ(ParseLength(L"1in", 0, false, dcMetrics), ::GetDeviceCaps(dc.Get(), LOGPIXELSY));
}
