// The size of the transfer's reads: how it follows the time reads take, and that reads end on
// multiples of their size.

#include "service/read_size.h"

#include <gtest/gtest.h>

using service::CReadSize;

namespace {

constexpr DWORD kChunk = CReadSize::kChunkSize;
constexpr DWORD kMax = CReadSize::kMaxReadSize;
constexpr DWORD kFast = CReadSize::kFastReadMs - 1;
constexpr DWORD kSlow = CReadSize::kSlowReadMs + 1;

} // namespace

TEST(ReadSize, GrowsWhileReadsAreFastAndShrinksWhenOneIsSlow) {
    CReadSize size;
    EXPECT_EQ(size.Next(0), kChunk);
    uint64_t received = 0;
    for (int i = 0; i < 20; ++i) {
        received += size.Next(received);
        size.Took(kFast);
    }
    EXPECT_EQ(size.Next(received), kMax) << "never above the largest read";
    size.Took(kSlow);
    EXPECT_EQ(size.Next(received), kMax / 2);
    size.Took((CReadSize::kFastReadMs + CReadSize::kSlowReadMs) / 2);
    EXPECT_EQ(size.Next(received), kMax / 2) << "a read of medium length keeps the size";
    for (int i = 0; i < 20; ++i)
        size.Took(kSlow);
    EXPECT_EQ(size.Next(received), kChunk) << "never below one chunk";
}

TEST(ReadSize, ReadsEndOnMultiplesOfTheirSize) {
    // Whatever the mix of fast and slow reads, every multiple of the largest read is reached
    // exactly, so data sent up to such a point never waits for more to fill a read.
    CReadSize size;
    uint64_t received = 0;
    const DWORD timings[] = {kFast, kFast, kSlow, kFast, kFast, kFast, kFast, kFast,
                             kFast, kFast, kSlow, kSlow, kFast, kFast, kFast, kFast};
    uint64_t nextBoundary = kMax;
    for (int i = 0; i < 400; ++i) {
        const DWORD wanted = size.Next(received);
        ASSERT_LE(received + wanted, nextBoundary) << "read " << i << " crosses a boundary";
        received += wanted;
        if (received == nextBoundary)
            nextBoundary += kMax;
        size.Took(timings[i % std::size(timings)]);
    }
    EXPECT_GT(nextBoundary, 10ull * kMax);
}

TEST(ReadSize, AShortReadIsFollowedByOneBackOnTheBoundary) {
    CReadSize size;
    size.Took(kFast); // 16 KiB reads
    EXPECT_EQ(size.Next(1696), 2 * kChunk - 1696);
    EXPECT_EQ(size.Next(2 * kChunk), 2 * kChunk);
}
