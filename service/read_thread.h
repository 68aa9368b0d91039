#pragma once
// The transfer's reader: a thread that runs one read at a time, so that the transfer waits for
// each read in short slices and can leave one that a slow or silent line holds. Under Wine a
// WinInet read returns only when its buffer is full or the body has ended, and nothing from
// another thread releases it, so a cancel must not wait for it.

#include "platform/unique_resource.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace service {

class CReadThread {
public:
    CReadThread() = default;
    // Ends an idle thread and waits for it; a thread that was left a read ends by itself.
    ~CReadThread();
    CReadThread(const CReadThread&) = delete;
    CReadThread& operator=(const CReadThread&) = delete;

    // Runs `read` on the thread, started on first use, and returns at once. `read` must own (or
    // share) all it uses: it is destroyed on the thread after it ran, also when it was left.
    // When no thread can be started, `read` runs here before Start returns. One read at a time:
    // call only when the last one has run or was left. All calls come from one thread.
    void Start(std::function<void()> read);

    // Waits up to `milliseconds` for the read started last (it may return sooner); true when it
    // has run and its function is gone.
    bool WaitFor(DWORD milliseconds);

    // Leaves the read in flight to the thread, which ends once it has run; the next Start
    // starts a new thread.
    void Leave();

private:
    struct Shared;
    static unsigned Run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    platform::UniqueHandle thread_;
};

} // namespace service
