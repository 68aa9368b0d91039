#include "config/cfg_binary_format.h"
#include "config/cfg_core.h"
#include "config/cfg_image_limits.h"
#include "config/cfg_text_format.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

const CfgTextSeparators kSeparatorSets[] = {{}, {':', ';', ';'}, {'\t', '\0', '\n'}};
constexpr size_t kGuard = 64;
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
        image = Good(format, round % 8 == 5 ? 1 + Below(6) : 0); // 5: images nested as values
        const size_t size = image.size();
        switch (round % 8) {
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
        case 6: { // UTF-16 with or without its byte-order mark (and half surrogates), or UTF-8
            const uint32_t kind = Below(3);
            Bytes encoded = kind == 0   ? Bytes{0xFF, 0xFE}
                            : kind == 1 ? Bytes{}
                                        : Bytes{0xEF, 0xBB, 0xBF};
            for (const unsigned char byte : image) {
                encoded.push_back(byte);
                if (kind != 2)
                    encoded.push_back(Below(4) == 0 ? 0xD8 : 0);
            }
            return encoded;
        }
        case 7: // a long record
            Append(image, format.Encode(
                              Name(), Bytes(1 + Below(round % 128 == 7 ? 128u << 10 : 4096), 'x')));
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

    // A deep key path now and then, and special bytes or a plain name.
    std::string Name() {
        std::string name;
        for (uint32_t depth = Below(4) == 0 ? Below(300) : 0; depth > 0; --depth)
            name += std::string(1 + Below(3), static_cast<char>('a' + Below(26))) + "\\/"[Below(2)];
        return name + TextOf(Below(3) == 0 ? Random(1 + Below(12)) : Bytes(1 + Below(8), 'n'));
    }

    // An image as the code writes it, of up to 11 values, held as a value of another image of
    // either format `depth` times over.
    Bytes Good(const Format& format, uint32_t depth) {
        Bytes image;
        for (uint32_t count = Below(12); count > 0; --count)
            Append(image, format.Encode(Name(), Random(Below(40))));
        for (; depth > 0; --depth) {
            const Bytes nested =
                Format{Below(2) == 0, kSeparatorSets[Below(3)]}.Encode(Name(), image);
            image = nested.empty() ? image : nested;
        }
        return image;
    }
};

// Loads `image` from `target` (0 a buffer, 1 a memory block between guard bytes, 2 a file), at
// once or on demand, beside a fresh buffer of the same format, reads every value and saves one
// more. A round trip through the fresh buffer must give what decoded; an image that did not
// decode whole must stay as it was, and one that did must now hold its values and the new one.
void CheckImage(const Bytes& image, const Format& format, int target, bool atOnce,
                const std::wstring& file) {
    const DWORD formatFlag = format.text ? kCfgFormatText : kCfgFormatBinary;
    const DWORD flags = kCfgStorageMemory | kCfgStorageFile | formatFlag | kGroup;
    Bytes buffer = image, copy, region(kGuard, 0xCD);
    Append(region, image);
    const size_t blockSize = region.size() + 16 - kGuard;
    region.resize(kGuard + blockSize, 0);
    region.resize(2 * kGuard + blockSize, 0xCD);
    CACfgStorageInfo info, copyInfo = BufferInfo(copy);
    if (target == 0) {
        info.buffer = &buffer;
    } else if (target == 1) {
        info.memory = region.data() + kGuard;
        info.memorySize = blockSize;
    } else {
        info.path = file.c_str();
        WriteWholeFile(file, TextOf(image));
    }
    for (CACfgStorageInfo* spec : {&info, &copyInfo}) {
        spec->separators[0] = format.separators.assign;
        spec->separators[1] = format.separators.line;
        spec->separators[2] = format.separators.otherLine;
    }
    const auto stored = [&] {
        return target == 0   ? buffer
               : target == 1 ? Bytes(region.begin() + kGuard, region.end() - kGuard)
                             : ReadWholeFile(file);
    };
    const Bytes before = stored();
    const auto decoded = format.Decode(before);
    ValueMap expected{{kProbe, "1"}};
    for (const auto& [name, data] : decoded ? MapOf(*decoded) : ValueMap{}) {
        if (!data.empty()) // an empty value equals its default: it counts as not set
            expected.emplace(name, data);
    }
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
        // A block takes only the records that fit whole, and says so when some did not.
        const bool saved = SetText(cfg, kProbe, "1", kCfgStorageFile | kCfgStorageMemory | kGroup);
        ASSERT_EQ(saved, decoded && decoded->whole && (target != 1 || copy.size() <= blockSize));
        ASSERT_TRUE(readsAll(true));
    }
    const auto again = format.Decode(copy);
    ASSERT_TRUE(again && again->whole && MapOf(*again) == expected);
    const auto now = format.Decode(stored());
    if (decoded && decoded->whole) {
        ASSERT_TRUE(now && now->whole);
        const ValueMap written = MapOf(*now);
        ASSERT_TRUE(
            std::includes(expected.begin(), expected.end(), written.begin(), written.end()));
        ASSERT_TRUE(written == expected || copy.size() > blockSize);
    } else {
        ASSERT_EQ(stored(), before);
    }
    const auto intact = [](auto from) { return std::count(from, from + kGuard, 0xCD) == kGuard; };
    ASSERT_TRUE(intact(region.begin()) && intact(region.end() - kGuard));
}

} // namespace

TEST(CfgHostileImage, NothingCrashesHangsOrIsLostAndWhatDecodedRoundTrips) {
    ScratchFolder outer;
    const std::wstring inner = outer.File(L"inner"), file = inner + L"\\hostile.cfg";
    ASSERT_TRUE(::CreateDirectoryW(inner.c_str(), nullptr));
    HostileImages images;
    for (size_t round = 0; round < 2000; ++round) {
        for (const Format format : {Format{true, kSeparatorSets[round % 3]}, Format{false, {}}}) {
            const Bytes image = images.Next(round, format);
            // Apart from the kind of image, which goes by eights.
            const int target = round % 41 == 0 ? 2 : round % 7 == 1 ? 1 : 0;
            SCOPED_TRACE(testing::Message() << "round " << round << (format.text ? " text" : ""));
            CheckImage(image, format, target, round % 3 != 0, file);
            if (HasFatalFailure())
                return;
            if (target == 2) {
                ASSERT_EQ(FilesIn(inner).size(), 1u); // no temporary left, nothing else written
                ASSERT_TRUE(::DeleteFileW(file.c_str()));
            }
        }
    }
    EXPECT_EQ(FilesIn(outer.path), std::vector<std::wstring>{L"inner"});
    EXPECT_TRUE(FilesIn(inner).empty());
}
