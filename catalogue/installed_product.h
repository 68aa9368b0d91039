#pragma once
// One installed product of the family, with the offer and outcome of its update.

#include <cstdint>
#include <string>

// Status codes in the low byte of `InstalledProduct::state`. Readers test bits: 0x2 and 0x4
// together mean an update is available, 0x4 a package was downloaded (and later installed).
enum ProductStatus : uint32_t {
    kStatusNotExamined = 0,
    kStatusNotUpdated = 1,
    kStatusUpToDate = 2,
    kStatusNoOfferedBuild = 3,
    kStatusDownloaded = 4, // and, after the installation, updated
    kStatusUpdateAvailable = 6,
};

inline constexpr uint32_t kStatusMask = 0xFF;
inline constexpr uint32_t kSelectedFlag = 0x1000;
// The downloaded package was not the one published (its SHA-256 differed) and was deleted; the
// status stays 6 and `statusText` says why.
inline constexpr uint32_t kPackageRejectedFlag = 0x2000;

struct BuildDate {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    bool IsKnown() const { return year != 0 || month != 0 || day != 0; }
};

struct InstalledProduct {
    bool wtlVariant = false;
    std::wstring displayName;
    std::wstring packagePath;
    uint32_t productId = 0;
    uint32_t keyProductId = 0;
    uint32_t versionMajor = 0;
    uint32_t versionMinor = 0;
    uint32_t build = 0;
    uint32_t resellerId = 0;
    uint32_t installCode = 0;
    BuildDate buildDate;
    std::wstring installFolder;
    std::string language;
    std::wstring offeredName;
    uint32_t offeredMajor = 0;
    uint32_t offeredMinor = 0;
    uint32_t offeredBuild = 0;
    std::wstring statusText;
    int32_t offeredIndex = -1;
    uint32_t state = kStatusNotExamined;

    uint32_t Status() const { return state & kStatusMask; }
    // Replaces the status code and keeps the flag bits.
    void SetStatus(uint32_t status) { state = (state & ~kStatusMask) | (status & kStatusMask); }
    bool IsSelected() const { return (state & kSelectedFlag) != 0; }
    void SetSelected(bool selected) {
        state = selected ? (state | kSelectedFlag) : (state & ~kSelectedFlag);
    }
};
