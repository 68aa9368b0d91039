#include "shell/product_id_range.h"

#include <array>

namespace {

constexpr std::array<ProductIdRange, 23> kRanges = {{
    {0, 0, 0, 6},
    {1, 1, 1, 1},
    {2, 7, 0, 6},
    {16, 22, 17, 22},
    {26, 26, 26, 26},
    {32, 32, 32, 32},
    {40, 42, 40, 41},
    {46, 48, 46, 47},
    {56, 57, 56, 56},
    {58, 58, 58, 58},
    {2304, 2305, 2304, 2304},
    {256, 257, 256, 257},
    {258, 259, 258, 259},
    {512, 514, 512, 513},
    {768, 769, 768, 769},
    {778, 779, 778, 779},
    {1088, 1089, 1088, 1088},
    {1280, 1280, 1280, 1280},
    {1281, 1281, 1281, 1281},
    {1282, 1282, 1282, 1282},
    {1283, 1283, 1283, 1283},
    {1284, 1284, 1284, 1284},
    {2048, 2049, 2048, 2048},
}};

} // namespace

std::span<const ProductIdRange> ProductIdRangeTable() {
    return kRanges;
}

uint32_t MapProductId(uint32_t productId) {
    const uint32_t low16 = productId & 0xFFFF;
    for (const ProductIdRange& range : kRanges) {
        if (low16 >= range.low && low16 <= range.high)
            return range.mappedId;
    }
    return productId;
}
