#pragma once
// SHA-256 of a stream of bytes, computed on a thread of its own so that the hashing overlaps
// with what the caller waits for (a download's network and disk): on a line slower than the
// hash, hashing then adds next to nothing to the download. The bytes are copied into blocks of
// 1 MiB; at most a few blocks wait at a time, so the memory stays small and the caller waits only
// when the hash falls behind.

#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/sha256.h"
#include "platform/unique_resource.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace platform {

class CBackgroundSha256 {
public:
    CBackgroundSha256();
    // Ends the thread; bytes not yet hashed are dropped.
    ~CBackgroundSha256();
    CBackgroundSha256(const CBackgroundSha256&) = delete;
    CBackgroundSha256& operator=(const CBackgroundSha256&) = delete;

    // Adds the next bytes. One caller thread at a time.
    void Add(const void* data, size_t size);
    // The digest of everything added, once the thread has hashed it; nothing when the system's
    // hash failed. Once only.
    std::optional<Sha256Digest> Finish();

private:
    static constexpr size_t kBlockSize = 1 << 20;
    static constexpr size_t kMostWaiting = 4;

    void HandOver(std::vector<char> block);
    std::vector<char> EmptyBlock();
    void HashBlocks();
    void StopThread(bool dropWaiting);

    CSha256 hash_;
    std::vector<char> filling_;
    CriticalSection lock_;
    std::deque<std::vector<char>> waiting_;
    // Hashed blocks, kept for reuse: fresh memory for every block costs more than the hash.
    std::vector<std::vector<char>> spare_;
    bool ending_ = false;
    Event work_{Event::Reset::Automatic, false};
    Event room_{Event::Reset::Automatic, false};
    // Without a thread the bytes are hashed on the caller's.
    UniqueHandle thread_;
};

} // namespace platform
