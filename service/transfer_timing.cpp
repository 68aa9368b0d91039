#include "service/transfer_timing.h"

#include <cmath>
#include <limits>

namespace service {
namespace {

uint32_t ClampToU32(double value) {
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value);
}

} // namespace

TransferTiming ComputeTransferTiming(uint32_t total, uint32_t received, uint32_t elapsedMs) {
    TransferTiming timing;
    timing.elapsedSeconds = elapsedMs / 1000;
    if (elapsedMs != 0)
        timing.rate = ClampToU32(static_cast<double>(received) * 1000.0 / elapsedMs);
    if (received != 0 && total != 0) {
        const double whole = std::trunc(static_cast<double>(total) / received * elapsedMs / 1000.0);
        // More received than announced would give a negative estimate.
        timing.remainingSeconds = ClampToU32(whole - timing.elapsedSeconds);
    }
    return timing;
}

} // namespace service
