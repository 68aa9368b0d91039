// Sizes and durations as the download page shows them.

#include "wizard/transfer_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteSize, SmallValuesInBytes) {
    EXPECT_EQ(FormatByteSize(0), L"0");
    EXPECT_EQ(FormatByteSize(1), L"1 B");
    EXPECT_EQ(FormatByteSize(512), L"512 B");
    EXPECT_EQ(FormatByteSize(1023), L"1023 B");
}

TEST(ByteSize, LargerValuesInTheUnitThatKeepsThemBelow1024) {
    EXPECT_EQ(FormatByteSize(1024), L"1 KB");
    EXPECT_EQ(FormatByteSize(1536), L"1.5 KB");
    EXPECT_EQ(FormatByteSize(2ull << 20), L"2 MB");
    EXPECT_EQ(FormatByteSize(3ull << 19), L"1.5 MB");
    EXPECT_EQ(FormatByteSize(100000000), L"95.4 MB");
    EXPECT_EQ(FormatByteSize(5ull << 30), L"5 GB");
    EXPECT_EQ(FormatByteSize(1ull << 40), L"1 TB");
    EXPECT_EQ(FormatByteSize(1ull << 50), L"1 PB") << "the fifth unit is the petabyte";
    EXPECT_EQ(FormatByteSize(1ull << 60), L"1024 PB") << "at most five divisions";
}

TEST(Duration, SecondsMinutesAndHours) {
    EXPECT_EQ(FormatDuration(0), L"0 seconds");
    EXPECT_EQ(FormatDuration(1), L"1 second");
    EXPECT_EQ(FormatDuration(59), L"59 seconds");
    EXPECT_EQ(FormatDuration(60), L"1 minute 0 seconds");
    EXPECT_EQ(FormatDuration(61), L"1 minute 1 second");
    EXPECT_EQ(FormatDuration(121), L"2 minutes 1 second");
    EXPECT_EQ(FormatDuration(3599), L"59 minutes 59 seconds");
    EXPECT_EQ(FormatDuration(3600), L"1 hour 0 minutes");
    EXPECT_EQ(FormatDuration(3700), L"1 hour 1 minute");
    EXPECT_EQ(FormatDuration(7322), L"2 hours 2 minutes");
}

} // namespace
