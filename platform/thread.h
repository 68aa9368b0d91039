#pragma once
// The program's threads. Every thread it starts goes through StartThread, so that process-wide
// observers (the crash handler) see each thread begin and end on the thread itself.

#include "platform/unique_resource.h"

#include <functional>

namespace platform {

// Called on the new thread before its body runs, and on the same thread after the body returned.
struct ThreadObserver {
    void (*started)(void* context) = nullptr;
    void (*ending)(void* context) = nullptr;
    void* context = nullptr;
};

// Sets the process-wide observer (one at a time; pass {} to remove). Call before threads start.
void SetThreadObserver(const ThreadObserver& observer);

// Starts `body` on a new thread and returns only once the thread runs (the observer's `started`
// has been called there). Returns the thread handle, or an invalid handle when no thread could be
// created. `threadId` receives the new thread's id when not null.
UniqueHandle StartThread(std::function<unsigned()> body, DWORD* threadId = nullptr);

} // namespace platform
