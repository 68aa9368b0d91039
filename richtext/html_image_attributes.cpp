#include "richtext/html_image_attributes.h"

#include "richtext/css_number.h"
#include "richtext/html_tokenizer.h"

namespace richtext {
namespace {

void ReadSize(std::wstring_view value, int& size, bool& percent, const CssMetrics& metrics) {
    if (!value.empty() && value.back() == L'%') {
        size = LeadingNumber(value.substr(0, value.size() - 1));
        percent = true;
        return;
    }
    if (value.empty())
        return;
    size = ParseLength(value, size, false, metrics);
    percent = false;
}

} // namespace

unsigned ParseImageStyle(std::wstring_view letters, const ImageShadowSettings& shadow) {
    unsigned flags = 0;
    for (const wchar_t letter : letters) {
        switch (letter) {
        case L'g':
            flags |= kImageGrey;
            break;
        case L'd':
            flags |= kImageDarker;
            break;
        case L'l':
            flags |= kImageLighter;
            break;
        case L's':
            if (shadow.offsetX != 0 || shadow.offsetY != 0)
                flags |= shadow.gradient ? kImageGradientShadow : kImageShadow;
            break;
        default:
            break;
        }
    }
    return flags;
}

// Handles are 32-bit values whose high bit may be set: read as unsigned, kept bit for bit.
static int ReadHandle(std::wstring_view value, int current, const CssMetrics& metrics) {
    if (!value.empty() && IsAsciiDigit(value.front())) {
        const int64_t number = WholeNumber(value);
        if (number >= 0 && number <= 0xFFFFFFFFLL)
            return static_cast<int>(static_cast<uint32_t>(number));
    }
    return ParseLength(value, current, false, metrics);
}

ImageAttributes ReadImageAttributes(std::wstring_view attributes, const CssMetrics& metrics,
                                    const ColourTable& colours, const ImageShadowSettings& shadow) {
    ImageAttributes image;
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"index")
            image.index = ParseLength(value, image.index, false, metrics);
        else if (name == L"idres")
            image.idres = ParseLength(value, image.idres, false, metrics);
        else if (name == L"iddll")
            image.iddll = ParseLength(value, image.iddll, false, metrics);
        else if (name == L"handle")
            image.handle = ReadHandle(value, image.handle, metrics);
        else if (name == L"cx")
            image.cx = ParseLength(value, image.cx, false, metrics);
        else if (name == L"cy")
            image.cy = ParseLength(value, image.cy, false, metrics);
        else if (name == L"speed")
            image.speed = ParseLength(value, image.speed, false, metrics);
        else if (name == L"file")
            image.file.assign(value);
        else if (name == L"srcdll")
            image.srcdll.assign(value);
        else if (name == L"mask") {
            // The mask is the bitmap's own transparent colour, so it is never replaced by the
            // disabled colour.
            image.maskColour = ParseColour(value, image.maskColour, colours);
            image.maskGiven = true;
        } else if (name == L"style")
            image.style = image.hotStyle = ParseImageStyle(value, shadow);
        else if (name == L"hotstyle")
            image.hotStyle = ParseImageStyle(value, shadow);
        else if (name == L"width")
            ReadSize(value, image.width, image.widthPercent, metrics);
        else if (name == L"height")
            ReadSize(value, image.height, image.heightPercent, metrics);
    }
    return image;
}

} // namespace richtext
