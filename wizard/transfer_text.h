#pragma once
// How the download page writes sizes and durations.

#include <cstdint>
#include <string>

// "0", "512 B", "2 MB", "1.5 MB": the value in the largest unit that keeps it at 1024 or more,
// whole numbers without a decimal.
std::wstring FormatByteSize(uint64_t bytes);

// "1 minute 1 second", "2 hours 5 minutes": seconds below an hour with seconds, longer ones
// with hours and minutes, in the language of the resource strings.
std::wstring FormatDuration(uint32_t seconds);
