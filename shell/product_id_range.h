#pragma once
// The table that maps the product ids of a product's editions onto the id that its updates use.

#include <cstdint>
#include <span>

struct ProductIdRange {
    uint32_t low;
    uint32_t high;
    uint32_t baseId; // carried for other users of the table
    uint32_t mappedId;
};

// The 23 rows, in search order.
std::span<const ProductIdRange> ProductIdRangeTable();

// The mapped id of the first row whose inclusive range holds the low 16 bits of `productId`;
// an id in no row maps to itself.
uint32_t MapProductId(uint32_t productId);
