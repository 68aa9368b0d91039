// The thread owner: member functions on threads of their own, the limit of running threads, and
// the stop that waits for them or lets them go.

#include "platform/event.h"
#include "platform/mt_class.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

using platform::Event;

// Threads that ended after RunUntilStopped saw the stop.
std::atomic<int> g_stopped{0};

class Worker : public platform::__CMTClass<Worker, INFINITE, 1, 1>,
               public std::enable_shared_from_this<Worker> {
public:
    explicit Worker(std::shared_ptr<Event> release, std::atomic<int>* destroyed = nullptr)
        : release_(std::move(release)), destroyed_(destroyed) {}
    ~Worker() {
        if (destroyed_)
            ++*destroyed_;
    }

    using __CMTClass::StartThread;

    unsigned Sum(int a, int b, int c) { return static_cast<unsigned>(a + b + c); }
    unsigned Throw() { throw 1; }
    // Runs until the owner takes no more threads: a stop that did not wait for it returns
    // before the count.
    unsigned RunUntilStopped() {
        while (AcceptsThreads())
            ::SwitchToThread();
        ++g_stopped;
        return 0;
    }
    unsigned WaitForRelease() {
        release_->Wait(INFINITE);
        return 5;
    }

    void OnThreadsAbandoned() { ++abandonedCalls_; }

    std::atomic<int> abandonedCalls_{0};

private:
    std::shared_ptr<Event> release_;
    std::atomic<int>* destroyed_;
};

std::shared_ptr<Event> NewEvent() {
    return std::make_shared<Event>(Event::Reset::Manual, false);
}

DWORD ExitCodeAfterEnd(HANDLE thread) {
    EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    return code;
}

TEST(ThreadOwner, RunsOneThreadAtATimeWithItsArgumentsAndGivesItsExitCode) {
    const std::shared_ptr<Event> release = NewEvent();
    auto worker = std::make_shared<Worker>(release);
    platform::UniqueHandle first = worker->StartThread(&Worker::WaitForRelease);
    ASSERT_TRUE(first);
    EXPECT_EQ(worker->RunningThreadCount(), 1u);
    EXPECT_FALSE(::WaitForSingleObject(worker->NoThreadRunningEvent(), 0) == WAIT_OBJECT_0);
    EXPECT_FALSE(worker->StartThread(&Worker::Sum, 1, 2, 3)) << "the limit is one thread";
    release->Set();
    EXPECT_EQ(ExitCodeAfterEnd(first.Get()), 5u);
    ASSERT_EQ(::WaitForSingleObject(worker->NoThreadRunningEvent(), 5000), WAIT_OBJECT_0);
    platform::UniqueHandle second = worker->StartThread(&Worker::Sum, 1, 20, 300);
    ASSERT_TRUE(second);
    EXPECT_EQ(ExitCodeAfterEnd(second.Get()), 321u);
    ASSERT_EQ(::WaitForSingleObject(worker->NoThreadRunningEvent(), 5000), WAIT_OBJECT_0);
    platform::UniqueHandle third = worker->StartThread(&Worker::Throw);
    ASSERT_TRUE(third);
    EXPECT_EQ(ExitCodeAfterEnd(third.Get()), static_cast<DWORD>(-1)) << "a member that throws";
}

TEST(ThreadOwner, StopWaitsForTheRunningThreadAndRefusesNewOnes) {
    g_stopped = 0;
    auto worker = std::make_shared<Worker>(NewEvent());
    ASSERT_TRUE(worker->StartThread(&Worker::RunUntilStopped));
    EXPECT_TRUE(worker->Stop(INFINITE));
    EXPECT_EQ(g_stopped.load(), 1) << "the stop returned only after the thread's end";
    EXPECT_EQ(worker->abandonedCalls_.load(), 0);
    EXPECT_FALSE(worker->StartThread(&Worker::Sum, 1, 2, 3));
}

TEST(ThreadOwner, StopLetsGoAThreadThatOutlivesItsWait) {
    const std::shared_ptr<Event> release = NewEvent();
    std::atomic<int> destroyed{0};
    auto worker = std::make_shared<Worker>(release, &destroyed);
    platform::UniqueHandle thread = worker->StartThread(&Worker::WaitForRelease);
    ASSERT_TRUE(thread);
    EXPECT_FALSE(worker->Stop(100));
    EXPECT_EQ(worker->abandonedCalls_.load(), 1);
    EXPECT_EQ(worker->RunningThreadCount(), 0u) << "the owner forgot the thread";
    EXPECT_EQ(::WaitForSingleObject(thread.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // The thread still holds the object: dropping ours destroys nothing yet.
    worker.reset();
    EXPECT_EQ(destroyed.load(), 0);
    release->Set();
    EXPECT_EQ(ExitCodeAfterEnd(thread.Get()), 5u);
    EXPECT_EQ(destroyed.load(), 1) << "the thread let go of the object as it ended";
}

TEST(ThreadOwner, ObjectNotOwnedByASharedPointerWaitsInItsDestructor) {
    g_stopped = 0;
    {
        Worker worker(NewEvent());
        ASSERT_TRUE(worker.StartThread(&Worker::RunUntilStopped));
    }
    EXPECT_EQ(g_stopped.load(), 1) << "the destructor's stop waited for the thread";
}

} // namespace
