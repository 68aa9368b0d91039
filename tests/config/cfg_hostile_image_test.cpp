#include "config/cfg_binary_format.h"
#include "config/cfg_core.h"
#include "config/cfg_image_limits.h"
#include "config/cfg_text_format.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

const CfgTextSeparators kSeparatorSets[] = {{}, {':', ';', ';'}, {'\t', '\0', '\n'}};
constexpr char kProbe[] = "probe\x7f";

struct Format {
    bool text;
    CfgTextSeparators separators;

    std::optional<CfgDecodedImage> Decode(const Bytes& image) const {
        return text ? DecodeCfgText(image, separators) : DecodeCfgBinary(image);
    }
    Bytes Encode(const std::string& name, const Bytes& data) const {
        return (text ? EncodeCfgTextRecord(name, data, separators)
                     : EncodeCfgBinaryRecord(name, data))
            .value_or(Bytes{}); // left out when the format cannot carry it
    }
};

void Append(Bytes& to, const Bytes& more, size_t times = 1) {
    for (; times > 0; --times)
        to.insert(to.end(), more.begin(), more.end());
}

// Images a damaged disk, another program or an attacker could leave, from a fixed seed.
struct HostileImages {
    std::mt19937 random{20261206};

    uint32_t Below(size_t limit) { return limit == 0 ? 0 : random() % limit; }

    Bytes Next(size_t round, const Format& format) {
        Bytes image;
        if (round % 1000 == 999) { // as many records as an image may hold, or one more
            Append(image, format.Encode("k", {'v'}), kCfgRecordLimit + round / 1000 % 2);
            return image;
        }
        image = Good(format);
        const size_t size = image.size();
        switch (round % 8) { // 5 and 6: a good image as it is
        case 0:
            return Random(Below(600));
        case 1: // bits flipped
            for (uint32_t flips = 1 + Below(8); flips > 0 && size > 0; --flips)
                image[Below(size)] ^= static_cast<unsigned char>(1u << Below(8));
            break;
        case 2: // cut short
            image.resize(Below(size + 1));
            break;
        case 3: { // bytes added
            const Bytes added = Random(1 + Below(16));
            image.insert(image.begin() + (Below(2) ? size : Below(size + 1)), added.begin(),
                         added.end());
            break;
        }
        case 4: // a record header whose lengths run past the end, by a little or by ~4 GiB
            for (int part = 0; part < 2; ++part) {
                const uint32_t lengths[] = {~0u, 1u << 31, ~0u >> 1, Below(40), ~0u - Below(16)};
                for (int shift = 0; shift < 32; shift += 8)
                    image.push_back(static_cast<unsigned char>(lengths[Below(5)] >> shift));
            }
            Append(image, Random(Below(32)));
            break;
        case 7: // a long record
            Append(image, format.Encode(
                              "long", Bytes(1 + Below(round % 128 == 7 ? 128u << 10 : 4096), 'x')));
            break;
        }
        return image;
    }

    // Any bytes, or bytes the formats treat specially and bytes of broken encodings.
    Bytes Random(size_t size) {
        static const unsigned char kSpecial[] = {0,   1,    2,    3,   '\n', '\r', '=',  ':',
                                                 ';', '\t', '\\', '/', 0x80, 0xC0, 0xED, 0xFF};
        const bool special = Below(2) == 0;
        Bytes bytes(size);
        for (unsigned char& byte : bytes)
            byte =
                special ? kSpecial[Below(sizeof kSpecial)] : static_cast<unsigned char>(random());
        return bytes;
    }

    // An image as the code writes it, of up to 11 values.
    Bytes Good(const Format& format) {
        Bytes image;
        for (uint32_t count = Below(12); count > 0; --count)
            Append(image, format.Encode(
                              TextOf(Below(3) ? Bytes(1 + Below(8), 'n') : Random(1 + Below(12))),
                              Random(Below(40))));
        return image;
    }
};

