#pragma once
// The binary image: records of a 4-byte name length, a 4-byte data length (both little-endian),
// the name and the data. A record with an empty name, or one running past the end, ends it.

#include "config/cfg_value_tree.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The values of an image, the last of equal names winning; nothing when the image holds more
// records than kCfgRecordLimit.
std::optional<std::vector<CfgLoadedValue>> DecodeCfgBinary(std::span<const unsigned char> image);

// One record; nothing for an empty name (it would end the image) or lengths beyond 32 bits.
std::optional<CfgBytes> EncodeCfgBinaryRecord(std::string_view name,
                                              std::span<const unsigned char> data);
