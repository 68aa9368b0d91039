// Product names: the scoring of rows and the guarantee of the built-in table.

#include "catalogue/product_name_table.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kAny = kAnyNameField;
constexpr uint32_t kDe = PackLanguage("de");

TEST(ProductNameLookup, TheBestScoringRowWinsAndTheLaterOneOnATie) {
    const ProductNameRow table[] = {
        {kAny, kAny, kAny, 6, L"generic"}, {kDe, kAny, kAny, 6, L"german"},
        {kAny, 7, kAny, 6, L"reseller"},   {kDe, 7, kAny, 6, L"reseller german"},
        {kAny, kAny, kAny, 9, L"first"},   {kAny, kAny, kAny, 9, L"second"},
        {kDe, kAny, kAny, 10, L"german"},  {kDe, 7, kAny, 12, L"reseller german"},
        {kAny, kAny, 0, 12, L"standard"},  {kAny, kAny, 1, 12, L"emergency"}};
    const uint32_t fr = PackLanguage("fr");
    const struct {
        ProductNameKey key;
        const wchar_t* name;
    } kCases[] = {{{kDe, 7, 0, 6}, L"reseller german"},
                  {{fr, 7, 0, 6}, L"reseller"}, // a reseller scores above a language
                  {{kDe, 8, 0, 6}, L"german"},
                  {{fr, 8, 0, 6}, L"generic"},
                  {{PackLanguage("de-AT"), 8, 0, 6}, L"generic"}, // the first four bytes count
                  {{kDe, 1, 0, 9}, L"second"},
                  {{fr, 1, 0, 10}, L""},
                  {{kDe, 1, 0, 11}, L""},
                  {{kDe, 7, 0, 12}, L"standard"}, // a kind scores above reseller and language
                  {{kDe, 7, 1, 12}, L"emergency"}};
    for (const auto& c : kCases)
        EXPECT_EQ(LookUpProductName(table, c.key), c.name) << "case " << &c - kCases;
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
