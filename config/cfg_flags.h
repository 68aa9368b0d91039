#pragma once
// Type codes and flag bits shared by the configuration, its value tree and its storages.

#include <windows.h>

// Type codes of configuration values.
inline constexpr DWORD kCfgTypeBinary = 0;
inline constexpr DWORD kCfgTypeUnsigned = 16;   // 1..8 bytes, little-endian
inline constexpr DWORD kCfgTypeSigned = 17;     // 1..8 bytes, little-endian, two's complement
inline constexpr DWORD kCfgTypeString = 32;     // 8-bit text in the system code page
inline constexpr DWORD kCfgTypeWideString = 33; // UTF-16 text

// Storage flags given to AddStorage.
inline constexpr DWORD kCfgStorageRegistry = 0x00000001;
inline constexpr DWORD kCfgStorageFile = 0x00000004;
inline constexpr DWORD kCfgStorageMemory = 0x00000008;
inline constexpr DWORD kCfgFormatText = 0x00000040;
inline constexpr DWORD kCfgFormatBinary = 0x00000080;
inline constexpr DWORD kCfgLoadAtOnce = 0x01000000;
inline constexpr DWORD kCfgCreateFolder = 0x02000000;

// Value flags. The low 24 bits say which storages a value belongs to.
inline constexpr DWORD kCfgMembershipMask = 0x00FFFFFF;
inline constexpr DWORD kCfgSetDefault = 0x04000000; // SetValue: set the default data
inline constexpr DWORD kCfgChanged = 0x08000000;    // changed and not yet saved
inline constexpr DWORD kCfgNoSave = 0x08000000;     // SetValue: keep the change, do not save yet
// Either bit in SetValue's flags suppresses the immediate save.
inline constexpr DWORD kCfgSaveSuppressed = kCfgSetDefault | kCfgNoSave;
inline constexpr DWORD kCfgSetByCaller = 0x20000000;
// Our own mark: the storages have been asked for this value already.
inline constexpr DWORD kCfgLookedUp = 0x40000000;
// What SetValue keeps of the caller's flags, and what it adds.
inline constexpr DWORD kCfgCallerFlagsMask = 0x1CFFFFFF;
inline constexpr DWORD kCfgSetValueAdds = 0x28000000;

// A storage takes part in a value when their flags share bits both in the low byte and in bits
// 8..23 (so a storage is chosen by kind and by group at once).
constexpr bool CfgFlagsMatch(DWORD valueFlags, DWORD storageFlags) {
    const DWORD common = valueFlags & storageFlags;
    return (common & 0x000000FF) != 0 && (common & 0x00FFFF00) != 0;
}
