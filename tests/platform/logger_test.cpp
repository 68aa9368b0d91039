// The logger: which sinks get a message, and that sinks may come and go while others log.

#include "platform/logger.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using platform::CLogger;
using platform::LogLevelRange;
using platform::LogMessage;

TEST(Logger, ASinkGetsTheLevelsOfItsRangesUpToTheEndPair) {
    CLogger logger;
    std::vector<int> levels;
    const LogLevelRange ranges[] = {{-256, -256}, {10, 15}, {0, 0}, {20, 30}};
    logger.AddSink([&](const LogMessage& message) { levels.push_back(message.level); }, ranges);
    for (const int level : {-256, -255, 0, 9, 10, 15, 16, 25})
        logger.Log(level, 0, L"x");
    EXPECT_EQ(levels, (std::vector<int>{-256, 10, 15})) << "nothing after the (0, 0) pair";
}

TEST(Logger, MessagesArriveWholeAndARemovedSinkGetsNoMore) {
    CLogger logger;
    const LogLevelRange all[] = {{-1000, 1000}};
    std::vector<LogMessage> first, second;
    const CLogger::SinkId a = logger.AddSink([&](const LogMessage& m) { first.push_back(m); }, all);
    logger.AddSink([&](const LogMessage& m) { second.push_back(m); }, all);
    logger.Log(15, 0x3000, L"Downloading Kovra");
    logger.RemoveSink(a);
    logger.Log(15, 0x4000, L"");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].flags, 0x3000u);
    EXPECT_EQ(first[0].text, L"Downloading Kovra");
    EXPECT_EQ(second.size(), 2u);
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
