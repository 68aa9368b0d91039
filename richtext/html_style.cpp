#include "richtext/html_style.h"

#include <algorithm>

namespace richtext {

void SetFace(HtmlStyle& style, std::wstring_view face) {
    style.face.assign(face.substr(0, LF_FACESIZE - 1));
}

void ResetStyle(HtmlStyle& style) {
    style = HtmlStyle{};
}

LOGFONTW FontDescription(const HtmlStyle& style) {
    LOGFONTW font{};
    font.lfHeight = style.height;
    font.lfWidth = style.width;
    font.lfEscapement = style.escapement;
    font.lfOrientation = style.orientation;
    font.lfWeight = style.weight;
    font.lfItalic = style.italic;
    font.lfUnderline = style.underline;
    font.lfStrikeOut = style.strikeout;
    font.lfCharSet = style.charset;
    font.lfOutPrecision = style.outPrecision;
    font.lfClipPrecision = style.clipPrecision;
    font.lfQuality = style.quality;
    font.lfPitchAndFamily = style.pitchAndFamily;
    const size_t length = std::min(style.face.size(), size_t{LF_FACESIZE - 1});
    std::copy_n(style.face.data(), length, font.lfFaceName);
    font.lfFaceName[length] = L'\0';
    return font;
}

} // namespace richtext
