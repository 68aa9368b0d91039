#pragma once
// The 16-bit installation code of a product's registry key: edition, CD flag and reseller.

#include <cstdint>
#include <string>

struct InstallCode {
    uint32_t edition = 0;    // bits 12 to 15
    bool cdVersion = false;  // bit 10
    uint32_t resellerId = 0; // bits 0 to 7

    static InstallCode FromCode(uint32_t code) {
        return {(code >> 12) & 0xF, (code & 0x400) != 0, code & 0xFF};
    }
    uint32_t Code() const { return (cdVersion ? 0x400u : 0u) + 4096u * edition + resellerId; }
};

// The short label of an edition; empty for editions without one.
const wchar_t* EditionLabel(uint32_t edition);

// The display name's suffix for the edition and CD flag, " [label, CD Version]", or empty.
std::wstring EditionSuffix(const InstallCode& code);
