#include "config/cfg_binary_format.h"

#include "config/cfg_flags.h"
#include "config/cfg_image_limits.h"

#include <cstdint>
#include <map>
#include <string>

namespace {

constexpr size_t kHeaderSize = 8;

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void AppendLittleEndian32(CfgBytes& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

bool FitsIn32Bits(size_t length) {
    if constexpr (sizeof(size_t) > sizeof(uint32_t))
        return length <= UINT32_MAX;
    else
        return true;
}

} // namespace

std::optional<CfgDecodedImage> DecodeCfgBinary(std::span<const unsigned char> image) {
    std::map<std::string, CfgBytes> values;
    size_t records = 0;
    size_t at = 0;
    while (image.size() - at >= kHeaderSize) {
        const uint32_t nameLength = ReadLittleEndian32(&image[at]);
        const uint32_t dataLength = ReadLittleEndian32(&image[at + 4]);
        const size_t left = image.size() - at - kHeaderSize;
        // Compared one at a time, so no sum of hostile lengths can wrap around.
        if (nameLength == 0 || nameLength > left || dataLength > left - nameLength)
            break;
        if (++records > kCfgRecordLimit)
            return std::nullopt;
        const unsigned char* name = &image[at + kHeaderSize];
        const unsigned char* data = name + nameLength;
        values[std::string(name, name + nameLength)] = CfgBytes(data, data + dataLength);
        at += kHeaderSize + nameLength + dataLength;
    }
    return CfgDecodedImage{CfgValuesOf(std::move(values), kCfgTypeBinary),
                           CfgAllZero(image.subspan(at))};
}

std::optional<CfgBytes> EncodeCfgBinaryRecord(std::string_view name,
                                              std::span<const unsigned char> data) {
    if (name.empty() || !FitsIn32Bits(name.size()) || !FitsIn32Bits(data.size()))
        return std::nullopt;
    CfgBytes record;
    record.reserve(kHeaderSize + name.size() + data.size());
    AppendLittleEndian32(record, static_cast<uint32_t>(name.size()));
    AppendLittleEndian32(record, static_cast<uint32_t>(data.size()));
    record.insert(record.end(), name.begin(), name.end());
    record.insert(record.end(), data.begin(), data.end());
    return record;
}
