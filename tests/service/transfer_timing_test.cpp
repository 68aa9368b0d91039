// Rate and remaining time after a chunk.

#include "service/transfer_timing.h"

#include <gtest/gtest.h>

using service::ComputeTransferTiming;

namespace {

TEST(TransferTiming, AverageRateAndScaledRemainingTime) {
    // A quarter of 400000 bytes in 10 s: 10000 B/s, the whole takes 40 s, 30 s are left.
    const auto timing = ComputeTransferTiming(400000, 100000, 10000);
    EXPECT_EQ(timing.rate, 10000u);
    EXPECT_EQ(timing.elapsedSeconds, 10u);
    EXPECT_EQ(timing.remainingSeconds, 30u);
    // The estimate is truncated before the elapsed seconds are taken off: 3 * 1.5 s = 4.5 s,
    // truncated to 4; elapsed 1 s.
    const auto truncated = ComputeTransferTiming(3000, 1000, 1500);
    EXPECT_EQ(truncated.rate, 666u);
    EXPECT_EQ(truncated.elapsedSeconds, 1u);
    EXPECT_EQ(truncated.remainingSeconds, 3u);
}

TEST(TransferTiming, NothingKnownGivesZerosAndOddFiguresStayInRange) {
    const auto start = ComputeTransferTiming(1000, 0, 0);
    EXPECT_EQ(start.rate, 0u);
    EXPECT_EQ(start.remainingSeconds, 0u);
    const auto noLength = ComputeTransferTiming(0, 5000, 2000);
    EXPECT_EQ(noLength.rate, 2500u);
    EXPECT_EQ(noLength.remainingSeconds, 0u);
    const auto noTime = ComputeTransferTiming(1000, 500, 0);
    EXPECT_EQ(noTime.rate, 0u);
    EXPECT_EQ(noTime.remainingSeconds, 0u);
    // More than announced never gives a negative time; huge rates are capped.
    const auto more = ComputeTransferTiming(1000, 4000, 8000);
    EXPECT_EQ(more.remainingSeconds, 0u);
    EXPECT_EQ(more.elapsedSeconds, 8u);
    EXPECT_EQ(ComputeTransferTiming(0xFFFFFFFFu, 0xFFFFFFF0u, 1).rate, 0xFFFFFFFFu);
}

} // namespace
