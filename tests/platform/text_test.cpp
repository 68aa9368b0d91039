#include "platform/text.h"

#include <gtest/gtest.h>

using platform::ReadDecimal;

TEST(ReadDecimal, ReadsLikeTheCLibraryWithMinusOneAsAllBitsSet) {
    EXPECT_EQ(ReadDecimal("  42xyz"), 42u);
    EXPECT_EQ(ReadDecimal("+7"), 7u);
    EXPECT_EQ(ReadDecimal("abc"), 0u);
    EXPECT_EQ(ReadDecimal(""), 0u);
    EXPECT_EQ(ReadDecimal(L"\t12 3"), 12u);
    EXPECT_EQ(ReadDecimal("-1"), 0xFFFFFFFFu);
}

TEST(FormatWide, TakesWideAndNarrowArgumentsAndGrowsPastItsFirstBuffer) {
    EXPECT_EQ(platform::FormatWide(L"%ls-%hs-%u", L"w", "n", 5u), L"w-n-5");
    // A plain %s is wide, as in the resource texts.
    EXPECT_EQ(platform::FormatWide(L"Failed. %s", L"disk full"), L"Failed. disk full");
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(platform::FormatWide(L"<%ls>", longText.c_str()), L"<" + longText + L">");
}

TEST(TextConversion, Utf8RoundTrip) {
    const std::wstring text = L"Gr\u00fc\u00dfe \u041f\u0440\u0438\u0432\u0435\u0442";
    EXPECT_EQ(platform::WideFromUtf8(platform::Utf8FromWide(text)), text);
}