// Loads `image` from a buffer or a file, at once or on demand, beside a fresh buffer of the same
// format, reads every value and saves one more. A round trip through the fresh buffer must give
// what decoded; an image that did not decode whole must stay as it was, and one that did must now
// hold its values and the new one.
void CheckImage(const Bytes& image, const Format& format, bool toFile, bool atOnce,
                const std::wstring& file) {
    const DWORD formatFlag = format.text ? kCfgFormatText : kCfgFormatBinary;
    const DWORD flags = kCfgStorageMemory | kCfgStorageFile | formatFlag | kGroup;
    Bytes buffer = image, copy;
    CACfgStorageInfo info = toFile ? PathInfo(file) : BufferInfo(buffer),
                     copyInfo = BufferInfo(copy);
    if (toFile)
        WriteWholeFile(file, TextOf(image));
    for (CACfgStorageInfo* storage : {&info, &copyInfo})
        std::tie(storage->separators[0], storage->separators[1], storage->separators[2]) =
            std::tie(format.separators.assign, format.separators.line, format.separators.otherLine);
    const auto stored = [&] { return toFile ? ReadWholeFile(file) : buffer; };
    const auto decoded = format.Decode(image);
    ValueMap expected{{kProbe, "1"}};
    for (const auto& [name, data] : decoded ? MapOf(*decoded) : ValueMap{})
        if (!data.empty()) // an empty value equals its default: it counts as not set
            expected.emplace(name, data);
    {
        CACfgCore cfg;
        ASSERT_TRUE(!atOnce || cfg.AddStorage(flags | kCfgLoadAtOnce, info) == decoded.has_value());
        ASSERT_TRUE((atOnce && decoded) || cfg.AddStorage(flags, info));
        ASSERT_TRUE(cfg.AddStorage(kCfgStorageMemory | formatFlag | kGroup, copyInfo));
        // Loaded at once, the values are read before the save; else the save reads them first.
        const auto readsAll = [&](bool withProbe) {
            return std::all_of(expected.begin(), expected.end(), [&](const auto& value) {
                return value.first.find('\0') != std::string::npos ||
                       (!withProbe && value.first == kProbe) ||
                       ValueText(cfg, value.first.c_str()) == value.second;
            });
        };
        ASSERT_TRUE(!atOnce || readsAll(false));
        const bool saved = SetText(cfg, kProbe, "1", kCfgStorageFile | kCfgStorageMemory | kGroup);
        ASSERT_EQ(saved, decoded && decoded->whole);
        ASSERT_TRUE(readsAll(true));
    }
    const auto again = format.Decode(copy);
    ASSERT_TRUE(again && again->whole && MapOf(*again) == expected);
    if (decoded && decoded->whole) {
        const auto now = format.Decode(stored());
        ASSERT_TRUE(now && now->whole && MapOf(*now) == expected);
    } else {
        ASSERT_EQ(stored(), image);
    }
}

} // namespace

TEST(CfgHostileImage, NothingCrashesHangsOrIsLostAndWhatDecodedRoundTrips) {
    ScratchFolder folder;
    const std::wstring file = folder.File(L"hostile.cfg");
    HostileImages images;
    for (size_t round = 0; round < 2000; ++round) {
        for (const Format format : {Format{true, kSeparatorSets[round % 3]}, Format{false, {}}}) {
            const Bytes image = images.Next(round, format);
            // The record limit, or one more: that image is refused.
            ASSERT_TRUE(round % 1000 != 999 || format.Decode(image).has_value() == (round < 1000));
            const bool toFile = round % 41 == 0; // apart from the kinds, which go by eights
            SCOPED_TRACE(testing::Message() << "round " << round << (format.text ? " text" : ""));
            CheckImage(image, format, toFile, round % 3 != 0, file);
            if (HasFatalFailure())
                return;
            // No temporary left, nothing else written.
            ASSERT_EQ(FilesIn(folder.path).size(), toFile ? 1u : 0u);
            ASSERT_TRUE(!toFile || ::DeleteFileW(file.c_str()));
        }
    }
}
