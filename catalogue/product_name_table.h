#pragma once
// The built-in names of the maker's products, by language, reseller and kind.

#include <cstdint>
#include <span>
#include <string>

inline constexpr uint32_t kAnyNameField = 0xFFFFFFFF;

// A language code's first four bytes, the first byte in the lowest bits, missing bytes 0.
constexpr uint32_t PackLanguage(std::string_view code) {
    uint32_t packed = 0;
    for (size_t i = 0; i < 4 && i < code.size(); ++i)
        packed |= static_cast<uint32_t>(static_cast<unsigned char>(code[i])) << (8 * i);
    return packed;
}

struct ProductNameRow {
    uint32_t language;   // packed, or kAnyNameField
    uint32_t resellerId; // or kAnyNameField
    uint32_t kind;       // 0 standard, 1 emergency, or kAnyNameField
    uint32_t productId;
    const wchar_t* displayName;
};

struct ProductNameKey {
    uint32_t language; // packed
    uint32_t resellerId;
    uint32_t kind;
    uint32_t productId;
};

std::span<const ProductNameRow> ProductNameTable();

// The best-scoring row's name (later rows win ties); empty when no row qualifies.
std::wstring LookUpProductName(std::span<const ProductNameRow> table, const ProductNameKey& key);
std::wstring LookUpProductName(const ProductNameKey& key);

// The range of product ids that the scan tries: the smallest and the largest id of the rows
// that name a product for any language and any reseller.
struct ProductIdSpan {
    uint32_t smallest;
    uint32_t largest;
};
ProductIdSpan GenericProductIdSpan(std::span<const ProductNameRow> table);
