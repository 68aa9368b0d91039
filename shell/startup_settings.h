#pragma once
// The program-wide settings taken from the command line.

#include <cstdint>

// The value of an id that the command line did not give.
inline constexpr uint32_t kIdNotGiven = 0xFFFFFFFF;

struct StartupSettings {
    bool hidden = false;
    uint32_t resellerId = kIdNotGiven;
    uint32_t productId = kIdNotGiven;
    uint32_t mappedProductId = kIdNotGiven;

    // The ids count as given only when both the reseller id and the mapped product id are.
    bool IdsPresent() const { return resellerId != kIdNotGiven && mappedProductId != kIdNotGiven; }
};

// The one instance. Written while the command line is parsed (before any other thread exists)
// and, for the two product ids, by the installed-products reader; read everywhere else.
StartupSettings& TheStartupSettings();
