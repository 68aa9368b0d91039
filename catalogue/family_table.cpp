#include "catalogue/family_table.h"

#include "platform/text.h"

namespace {

struct FamilyRange {
    uint32_t low;
    uint32_t high;
    ProductFamily family;
};

constexpr FamilyRange kFamilyTable[] = {
    {0, 0, {"Kovra", true}},         {2, 15, {"Kovra", true}},   {40, 63, {"Kovra", true}},
    {2304, 2367, {"Kovra", true}},   {16, 22, {"Tessel", true}}, {1, 1, {"Lumen", true}},
    {26, 31, {"Quill", true}},       {32, 32, {"Brisk", true}},  {1280, 1343, {"Orrin", true}},
    {1088, 1096, {"Fathom", false}},
};

} // namespace

std::optional<ProductFamily> FamilyOfProduct(uint32_t productId) {
    for (const FamilyRange& row : kFamilyTable) {
        if (productId >= row.low && productId <= row.high)
            return row.family;
    }
    return std::nullopt;
}

std::optional<std::string> ProductKeyPath(uint32_t installCode, uint32_t productId) {
    const auto family = FamilyOfProduct(productId);
    if (!family)
        return std::nullopt;
    if (!family->perInstallationSubKey)
        return platform::FormatAnsi("SOFTWARE\\%s\\%s", kMakerKeyName, family->keyName);
    return platform::FormatAnsi("SOFTWARE\\%s\\%s\\%.4X%.4X", kMakerKeyName, family->keyName,
                                installCode, productId);
}
