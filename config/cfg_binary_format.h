#pragma once
// The binary image: records of a 4-byte name length, a 4-byte data length (both little-endian),
// the name and the data. A record with an empty name, or one running past the end, ends it.

#include "config/cfg_decoded_image.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The values of an image; nothing when it holds more records than kCfgRecordLimit. The image is
// whole when only zero bytes (the rest of a memory block) follow its last record.
std::optional<CfgDecodedImage> DecodeCfgBinary(std::span<const unsigned char> image);

// One record; nothing for an empty name (it would end the image) or lengths beyond 32 bits.
std::optional<CfgBytes> EncodeCfgBinaryRecord(std::string_view name,
                                              std::span<const unsigned char> data);
