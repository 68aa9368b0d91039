// The logger: which sinks get a message, and that sinks may come and go while others log.

#include "platform/logger.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using platform::CLogger;
using platform::LogLevelRange;
using platform::LogMessage;

TEST(Logger, ASinkGetsTheLevelsOfItsRangesUpToTheEndPairUntilItIsRemoved) {
    CLogger logger;
    std::vector<LogMessage> seen;
    int others = 0;
    const LogLevelRange ranges[] = {{-256, -256}, {10, 15}, {0, 0}, {20, 30}};
    const CLogger::SinkId sink =
        logger.AddSink([&](const LogMessage& message) { seen.push_back(message); }, ranges);
    logger.AddSink([&](const LogMessage&) { ++others; }, ranges);
    for (const int level : {-256, -255, 0, 9, 10, 15, 16, 25})
        logger.Log(level, 0x3000, L"Downloading Kovra");
    logger.RemoveSink(sink);
    logger.Log(10, 0, L"");
    ASSERT_EQ(seen.size(), 3u) << "nothing after the (0, 0) pair, nothing after the removal";
    EXPECT_EQ(seen[2].level, 15);
    EXPECT_EQ(seen[2].flags, 0x3000u);
    EXPECT_EQ(seen[2].text, L"Downloading Kovra");
    EXPECT_EQ(others, 4);
}

TEST(Logger, ASinkMayLogAndRegisterInTurn) {
    CLogger logger;
    const LogLevelRange one[] = {{1, 1}};
    const LogLevelRange two[] = {{2, 2}};
    int seenTwo = 0;
    logger.AddSink([&](const LogMessage&) { ++seenTwo; }, two);
    logger.AddSink(
        [&](const LogMessage&) {
            logger.Log(2, 0, L"again");
            logger.AddSink([](const LogMessage&) {}, two);
        },
        one);
    logger.Log(1, 0, L"first");
    EXPECT_EQ(seenTwo, 1);
}

TEST(Logger, ThreadsLogWhileSinksComeAndGo) {
    CLogger logger;
    const LogLevelRange all[] = {{-1000, 1000}};
    std::atomic<int> kept{0};
    logger.AddSink([&](const LogMessage&) { ++kept; }, all);
    constexpr int kThreads = 4;
    constexpr int kMessages = 2000;
    std::vector<platform::UniqueHandle> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.push_back(platform::StartThread([&] {
            for (int i = 0; i < kMessages; ++i)
                logger.Log(i % 7, 0, L"message");
            return 0u;
        }));
    for (int i = 0; i < 500; ++i)
        logger.RemoveSink(logger.AddSink([](const LogMessage&) {}, all));
    for (const auto& thread : threads)
        ASSERT_EQ(::WaitForSingleObject(thread.Get(), 60000), WAIT_OBJECT_0);
    EXPECT_EQ(kept.load(), kThreads * kMessages);
}
