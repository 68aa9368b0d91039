#include "wizard/transfer_text.h"

#include "platform/resource_strings.h"
#include "platform/text.h"
#include "resources/resource_ids.h"

#include <cmath>

namespace {

constexpr const wchar_t* kUnits[] = {L" KB", L" MB", L" GB", L" TB", L" PB"};

// The duration string of a pair of counts: the strings run singular-singular, singular-plural,
// plural-singular, plural-plural from `first`.
const wchar_t* DurationFormat(UINT first, uint32_t larger, uint32_t smaller) {
    return platform::ResourceString(first + (larger == 1 ? 0 : 2) + (smaller == 1 ? 0 : 1)).c_str();
}

} // namespace

std::wstring FormatByteSize(uint64_t bytes) {
    if (bytes == 0)
        return L"0";
    if (bytes < 1024)
        return platform::FormatWide(L"%.i B", static_cast<int>(bytes));
    double quotient = static_cast<double>(bytes);
    int divisions = 0;
    while (quotient >= 1024 && divisions < 5) {
        quotient /= 1024;
        ++divisions;
    }
    const wchar_t* unit = kUnits[divisions - 1];
    if (quotient == std::floor(quotient))
        return platform::FormatWide(L"%.0f%ls", quotient, unit);
    return platform::FormatWide(L"%.1f%ls", quotient, unit);
}

std::wstring FormatDuration(uint32_t seconds) {
    if (seconds < 60) {
        const UINT id = seconds == 1 ? IDS_DURATION_SECOND : IDS_DURATION_SECONDS;
        return platform::FormatWide(platform::ResourceString(id).c_str(), seconds);
    }
    if (seconds < 3600) {
        const uint32_t minutes = seconds / 60;
        const uint32_t rest = seconds % 60;
        return platform::FormatWide(DurationFormat(IDS_DURATION_MINUTE_SECOND, minutes, rest),
                                    minutes, rest);
    }
    const uint32_t hours = seconds / 3600;
    const uint32_t minutes = seconds % 3600 / 60;
    return platform::FormatWide(DurationFormat(IDS_DURATION_HOUR_MINUTE, hours, minutes), hours,
                                minutes);
}
