#pragma once
// How registry storage paths and value names map onto registry keys and values.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Longest key path and value name the registry storage accepts.
inline constexpr size_t kCfgRegistryNameLimit = 255;

struct CfgRegistryLocation {
    HKEY root = nullptr; // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    REGSAM view = 0;     // KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0
    std::wstring baseKey;
};

// Parses "[32:|64:]HKCU\key" or "[32:|64:]HKLM\key" (prefixes exactly in upper case). Nothing
// for any other root. `system64` says whether the system is 64-bit, which "64:" needs.
std::optional<CfgRegistryLocation> ParseCfgRegistryPath(std::string_view path, bool system64);

struct CfgRegistryName {
    std::wstring key;   // the base key, with the name's key part appended
    std::wstring value; // the registry value name
};

// Splits a value name at its last "\" or "/". Nothing when the key path or the value name is
// longer than the registry storage accepts.
std::optional<CfgRegistryName> SplitCfgRegistryName(const std::wstring& baseKey,
                                                    std::string_view name);

// Whether the system runs 64-bit Windows (also when this process is 32-bit).
bool CfgSystemIs64Bit();
