#include "platform/mt_class.h"

#include "platform/thread.h"

#include <algorithm>

namespace platform {

ThreadOwnerCore::ThreadOwnerCore(unsigned maxThreads, bool accepting)
    : state_(std::make_shared<State>(maxThreads, accepting)) {}

UniqueHandle ThreadOwnerCore::Start(std::function<unsigned()> body,
                                    std::shared_ptr<void> keepAlive) {
    ScopedLock start(state_->startLock);
    if (!state_->accepting || RunningCount() >= state_->maxThreads)
        return UniqueHandle();

    std::shared_ptr<State> state = state_;
    DWORD id = 0;
    UniqueHandle thread = platform::StartThread(
        [state, body = std::move(body), keepAlive = std::move(keepAlive)]() mutable {
            const unsigned result = RunThread(state, body);
            // The object goes before the thread does, on this thread when it was the last owner.
            body = nullptr;
            keepAlive.reset();
            return result;
        },
        &id);
    if (!thread)
        return thread;

    HANDLE duplicate = nullptr;
    const HANDLE process = ::GetCurrentProcess();
    ::DuplicateHandle(process, thread.Get(), process, &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS);
    {
        ScopedLock list(state_->listLock);
        state_->threads.push_back({id, std::move(thread)});
        state_->noThreadRunning.Clear();
    }
    state_->go.Set();
    state_->taken.Wait(INFINITE);
    return UniqueHandle(duplicate);
}

unsigned ThreadOwnerCore::RunThread(const std::shared_ptr<State>& state,
                                    const std::function<unsigned()>& body) {
    // The body must not run before the starter has put this thread into the list, or a quick
    // body would try to remove itself before it was recorded.
    state->go.Wait(INFINITE);
    state->taken.Set();
    unsigned result = static_cast<unsigned>(-1);
    try {
        result = body();
    } catch (...) {
        result = static_cast<unsigned>(-1);
    }
    Remove(*state, ::GetCurrentThreadId());
    return result;
}

void ThreadOwnerCore::Remove(State& state, DWORD threadId) {
    ScopedLock list(state.listLock);
    // A thread that a stop let go is no longer listed; then there is nothing to do.
    const auto found = std::find_if(state.threads.begin(), state.threads.end(),
                                    [threadId](const Running& r) { return r.id == threadId; });
    if (found != state.threads.end())
        state.threads.erase(found);
    if (state.threads.empty())
        state.noThreadRunning.Set();
}

size_t ThreadOwnerCore::Stop(DWORD waitMs) {
    {
        ScopedLock start(state_->startLock);
        state_->accepting = false;
    }
    state_->noThreadRunning.Wait(waitMs);
    ScopedLock list(state_->listLock);
    const size_t abandoned = state_->threads.size();
    state_->threads.clear();
    state_->noThreadRunning.Set();
    return abandoned;
}

bool ThreadOwnerCore::AcceptsThreads() const {
    ScopedLock start(state_->startLock);
    return state_->accepting;
}

size_t ThreadOwnerCore::RunningCount() const {
    ScopedLock list(state_->listLock);
    return state_->threads.size();
}

HANDLE ThreadOwnerCore::NoThreadRunningEvent() const {
    return state_->noThreadRunning.Get();
}

} // namespace platform
