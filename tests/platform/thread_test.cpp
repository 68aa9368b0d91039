#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::atomic<int> g_ending;
std::atomic<DWORD> g_startedOn;

void OnStarted(void*) {
    g_startedOn = ::GetCurrentThreadId();
}
void OnEnding(void*) {
    ++g_ending;
}

} // namespace

TEST(StartThread, ObserverSeesBeginAndEndOnTheNewThread) {
    g_startedOn = 0;
    g_ending = 0;
    platform::SetThreadObserver({&OnStarted, &OnEnding, nullptr});
    DWORD id = 0;
    platform::UniqueHandle thread = platform::StartThread([] { return 7u; }, &id);
    ASSERT_TRUE(thread);
    // StartThread returns only once the thread runs, so its start has been seen already.
    EXPECT_EQ(g_startedOn.load(), id);
    ASSERT_EQ(::WaitForSingleObject(thread.Get(), 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread.Get(), &code);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(g_ending.load(), 1);
    platform::SetThreadObserver({});
}
