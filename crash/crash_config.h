#pragma once
// The crash handler's configuration: a fixed record that products of the family fill in and hand
// to InstallCrashHandler. Its layout is shared with them, so every field has a fixed size.

#include <cstddef>
#include <cstdint>

namespace crash {

constexpr std::size_t kConfigTextSize = 128;

// Bits of CrashHandlerConfig::flags.
enum CrashFlags : std::uint32_t {
    // No crash dialog and no mail: the report is written (and saved to `reportCopyPath` when
    // that is set) and the process ends at once. For unattended runs and the tests.
    kCrashFlagSilent = 0x1,
};

// All texts are 8-bit and zero-terminated.
struct CrashHandlerConfig {
    std::uint32_t flags;                      // CrashFlags; 0 for the interactive handler
    char supportAddress[kConfigTextSize];     // the mail recipient
    char applicationName[kConfigTextSize];    // "Velk Update Wizard"
    char reportCopyPath[kConfigTextSize];     // a file that gets a copy of the report
    char mailLibrary[kConfigTextSize];        // the system's mail library; empty for MAPI32.DLL
    char versionText[kConfigTextSize];        // "v1.0 Build 10028"
    char operatingSystem[kConfigTextSize];    // description of the operating system
    char machine[kConfigTextSize];            // description of the machine
    std::uint32_t embeddedMinidumpType;       // MINIDUMP_TYPE bits; 0 for none
    std::uint32_t keptMinidumpType;           // MINIDUMP_TYPE bits; 0 for none
    char keptMinidumpFolder[kConfigTextSize]; // where kept minidumps go
};

static_assert(sizeof(CrashHandlerConfig) == 1036 &&
                  offsetof(CrashHandlerConfig, supportAddress) == 4 &&
                  offsetof(CrashHandlerConfig, machine) == 772 &&
                  offsetof(CrashHandlerConfig, embeddedMinidumpType) == 900 &&
                  offsetof(CrashHandlerConfig, keptMinidumpFolder) == 908,
              "the record's layout is shared with products");

// Copies `text` into a field, cutting it to fit and always terminating it.
void SetConfigText(char (&field)[kConfigTextSize], const char* text);

} // namespace crash
