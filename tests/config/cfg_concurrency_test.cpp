#include "config/cfg_binary_format.h"
#include "config/cfg_core.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <atomic>

// Four threads set their own values twice over and read them back while the others do the same;
// every set saves the whole file. Without the store's locks this fails or crashes.
TEST(CfgConcurrency, ThreadsSettingAndGettingAtOnceEndWithEveryValueSavedOnceAndIntact) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"shared.cfg");
    std::atomic<int> failures{0};
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kCfgStorageFile | kCfgFormatBinary | kGroup, PathInfo(path)));
        std::vector<platform::UniqueHandle> threads;
        for (int t = 0; t < 4; ++t) {
            threads.push_back(platform::StartThread([&cfg, t, &failures] {
                for (int i = 0; i < 40; ++i) {
                    const std::string name = platform::FormatAnsi("%d\\v%d", t, i % 20);
                    const std::string data(1 + i, static_cast<char>('a' + t));
                    failures += !SetText(cfg, name.c_str(), data, kCfgStorageFile | kGroup) ||
                                ValueText(cfg, name.c_str()) != data;
                }
                return 0u;
            }));
        }
        for (const platform::UniqueHandle& thread : threads)
            ASSERT_EQ(::WaitForSingleObject(thread.Get(), 60000), WAIT_OBJECT_0);
    }
    EXPECT_EQ(failures.load(), 0);
    // Each name once, with what its thread set last: equal names would collapse when decoded,
    // so the image's size shows that each was written once.
    const Bytes image = ReadWholeFile(path);
    const auto decoded = DecodeCfgBinary(image);
    ASSERT_TRUE(decoded && decoded->whole);
    size_t recordBytes = 0;
    for (const auto& [name, data] : MapOf(*decoded)) {
        const int thread = name[0] - '0', index = std::stoi(name.substr(3));
        EXPECT_EQ(data, std::string(21 + index, static_cast<char>('a' + thread))) << name;
        recordBytes += 8 + name.size() + data.size();
    }
    EXPECT_EQ(decoded->values.size(), 80u);
    EXPECT_EQ(image.size(), recordBytes);
}
