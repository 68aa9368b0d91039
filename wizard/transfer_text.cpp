#include "wizard/transfer_text.h"

#include "platform/text.h"

#include <cmath>

namespace {

constexpr const wchar_t* kUnits[] = {L" KB", L" MB", L" GB", L" TB", L" PB"};

const wchar_t* Plural(uint32_t count, const wchar_t* one, const wchar_t* many) {
    return count == 1 ? one : many;
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
    if (seconds < 60)
        return platform::FormatWide(L"%u %ls", seconds, Plural(seconds, L"second", L"seconds"));
    if (seconds < 3600) {
        const uint32_t minutes = seconds / 60;
        const uint32_t rest = seconds % 60;
        return platform::FormatWide(L"%u %ls %u %ls", minutes,
                                    Plural(minutes, L"minute", L"minutes"), rest,
                                    Plural(rest, L"second", L"seconds"));
    }
    const uint32_t hours = seconds / 3600;
    const uint32_t minutes = seconds % 3600 / 60;
    return platform::FormatWide(L"%u %ls %u %ls", hours, Plural(hours, L"hour", L"hours"), minutes,
                                Plural(minutes, L"minute", L"minutes"));
}
