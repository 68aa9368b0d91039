#pragma once
// The attributes of the image tags (bmp, icon, ilst) and their image-style letters.

#include "richtext/css_colour.h"
#include "richtext/css_length.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace richtext {

enum ImageStyleFlag : unsigned {
    kImageGrey = 0x1,
    kImageDarker = 0x2,
    kImageLighter = 0x4,
    kImageShadow = 0x100,
    kImageGradientShadow = 0x200,
};

// The drop shadow the drawer gives images; the style letter "s" depends on it.
struct ImageShadowSettings {
    int offsetX = 4;
    int offsetY = 4;
    int depth = 50; // percent; above 100 counts as 100
    bool gradient = true;
    int blurX = 7;
    int blurY = 7;
};

struct ImageAttributes {
    int index = 0;
    int idres = 0;
    int iddll = 0;
    int handle = 0;
    std::wstring file;
    std::wstring srcdll;
    COLORREF maskColour = 0;
    bool maskGiven = false;
    unsigned style = 0;
    unsigned hotStyle = 0;
    int cx = 0;
    int cy = 0;
    // The drawn size: pixels, or percent of the natural size with the flag (the default, 100 %).
    int width = 100;
    int height = 100;
    bool widthPercent = true;
    bool heightPercent = true;
    int speed = 0; // 0: not animated
};

// "g" grey, "d" darker, "l" lighter, "s" shadow (none when the shadow has no offset); other
// letters are ignored.
unsigned ParseImageStyle(std::wstring_view letters, const ImageShadowSettings& shadow);

// Reads the attribute text of an image tag; unknown attributes are ignored.
ImageAttributes ReadImageAttributes(std::wstring_view attributes, const CssMetrics& metrics,
                                    const ColourTable& colours, const ImageShadowSettings& shadow);

} // namespace richtext
