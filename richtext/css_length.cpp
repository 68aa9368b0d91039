#include "richtext/css_length.h"

#include "richtext/css_number.h"

#include <cmath>
#include <cstdint>

namespace richtext {
namespace {

int ClassicFontSize(int64_t size) {
    static constexpr int kSizes[] = {8, 10, 12, 14, 18, 24, 36};
    return kSizes[size - 1];
}

int Times(int64_t n, int factor) {
    return ClampToInt(n * factor);
}

// n * pixels per inch / divisor in floating point, truncated.
int PhysicalLength(int64_t n, int pixelsPerInch, double divisor) {
    const double length = static_cast<double>(n) * pixelsPerInch / divisor;
    if (length >= 2147483647.0)
        return 2147483647;
    if (length <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(length);
}

} // namespace

int DcMetrics::PixelsPerInch() const {
    return ::GetDeviceCaps(dc_, LOGPIXELSY);
}

int DcMetrics::FontHeight() const {
    TEXTMETRICW metrics{};
    return ::GetTextMetricsW(dc_, &metrics) ? metrics.tmHeight : 0;
}

int DcMetrics::XHeight() const {
    SIZE size{};
    return ::GetTextExtentPoint32W(dc_, L"x", 1, &size) ? size.cy : 0;
}

int PercentOf(int current, int percent) {
    const int64_t product = int64_t{current} * percent;
    const int64_t half = product < 0 ? -50 : 50;
    return ClampToInt((product + half) / 100);
}

int ParseLength(std::wstring_view value, int current, bool isFontSize, const CssMetrics& metrics) {
    if (value.empty())
        return current;
    if (value.back() == L'%')
        return PercentOf(current, LeadingNumber(value.substr(0, value.size() - 1)));
    bool negative = false;
    if (value.front() == L'+' || value.front() == L'-') {
        negative = value.front() == L'-';
        value.remove_prefix(1);
    }
    const int64_t n = LeadingNumber(value);
    const std::wstring_view unit = value.size() >= 2 ? value.substr(value.size() - 2) : L"";
    if (unit == L"lf")
        return ClampToInt(negative ? -n : n);
    if (unit == L"ex")
        return Times(n, metrics.XHeight());
    if (unit == L"em")
        return Times(n, metrics.FontHeight());
    if (unit == L"in")
        return Times(n, metrics.PixelsPerInch());
    if (unit == L"cm")
        return PhysicalLength(n, metrics.PixelsPerInch(), 2.54);
    if (unit == L"mm")
        return PhysicalLength(n, metrics.PixelsPerInch(), 25.4);
    if (unit == L"pt")
        return ClampToInt(n * metrics.PixelsPerInch() / 72);
    if (unit == L"pc")
        return ClampToInt(n * metrics.PixelsPerInch() / 6);
    // An explicit "px" asks for pixels, so only a number without it is a classic size.
    const int64_t whole = WholeNumber(value);
    if (isFontSize && unit != L"px" && whole >= 1 && whole <= 7)
        return ClassicFontSize(whole);
    return ClampToInt(whole < 0 ? -whole : whole);
}

} // namespace richtext
