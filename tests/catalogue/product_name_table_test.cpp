// Product names: the scoring of rows and the guarantee of the built-in table.

#include "catalogue/product_name_table.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kAny = kAnyNameField;
constexpr uint32_t kDe = PackLanguage("de");

TEST(ProductNameLookup, LaterRowWinsATie) {
    const ProductNameRow table[] = {{kAny, kAny, kAny, 6, L"first"},
                                    {kAny, kAny, kAny, 6, L"second"}};
    EXPECT_EQ(LookUpProductName(table, {kDe, 1, 0, 6}), L"second");
}

TEST(ProductNameLookup, ResellerRowBeatsLanguageRowWhereverItStands) {
    const ProductNameRow table[] = {{kAny, 7, kAny, 6, L"reseller"},
                                    {kDe, kAny, kAny, 6, L"german"},
                                    {kAny, kAny, kAny, 6, L"generic"}};
    EXPECT_EQ(LookUpProductName(table, {kDe, 7, 0, 6}), L"reseller");
    EXPECT_EQ(LookUpProductName(table, {kDe, 8, 0, 6}), L"german");
    EXPECT_EQ(LookUpProductName(table, {PackLanguage("fr"), 8, 0, 6}), L"generic");
}

TEST(ProductNameLookup, KindAndLanguageAddUp) {
    const ProductNameRow table[] = {{kDe, 7, kAny, 6, L"reseller german"},
                                    {kAny, kAny, 0, 6, L"standard"},
                                    {kAny, kAny, 1, 6, L"emergency"}};
    // Kind 0 scores 15 against 14 for reseller and language.
    EXPECT_EQ(LookUpProductName(table, {kDe, 7, 0, 6}), L"standard");
    EXPECT_EQ(LookUpProductName(table, {kDe, 7, 1, 6}), L"emergency");
}

TEST(ProductNameLookup, NoQualifyingRowGivesNoName) {
    const ProductNameRow table[] = {{kDe, kAny, kAny, 6, L"german"}, {kAny, 7, kAny, 6, L"seven"}};
    EXPECT_EQ(LookUpProductName(table, {PackLanguage("en"), 1, 0, 6}), L"");
    EXPECT_EQ(LookUpProductName(table, {kDe, 1, 0, 9}), L"");
}

TEST(ProductNameLookup, LanguageComparesTheFirstFourBytes) {
    EXPECT_EQ(PackLanguage("de-AT-x"), PackLanguage("de-A"));
    const ProductNameRow table[] = {{kAny, kAny, kAny, 6, L"generic"},
                                    {kDe, kAny, kAny, 6, L"german"}};
    EXPECT_EQ(LookUpProductName(table, {PackLanguage("de-AT"), 0, 0, 6}), L"generic");
}

TEST(BuiltInProductNames, EveryUpdatableIdHasANameForAnyLanguageAndReseller) {
    const uint32_t updatable[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 16, 18, 20, 22, 32};
    const char* languages[] = {"en", "de", "fr", "ru", "es", "it", "pl", "ja", "zz", "", "en-US"};
    for (const uint32_t id : updatable) {
        for (const char* language : languages) {
            for (uint32_t reseller = 0; reseller <= 255; ++reseller)
                ASSERT_FALSE(LookUpProductName({PackLanguage(language), reseller, 0, id}).empty())
                    << id << " " << language << " " << reseller;
        }
    }
}

} // namespace
