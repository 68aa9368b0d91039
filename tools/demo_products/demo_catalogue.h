#pragma once
// The demo's products: what is installed, and what the demo update site offers for each.

#include "tools/demo_products/product_registration.h"

#include <cstdint>

namespace demo {

struct DemoProduct {
    const char* family;
    uint32_t installCode;
    uint32_t keyProductId;
    const wchar_t* folder;
    const wchar_t* programFile;
    const char* name; // as the update site names it
    const char* version;
    const char* build;
    ProductDate date;
    // What the site offers: a newer build, or the installed one (up to date).
    const char* offeredVersion;
    const char* offeredBuild;
    ProductDate offeredDate;
    // False: the site has no section for the product at all.
    bool offered = true;
};

// Kovra and Tessel a little behind what the site offers, Brisk Backup up to date, and Lumen,
// for which the site offers nothing.
inline constexpr DemoProduct kDemoProducts[] = {
    {"Kovra",
     0x0001,
     6,
     L"Kovra",
     L"kovra.exe",
     "Kovra",
     "5.2",
     "1200",
     {2026, 3, 14},
     "5.3",
     "1250",
     {2026, 11, 30}},
    {"Tessel",
     0x0001,
     22,
     L"Tessel",
     L"ktessel.exe",
     "Tessel",
     "3.1",
     "870",
     {2025, 11, 2},
     "3.2",
     "901",
     {2026, 10, 12}},
    {"Brisk",
     0x0001,
     32,
     L"Brisk Backup",
     L"kbrisk.exe",
     "Brisk Backup",
     "2.0",
     "415",
     {2026, 1, 20},
     "2.0",
     "415",
     {2026, 1, 20}},
    {"Lumen",
     0x0001,
     1,
     L"Lumen",
     L"klumen.exe",
     "Lumen",
     "1.4",
     "88",
     {2025, 6, 3},
     "1.4",
     "88",
     {2025, 6, 3},
     false},
};

inline constexpr wchar_t kDemoRoot[] = L"C:\\Program Files\\Velk Demo";

} // namespace demo
