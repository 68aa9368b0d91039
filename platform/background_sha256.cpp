#include "platform/background_sha256.h"

#include "platform/thread.h"

#include <algorithm>

namespace platform {

CBackgroundSha256::CBackgroundSha256() {
    filling_.reserve(kBlockSize);
    thread_ = StartThread([this] {
        HashBlocks();
        return 0u;
    });
}

CBackgroundSha256::~CBackgroundSha256() {
    StopThread(true);
}

void CBackgroundSha256::Add(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size != 0) {
        const size_t piece = std::min(size, kBlockSize - filling_.size());
        filling_.insert(filling_.end(), bytes, bytes + piece);
        bytes += piece;
        size -= piece;
        if (filling_.size() == kBlockSize) {
            HandOver(std::move(filling_));
            filling_ = EmptyBlock();
        }
    }
}

std::optional<Sha256Digest> CBackgroundSha256::Finish() {
    if (!filling_.empty())
        HandOver(std::move(filling_));
    filling_ = {};
    StopThread(false);
    return hash_.Finish();
}

std::vector<char> CBackgroundSha256::EmptyBlock() {
    std::vector<char> block;
    {
        ScopedLock hold(lock_);
        if (!spare_.empty()) {
            block = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    block.clear();
    block.reserve(kBlockSize);
    return block;
}

void CBackgroundSha256::HandOver(std::vector<char> block) {
    if (!thread_) {
        hash_.Add(block.data(), block.size());
        ScopedLock hold(lock_);
        spare_.push_back(std::move(block));
        return;
    }
    for (;;) {
        {
            ScopedLock hold(lock_);
            if (waiting_.size() < kMostWaiting) {
                waiting_.push_back(std::move(block));
                break;
            }
        }
        room_.Wait(INFINITE);
    }
    work_.Set();
}

void CBackgroundSha256::HashBlocks() {
    for (;;) {
        std::vector<char> block;
        {
            ScopedLock hold(lock_);
            if (waiting_.empty() && ending_)
                return;
            if (!waiting_.empty()) {
                block = std::move(waiting_.front());
                waiting_.pop_front();
            }
        }
        if (block.empty()) {
            work_.Wait(INFINITE);
            continue;
        }
        room_.Set();
        hash_.Add(block.data(), block.size());
        ScopedLock hold(lock_);
        spare_.push_back(std::move(block));
    }
}

void CBackgroundSha256::StopThread(bool dropWaiting) {
    if (!thread_)
        return;
    {
        ScopedLock hold(lock_);
        ending_ = true;
        if (dropWaiting)
            waiting_.clear();
    }
    work_.Set();
    ::WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

} // namespace platform
