// Which installed record the command-line ids choose.

#include "wizard/command_line_product.h"

#include <gtest/gtest.h>

namespace {

InstalledProduct Product(uint32_t reseller, uint32_t id, const wchar_t* name) {
    InstalledProduct product;
    product.resellerId = reseller;
    product.productId = id;
    product.displayName = name;
    return product;
}

StartupSettings Ids(uint32_t reseller, uint32_t given, uint32_t mapped) {
    StartupSettings settings;
    settings.resellerId = reseller;
    settings.productId = given;
    settings.mappedProductId = mapped;
    return settings;
}

TEST(CommandLineProduct, TheMappedIdComesFirstThenTheGivenOneOfTheSameReseller) {
    InstalledProductList list(true);
    list.Append(Product(2, 6, L"other reseller"));
    list.Append(Product(1, 4, L"given id"));
    list.Append(Product(1, 6, L"first"));
    list.Append(Product(1, 6, L"second"));
    EXPECT_EQ(FindCommandLineProduct(list, Ids(1, 6, 6)), 2u) << "the first of two equal records";
    EXPECT_EQ(FindCommandLineProduct(list, Ids(1, 4, 6)), 2u);
    EXPECT_EQ(FindCommandLineProduct(list, Ids(1, 4, 9)), 1u);
    EXPECT_FALSE(FindCommandLineProduct(list, Ids(0, 6, 6)).has_value());
    EXPECT_FALSE(FindCommandLineProduct(InstalledProductList(true), Ids(1, 6, 6)).has_value());
}

} // namespace
