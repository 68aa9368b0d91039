#pragma once
// Where the installer of each product id writes its registry key.

#include <cstdint>
#include <optional>
#include <string>

// The maker's key below HKEY_LOCAL_MACHINE\SOFTWARE.
inline constexpr char kMakerKeyName[] = "Velk";

struct ProductFamily {
    const char* keyName;
    // True: each installation has a sub-key named after its installation code and product id;
    // false: the values lie in the family key itself.
    bool perInstallationSubKey;
};

// The family of a product id; nothing when the id has no registry location.
std::optional<ProductFamily> FamilyOfProduct(uint32_t productId);

// "SOFTWARE\Velk\<family>\<code><id>" (or the family key alone for families without sub-keys);
// nothing when the id has no registry location.
std::optional<std::string> ProductKeyPath(uint32_t installCode, uint32_t productId);
