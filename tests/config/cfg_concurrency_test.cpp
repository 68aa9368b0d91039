#include "config/cfg_binary_format.h"
#include "config/cfg_core.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>

namespace {

constexpr DWORD kGroup = 0x100;
constexpr int kThreads = 4;
constexpr int kValuesPerThread = 40;

std::string NameOf(int thread, int index) {
    return platform::FormatAnsi("t%d\\v%d", thread, index);
}

std::string DataOf(int thread, int index, int round) {
    const std::string run(static_cast<size_t>(1 + (index * 7) % 50),
                          static_cast<char>('a' + thread));
    return platform::FormatAnsi("%s#%d", run.c_str(), round);
}

// Each thread sets its own values twice over and reads them back, and reads the other threads'
// values while they change.
unsigned Work(CACfg& cfg, int thread, std::atomic<int>& failures) {
    for (int round = 0; round < 2; ++round) {
        for (int index = 0; index < kValuesPerThread; ++index) {
            const std::string name = NameOf(thread, index);
            if (!SetText(cfg, name.c_str(), DataOf(thread, index, round),
                         kCfgStorageFile | kCfgStorageMemory | kGroup))
                ++failures;
            if (ValueText(cfg, name.c_str()) != DataOf(thread, index, round))
                ++failures;
            const std::string other = NameOf((thread + 1) % kThreads, index);
            const std::string seen = ValueText(cfg, other.c_str());
            if (!seen.empty() && seen != DataOf((thread + 1) % kThreads, index, 0) &&
                seen != DataOf((thread + 1) % kThreads, index, 1))
                ++failures;
        }
    }
    return 0;
}

} // namespace

TEST(CfgConcurrency, ThreadsSettingAndGettingAtOnceEndWithEveryValueSavedOnceAndIntact) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"shared.cfg");
    Bytes buffer;
    std::atomic<int> failures{0};
    {
        CACfgCore cfg;
        CACfgStorageInfo fileInfo;
        fileInfo.path = path.c_str();
        ASSERT_TRUE(cfg.AddStorage(kCfgStorageFile | kCfgFormatBinary | kGroup, fileInfo));
        CACfgStorageInfo bufferInfo;
        bufferInfo.buffer = &buffer;
        ASSERT_TRUE(cfg.AddStorage(kCfgStorageMemory | kCfgFormatBinary | kGroup, bufferInfo));

        std::vector<platform::UniqueHandle> threads;
        for (int thread = 0; thread < kThreads; ++thread)
            threads.push_back(platform::StartThread(
                [&cfg, thread, &failures] { return Work(cfg, thread, failures); }));
        for (const platform::UniqueHandle& thread : threads) {
            ASSERT_TRUE(thread);
            ASSERT_EQ(::WaitForSingleObject(thread.Get(), 60000), WAIT_OBJECT_0);
        }
    }
    EXPECT_EQ(failures.load(), 0);
    for (const Bytes& image : {ReadWholeFile(path), buffer}) {
        const auto records = DecodeCfgBinary(image);
        ASSERT_TRUE(records);
        std::map<std::string, std::string> values;
        for (const CfgLoadedValue& record : *records)
            values[record.name] = std::string(record.data.begin(), record.data.end());
        EXPECT_EQ(records->size(), size_t{kThreads * kValuesPerThread});
        ASSERT_EQ(values.size(), size_t{kThreads * kValuesPerThread});
        for (int thread = 0; thread < kThreads; ++thread) {
            for (int index = 0; index < kValuesPerThread; ++index)
                EXPECT_EQ(values.at(NameOf(thread, index)), DataOf(thread, index, 1));
        }
    }
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u);
}
