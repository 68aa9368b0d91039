#pragma once
// The text image: one "name=value" line per value; the bytes 0x01, 0x02 and 0x03 stand for the
// two line separators and the name/value separator inside names and values.

#include "config/cfg_decoded_image.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

struct CfgTextSeparators {
    char assign = '=';
    char line = '\n';
    char otherLine = '\r';

    // The separators must differ from the escape bytes, and the name/value separator from the
    // line separators, or a written image would not read back the same.
    bool IsValid() const;
};

// The values of an image; nothing when it holds more records than kCfgRecordLimit. Lines without
// a name or a value are skipped. The image is whole when every line is empty or has a name
// before its separator; zero bytes after the last line end are the rest of a memory block.
std::optional<CfgDecodedImage> DecodeCfgText(std::span<const unsigned char> image,
                                             const CfgTextSeparators& separators);

// One line, with its line end; nothing when the name or data holds an escape byte itself,
// which the format cannot carry, or when the name is empty. Empty data gives no line.
std::optional<CfgBytes> EncodeCfgTextRecord(std::string_view name,
                                            std::span<const unsigned char> data,
                                            const CfgTextSeparators& separators);
