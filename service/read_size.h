#pragma once
// How much the transfer asks WinInet for in one read. Every call costs a fixed amount (under
// Wine a round trip to the wine server, about 0.1 ms), so reads of one 8192-byte chunk cap a
// fast download far below what the line gives; but a read returns only when its buffer is full
// or the body has ended, so on a slow line a large read would hold the progress back. The size
// therefore follows how long reads take: it doubles while they end quickly and halves when one
// is slow, between one chunk and kMaxReadSize. A read also ends on a multiple of its size, so
// whatever arrives before a pause on such a boundary is read before the pause.

#include <windows.h>

#include <cstdint>

namespace service {

class CReadSize {
public:
    static constexpr DWORD kChunkSize = 8192;
    static constexpr DWORD kMaxReadSize = 128 * kChunkSize;
    static constexpr DWORD kFastReadMs = 20;
    static constexpr DWORD kSlowReadMs = 100;

    // The size of the next read once `received` bytes have arrived.
    DWORD Next(uint64_t received) const;
    // Adjusts the size to a read of the current size that took `milliseconds`.
    void Took(DWORD milliseconds);

private:
    DWORD size_ = kChunkSize;
};

} // namespace service
