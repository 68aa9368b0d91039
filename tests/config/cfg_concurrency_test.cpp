#include "config/cfg_binary_format.h"
#include "config/cfg_core.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr DWORD kInBoth = kCfgStorageFile | kCfgStorageMemory | kGroup;

std::string NameOf(int thread, int index) {
    return platform::FormatAnsi("t%d\\v%d", thread, index);
}

std::string DataOf(int thread, int index, int round) {
    return std::string(1 + index * 7 % 50, static_cast<char>('a' + thread)) + char('0' + round);
}

} // namespace

// Four threads set their own values twice over and read them back, and read the next thread's
// values while they change; every save writes the file and a buffer.
TEST(CfgConcurrency, ThreadsSettingAndGettingAtOnceEndWithEveryValueSavedOnceAndIntact) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"shared.cfg");
    Bytes buffer;
    std::atomic<int> failures{0};
    ValueMap expected;
    size_t recordBytes = 0;
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kCfgStorageFile | kCfgFormatBinary | kGroup, PathInfo(path)));
        ASSERT_TRUE(
            cfg.AddStorage(kCfgStorageMemory | kCfgFormatBinary | kGroup, BufferInfo(buffer)));
        std::vector<platform::UniqueHandle> threads;
        for (int t = 0; t < 4; ++t) {
            for (int i = 0; i < 20; ++i) {
                expected[NameOf(t, i)] = DataOf(t, i, 1);
                recordBytes += 8 + NameOf(t, i).size() + DataOf(t, i, 1).size();
            }
            threads.push_back(platform::StartThread([&cfg, t, &failures] {
                for (int round = 0; round < 2; ++round) {
                    for (int i = 0; i < 20; ++i) {
                        const std::string name = NameOf(t, i), data = DataOf(t, i, round);
                        failures += !SetText(cfg, name.c_str(), data, kInBoth) ||
                                    ValueText(cfg, name.c_str()) != data;
                        const std::string seen = ValueText(cfg, NameOf((t + 1) % 4, i).c_str());
                        failures += !seen.empty() && seen != DataOf((t + 1) % 4, i, 0) &&
                                    seen != DataOf((t + 1) % 4, i, 1);
                    }
                }
                return 0u;
            }));
        }
        for (const platform::UniqueHandle& thread : threads)
            ASSERT_EQ(::WaitForSingleObject(thread.Get(), 60000), WAIT_OBJECT_0);
    }
    EXPECT_EQ(failures.load(), 0);
    for (const Bytes& image : {ReadWholeFile(path), buffer}) {
        const auto decoded = DecodeCfgBinary(image);
        ASSERT_TRUE(decoded && decoded->whole);
        EXPECT_EQ(MapOf(*decoded), expected);
        // Equal names collapse when decoded: only the size shows that each was written once.
        EXPECT_EQ(image.size(), recordBytes);
    }
    EXPECT_EQ(FilesIn(folder.path).size(), 1u);
}
