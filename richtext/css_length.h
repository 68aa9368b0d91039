#pragma once
// Lengths of the markup: pixels, font-relative and physical units, percentages and the classic
// font sizes 1..7.

#include <windows.h>

#include <string_view>

namespace richtext {

// What the units measure against: the device and the font of the moment.
class CssMetrics {
public:
    virtual ~CssMetrics() = default;
    virtual int PixelsPerInch() const = 0; // vertical
    virtual int FontHeight() const = 0;
    virtual int XHeight() const = 0; // height of the text extent of "x"
};

// Reads the device context's resolution and the font currently selected into it.
class DcMetrics final : public CssMetrics {
public:
    explicit DcMetrics(HDC dc) : dc_(dc) {}
    int PixelsPerInch() const override;
    int FontHeight() const override;
    int XHeight() const override;

private:
    HDC dc_;
};

// Fixed figures, for measuring without a device.
class FixedMetrics final : public CssMetrics {
public:
    FixedMetrics(int pixelsPerInch, int fontHeight, int xHeight)
        : pixelsPerInch_(pixelsPerInch), fontHeight_(fontHeight), xHeight_(xHeight) {}
    int PixelsPerInch() const override { return pixelsPerInch_; }
    int FontHeight() const override { return fontHeight_; }
    int XHeight() const override { return xHeight_; }

private:
    int pixelsPerInch_;
    int fontHeight_;
    int xHeight_;
};

// `value` as a length, or `current` when it is empty. With `isFontSize` a number 1..7 without a
// unit is a classic font size. Results that do not fit an int saturate.
int ParseLength(std::wstring_view value, int current, bool isFontSize, const CssMetrics& metrics);

// A percentage `percent` of `current`, rounded to the nearest integer.
int PercentOf(int current, int percent);

} // namespace richtext
