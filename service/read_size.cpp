#include "service/read_size.h"

namespace service {

DWORD CReadSize::Next(uint64_t received) const {
    return size_ - static_cast<DWORD>(received % size_);
}

void CReadSize::Took(DWORD milliseconds) {
    if (milliseconds < kFastReadMs && size_ < kMaxReadSize)
        size_ *= 2;
    else if (milliseconds > kSlowReadMs && size_ > kChunkSize)
        size_ /= 2;
}

} // namespace service
