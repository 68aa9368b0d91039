// Rate and remaining time after a chunk.

#include "service/transfer_timing.h"

#include <gtest/gtest.h>

namespace {

TEST(TransferTiming, AverageRateScaledRemainingTimeAndOddFigures) {
    const struct {
        uint32_t total, received, elapsedMs, rate, elapsed, remaining;
    } cases[] = {
        // A quarter of 400000 bytes in 10 s: 10000 B/s, the whole takes 40 s, 30 s are left.
        {400000, 100000, 10000, 10000, 10, 30},
        // The estimate is truncated before the elapsed second is taken off: 4.5 s, 4 - 1.
        {3000, 1000, 1500, 666, 1, 3},
        {1000, 0, 0, 0, 0, 0},                            // nothing yet
        {0, 5000, 2000, 2500, 2, 0},                      // no length
        {1000, 500, 0, 0, 0, 0},                          // no time
        {1000, 4000, 8000, 500, 8, 0},                    // more than announced: never negative
        {0xFFFFFFFFu, 0xFFFFFFF0u, 1, 0xFFFFFFFFu, 0, 0}, // huge rates are capped
    };
    for (const auto& c : cases) {
        const auto timing = service::ComputeTransferTiming(c.total, c.received, c.elapsedMs);
        EXPECT_EQ(timing.rate, c.rate) << c.received;
        EXPECT_EQ(timing.elapsedSeconds, c.elapsed) << c.received;
        EXPECT_EQ(timing.remainingSeconds, c.remaining) << c.received;
    }
}

} // namespace
