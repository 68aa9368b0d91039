#include "config/cfg_text_format.h"

#include "config/cfg_flags.h"
#include "config/cfg_image_limits.h"

#include <map>
#include <string>

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
constexpr unsigned char kEscapedLine = 0x01;
constexpr unsigned char kEscapedOtherLine = 0x02;
constexpr unsigned char kEscapedAssign = 0x03;

bool IsEscapeByte(unsigned char byte) {
    return byte >= kEscapedLine && byte <= kEscapedAssign;
}

unsigned char Unescape(unsigned char byte, const CfgTextSeparators& separators) {
    switch (byte) {
    case kEscapedLine:
        return static_cast<unsigned char>(separators.line);
    case kEscapedOtherLine:
        return static_cast<unsigned char>(separators.otherLine);
    case kEscapedAssign:
        return static_cast<unsigned char>(separators.assign);
    default:
        return byte;
    }
}

unsigned char Escape(unsigned char byte, const CfgTextSeparators& separators) {
    if (byte == static_cast<unsigned char>(separators.line))
        return kEscapedLine;
    if (byte == static_cast<unsigned char>(separators.otherLine))
        return kEscapedOtherLine;
    if (byte == static_cast<unsigned char>(separators.assign))
        return kEscapedAssign;
    return byte;
}

bool IsLineEnd(unsigned char byte, const CfgTextSeparators& separators) {
    return byte == static_cast<unsigned char>(separators.line) ||
           byte == static_cast<unsigned char>(separators.otherLine);
}

CfgBytes UnescapeAll(std::span<const unsigned char> bytes, const CfgTextSeparators& separators) {
    CfgBytes out(bytes.begin(), bytes.end());
    for (unsigned char& byte : out)
        byte = Unescape(byte, separators);
    return out;
}

bool AppendEscaped(CfgBytes& out, std::span<const unsigned char> bytes,
                   const CfgTextSeparators& separators) {
    for (const unsigned char byte : bytes) {
        if (IsEscapeByte(byte))
            return false;
        out.push_back(Escape(byte, separators));
    }
    return true;
}

// Zero bytes that run from the start of the last line to the end: the rest of a memory block.
bool IsZeroTail(std::span<const unsigned char> line, std::span<const unsigned char> image) {
    return line.data() + line.size() == image.data() + image.size() && CfgAllZero(line);
}

} // namespace

bool CfgTextSeparators::IsValid() const {
    const auto usable = [](char c) { return !IsEscapeByte(static_cast<unsigned char>(c)); };
    return usable(assign) && usable(line) && usable(otherLine) && assign != line &&
           assign != otherLine;
}

std::optional<CfgDecodedImage> DecodeCfgText(std::span<const unsigned char> image,
                                             const CfgTextSeparators& separators) {
    const auto assign = static_cast<unsigned char>(separators.assign);
    std::map<std::string, CfgBytes> values;
    bool whole = true;
    size_t records = 0;
    size_t lineStart = 0;
    while (lineStart < image.size()) {
        size_t lineEnd = lineStart;
        size_t assignAt = kNone;
        for (; lineEnd < image.size() && !IsLineEnd(image[lineEnd], separators); ++lineEnd) {
            if (image[lineEnd] == assign && assignAt == kNone)
                assignAt = lineEnd;
        }
        const auto line = image.subspan(lineStart, lineEnd - lineStart);
        if (assignAt != kNone && assignAt > lineStart && assignAt + 1 < lineEnd) {
            if (++records > kCfgRecordLimit)
                return std::nullopt;
            const CfgBytes name =
                UnescapeAll(image.subspan(lineStart, assignAt - lineStart), separators);
            values[std::string(name.begin(), name.end())] =
                UnescapeAll(image.subspan(assignAt + 1, lineEnd - assignAt - 1), separators);
        } else if (!line.empty() && (assignAt == kNone || assignAt == lineStart) &&
                   !IsZeroTail(line, image)) {
            whole = false;
        }
        lineStart = lineEnd + 1;
    }
    return CfgDecodedImage{CfgValuesOf(std::move(values), kCfgTypeString), whole};
}

std::optional<CfgBytes> EncodeCfgTextRecord(std::string_view name,
                                            std::span<const unsigned char> data,
                                            const CfgTextSeparators& separators) {
    if (name.empty())
        return std::nullopt;
    CfgBytes line;
    // The format has no empty values: such a line reads as no value at all, so none is written.
    if (data.empty())
        return line;
    line.reserve(name.size() + data.size() + 3);
    const auto* nameBytes = reinterpret_cast<const unsigned char*>(name.data());
    if (!AppendEscaped(line, {nameBytes, name.size()}, separators))
        return std::nullopt;
    line.push_back(static_cast<unsigned char>(separators.assign));
    if (!AppendEscaped(line, data, separators))
        return std::nullopt;
    // Lines end the Windows way; either separator alone ends a line when read.
    if (separators.otherLine != separators.line)
        line.push_back(static_cast<unsigned char>(separators.otherLine));
    line.push_back(static_cast<unsigned char>(separators.line));
    return line;
}
