#pragma once
// Rate and remaining time of a transfer, as averages since its start.

#include <cstdint>

namespace service {

struct TransferTiming {
    uint32_t rate = 0; // bytes per second
    uint32_t remainingSeconds = 0;
    uint32_t elapsedSeconds = 0;
};

// From the reply's size (`total`, 0 when unknown), the bytes received and the milliseconds
// spent. The remaining time scales the time spent by the share still missing; it is 0 while
// nothing is known, and never negative.
TransferTiming ComputeTransferTiming(uint32_t total, uint32_t received, uint32_t elapsedMs);

} // namespace service
