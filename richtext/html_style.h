#pragma once
// The state one run of marked-up text is drawn with, and its built-in defaults.

#include "richtext/shared_text.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace richtext {

enum HorizontalAlign : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2, kAlignJustify = 3 };
enum VerticalAlign : int { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2, kAlignBaseline = 3 };
enum BorderStyle : int {
    kBorderNone = 0,
    kBorderSolid = 1,
    kBorderDashed = 2,
    kBorderDotted = 3,
    kBorderDouble = 6
};
enum TextTransform : int {
    kTransformNone = 0,
    kTransformUppercase = 1,
    kTransformLowercase = 2,
    kTransformCapitalize = 3
};
enum LinkKind : int { kLinkNone = 0, kLinkHref = 1, kLinkMessage = 2 };

constexpr int kBackgroundTransparent = TRANSPARENT; // 1
constexpr int kBackgroundOpaque = OPAQUE;           // 2
constexpr int kEffectTransparent = -1;
constexpr int kEffectSolid = 0;

struct HtmlStyle {
    std::wstring name; // closing key of the element that opened this level
    int overline = 0;
    int height = 16; // as in a font description: positive cell height, negative character height
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = FW_NORMAL;
    BYTE italic = 0;
    BYTE underline = 0;
    BYTE strikeout = 0;
    BYTE charset = DEFAULT_CHARSET;
    BYTE outPrecision = 0;
    BYTE clipPrecision = 0;
    BYTE quality = 0;
    BYTE pitchAndFamily = 0;
    std::wstring face = L"Verdana";
    COLORREF color = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    COLORREF borderColorLight = RGB(0, 0, 0);
    COLORREF borderColorDark = RGB(0, 0, 0);
    COLORREF backgroundMiddleColor = RGB(255, 255, 255);
    COLORREF backgroundEndColor = RGB(255, 255, 255);
    int backgroundMode = kBackgroundTransparent;
    int backgroundEffect = kEffectTransparent;
    SharedText backgroundImage; // a table's `background`, shared by the levels inside it
    int horizontalAlign = kAlignLeft;
    int verticalAlign = kAlignBaseline;
    int borderStyle = kBorderNone;
    int borderWidth = 0;
    int cellWidth = 0; // pixels, or percent when cellWidthPercent is set
    int cellHeight = 0;
    bool cellWidthPercent = false;
    bool cellHeightPercent = false;
    int textTransform = kTransformNone;
    int cellPadding = 2;
    int cellSpacing = 0;
    int linkKind = kLinkNone;
    SharedText linkTarget; // shared by every level and piece inside the link

    bool operator==(const HtmlStyle&) const = default;
};

// A font description holds LF_FACESIZE - 1 characters of a face: the rest is dropped at once,
// as it would otherwise be copied with every saved level and never used.
void SetFace(HtmlStyle& style, std::wstring_view face);

// Fills `style` with the built-in defaults.
void ResetStyle(HtmlStyle& style);

// The font description the layout builds its font from.
LOGFONTW FontDescription(const HtmlStyle& style);

} // namespace richtext
