#include "config/cfg_core.h"
#include "config/cfg_image_limits.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cstdint>
#include <random>

namespace {

constexpr DWORD kGroup = 0x100;
constexpr DWORD kInFile = kCfgStorageFile | kGroup;

void AppendLittleEndian32(Bytes& to, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        to.push_back(static_cast<unsigned char>(value >> shift));
}

// Images a damaged disk or an attacker could leave: garbage, records whose lengths overflow
// or point far past the end, endless tiny records, and long lines.
class HostileImages {
public:
    explicit HostileImages(uint32_t seed) : random_(seed) {}

    Bytes Next(int round) {
        switch (round % 5) {
        case 0:
            return Garbage(Below(4096));
        case 1:
            return OverflowingRecords();
        case 2:
            return ManyTinyRecords();
        case 3:
            return LongLines();
        default:
            return EscapesAndSeparators();
        }
    }

private:
    uint32_t Below(uint32_t limit) { return static_cast<uint32_t>(random_() % limit); }

    Bytes Garbage(size_t size) {
        Bytes bytes(size);
        for (unsigned char& byte : bytes)
            byte = static_cast<unsigned char>(random_());
        return bytes;
    }

    Bytes OverflowingRecords() {
        Bytes image;
        for (int i = 0, n = 1 + static_cast<int>(Below(8)); i < n; ++i) {
            const uint32_t name = Below(3) == 0 ? 0xFFFFFFFFu - Below(16) : 1 + Below(8);
            const uint32_t data = Below(2) == 0 ? 0xFFFFFFFFu - Below(16) : Below(64);
            AppendLittleEndian32(image, name);
            AppendLittleEndian32(image, data);
            const Bytes tail = Garbage(Below(32));
            image.insert(image.end(), tail.begin(), tail.end());
        }
        return image;
    }

    Bytes ManyTinyRecords() {
        Bytes image;
        const size_t count = kCfgRecordLimit / 2 + Below(kCfgRecordLimit);
        for (size_t i = 0; i < count; ++i) {
            AppendLittleEndian32(image, 1);
            AppendLittleEndian32(image, 0);
            image.push_back(static_cast<unsigned char>(random_()));
        }
        return image;
    }

    Bytes LongLines() {
        Bytes image(1 + Below(1 << 20), static_cast<unsigned char>('a' + Below(26)));
        image[Below(static_cast<uint32_t>(image.size()))] = '=';
        return image;
    }

    Bytes EscapesAndSeparators() {
        static const unsigned char alphabet[] = {0, 1, 2, 3, '\n', '\r', '=', 'x'};
        Bytes image(Below(4096));
        for (unsigned char& byte : image)
            byte = alphabet[Below(sizeof alphabet)];
        return image;
    }

    std::mt19937 random_;
};

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

// Loads the image through both formats, then saves once, and checks that what is kept reads
// back the same.
void LoadAndSave(const std::wstring& path, const Bytes& image, DWORD format) {
    WriteWholeFile(path, image);
    CACfgStorageInfo info;
    info.path = path.c_str();
    CACfgCore cfg;
    const bool loaded = cfg.AddStorage(kCfgStorageFile | format | kGroup | kCfgLoadAtOnce, info);
    ASSERT_TRUE(cfg.AddStorage(kCfgStorageFile | format | kGroup, info));
    ValueText(cfg, "x");
    const bool saved = SetText(cfg, "probe", "1", kInFile);
    if (!loaded) {
        // Refused whole: it must stay as it was.
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadWholeFile(path), image);
        return;
    }
    EXPECT_TRUE(saved);
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kCfgStorageFile | format | kGroup | kCfgLoadAtOnce, info));
    EXPECT_EQ(ValueText(reader, "probe"), "1");
}

} // namespace

TEST(CfgHostileImage, GarbageLoadsWithoutCrashInBoundedMemory) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"hostile.cfg");
    HostileImages images(20261206);
    const size_t before = PrivateBytes();
    for (int round = 0; round < 60; ++round) {
        const Bytes image = images.Next(round);
        LoadAndSave(path, image, kCfgFormatBinary);
        LoadAndSave(path, image, kCfgFormatText);
    }
    // Nothing is kept after each configuration is gone, and no image made it balloon.
    EXPECT_LT(PrivateBytes(), before + (64u << 20));
}

TEST(CfgHostileImage, HugeFileIsRefusedWithoutBeingRead) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"huge.cfg");
    {
        platform::UniqueHandle file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        // A sparse 3 GiB file: its size alone must refuse it.
        LARGE_INTEGER size{};
        size.QuadPart = 3ll << 30;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.Get()));
    }
    const size_t before = PrivateBytes();
    CACfgStorageInfo info;
    info.path = path.c_str();
    CACfgCore cfg;
    EXPECT_FALSE(
        cfg.AddStorage(kCfgStorageFile | kCfgFormatBinary | kGroup | kCfgLoadAtOnce, info));
    ASSERT_TRUE(cfg.AddStorage(kCfgStorageFile | kCfgFormatBinary | kGroup, info));
    EXPECT_FALSE(SetText(cfg, "probe", "1", kInFile));
    EXPECT_LT(PrivateBytes(), before + (16u << 20));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 3u << 30);
}
