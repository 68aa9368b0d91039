#pragma once
// The thread owner: starts member functions of its derived class on threads of their own, keeps
// their handles and waits for them when it is stopped.
//
// A thread that is still running when a stop's wait runs out is let go: the owner forgets it and
// the stop returns. The thread then ends by itself. So that it never touches freed memory, the
// owner's bookkeeping lives in a block that every thread holds a reference to, and the derived
// object is kept alive by the thread too when it is owned by a std::shared_ptr (derive it from
// std::enable_shared_from_this). The derived class hears of threads it lost through
// OnThreadsAbandoned, called before the stop returns, and keeps them from changing its state.

#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/unique_resource.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

// The untyped part of the owner: the thread list, the hand-shake and the stop.
class ThreadOwnerCore {
public:
    ThreadOwnerCore(unsigned maxThreads, bool accepting);
    ThreadOwnerCore(const ThreadOwnerCore&) = delete;
    ThreadOwnerCore& operator=(const ThreadOwnerCore&) = delete;

    // Runs `body` on a new thread, which holds `keepAlive` until it has ended. Returns a
    // duplicate of the thread's handle (the caller closes it), or an invalid handle when the
    // owner does not accept threads, already runs its maximum, or no thread could be created.
    UniqueHandle Start(std::function<unsigned()> body, std::shared_ptr<void> keepAlive);

    // Stops accepting threads and waits up to `waitMs` for the running ones to end; then forgets
    // every thread still running. Returns the number of threads so let go (0: all had ended).
    size_t Stop(DWORD waitMs);

    bool AcceptsThreads() const;
    size_t RunningCount() const;
    // Signalled while no thread of this owner runs.
    HANDLE NoThreadRunningEvent() const;

private:
    struct Running {
        DWORD id = 0;
        UniqueHandle handle;
    };
    // Shared with every thread, so a thread that was let go can still remove itself safely.
    struct State {
        State(unsigned max, bool accept) : maxThreads(max), accepting(accept) {}
        const unsigned maxThreads;
        CriticalSection startLock;
        bool accepting;
        mutable CriticalSection listLock;
        std::vector<Running> threads;
        Event noThreadRunning{Event::Reset::Manual, true};
        Event go{Event::Reset::Automatic, false};
        Event taken{Event::Reset::Automatic, false};
    };

    static unsigned RunThread(const std::shared_ptr<State>& state,
                              const std::function<unsigned()>& body);
    static void Remove(State& state, DWORD threadId);

    std::shared_ptr<State> state_;
};

// T: the derived class whose member functions run on the threads. kStopWaitMs: the wait of the
// stop that the destructor makes. kMaxThreads: how many threads may run at once. kAccepting: 1
// when threads are accepted from the start.
template <class T, DWORD kStopWaitMs = INFINITE, unsigned kMaxThreads = 1, unsigned kAccepting = 1>
class __CMTClass {
public:
    __CMTClass() : core_(kMaxThreads, kAccepting != 0) {}
    // The derived part is gone by now, so it is not told of threads let go here; a derived class
    // that may have threads running stops them in its own destructor.
    ~__CMTClass() { core_.Stop(kStopWaitMs); }
    __CMTClass(const __CMTClass&) = delete;
    __CMTClass& operator=(const __CMTClass&) = delete;

    // Stops accepting threads and waits up to `waitMs` for the running ones. True when all had
    // ended; otherwise the rest are let go and the derived class is told before this returns.
    bool Stop(DWORD waitMs = kStopWaitMs) {
        const size_t abandoned = core_.Stop(waitMs);
        if (abandoned != 0)
            static_cast<T*>(this)->OnThreadsAbandoned();
        return abandoned == 0;
    }

    bool AcceptsThreads() const { return core_.AcceptsThreads(); }
    size_t RunningThreadCount() const { return core_.RunningCount(); }
    HANDLE NoThreadRunningEvent() const { return core_.NoThreadRunningEvent(); }

protected:
    // Runs `member` with up to three arguments (copied) on a new thread; its result becomes the
    // thread's exit code, and -1 when it throws. Returns a duplicate of the thread's handle, or
    // an invalid handle when no thread was started.
    template <class... Params, class... Args>
    UniqueHandle StartThread(unsigned (T::*member)(Params...), Args&&... args) {
        static_assert(sizeof...(Args) <= 3, "a thread takes up to three arguments");
        T* const object = static_cast<T*>(this);
        auto body = [object, member,
                     arguments =
                         std::make_tuple(std::decay_t<Args>(std::forward<Args>(args))...)]() {
            return std::apply([&](const auto&... a) { return (object->*member)(a...); }, arguments);
        };
        return core_.Start(std::move(body), KeepAlive());
    }

    // Called by a stop that let threads go. The derived class hides it with its own.
    void OnThreadsAbandoned() {}

private:
    std::shared_ptr<void> KeepAlive() {
        if constexpr (std::is_convertible_v<T*, std::enable_shared_from_this<T>*>)
            return static_cast<T*>(this)->weak_from_this().lock();
        else
            return nullptr;
    }

    ThreadOwnerCore core_;
};

} // namespace platform
