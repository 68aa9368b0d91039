#pragma once
// What a file or memory image decodes to.

#include "config/cfg_value_tree.h"

#include <algorithm>
#include <map>
#include <span>
#include <string>
#include <vector>

struct CfgDecodedImage {
    // The values, the last of equal names winning.
    std::vector<CfgLoadedValue> values;
    // False when some of the image is not a record of its format (bad bytes after the records,
    // a record cut short, a file of another format): an image written from the values would
    // lose that part, so such an image is never overwritten.
    bool whole = true;
};

// The values collected by name, as values of `type`.
inline std::vector<CfgLoadedValue> CfgValuesOf(std::map<std::string, CfgBytes> byName, DWORD type) {
    std::vector<CfgLoadedValue> values;
    values.reserve(byName.size());
    for (auto& [name, data] : byName)
        values.push_back({name, type, std::move(data)});
    return values;
}

// Memory blocks are zero-filled after their image: zero bytes after the records are no loss.
inline bool CfgAllZero(std::span<const unsigned char> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char byte) { return byte == 0; });
}
