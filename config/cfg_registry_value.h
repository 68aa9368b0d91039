#pragma once
// Conversion of configuration values to registry data and back.

#include "config/cfg_value_tree.h"

#include <windows.h>

#include <optional>

// Largest registry value the storage reads; anything bigger is not configuration.
inline constexpr DWORD kCfgRegistryValueLimit = 16u << 20;

struct CfgRegistryData {
    DWORD type = REG_BINARY;
    CfgBytes bytes;
};

// The registry form of a value of configuration type `type`; nothing when it has none (an
// integer of no or more than 8 bytes, a wide string of an odd size).
std::optional<CfgRegistryData> CfgToRegistry(DWORD type, const CfgBytes& data);

// The configuration form of registry data: strings become wide strings without terminator,
// DWORD and QWORD values unsigned integers, everything else binary.
CfgLoadedValue CfgFromRegistry(const std::string& name, DWORD registryType, CfgBytes bytes);
