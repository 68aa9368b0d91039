#include "crash/crash_handler.h"
#include "crash/thread_registry.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

// Installs the handler into this test program; it stays armed only for the test's duration.
TEST(CrashHandlerInstall, ThreadsOfTheWrapperRegisterThemselvesWhileTheyRun) {
    crash::CrashHandlerConfig config = {};
    config.flags = crash::kCrashFlagSilent;
    ASSERT_TRUE(crash::InstallCrashHandler(config));
    const std::size_t before = crash::ThreadRegistry::Count();
    EXPECT_GE(before, 1u);        // the installing thread
    crash::RegisterCrashThread(); // a second call changes nothing
    EXPECT_EQ(crash::ThreadRegistry::Count(), before);

    crash::RegisteredThread entry;
    DWORD id = 0;
    platform::UniqueHandle thread = platform::StartThread(
        [&] { return crash::ThreadRegistry::Find(::GetCurrentThreadId(), entry) ? 1u : 0u; }, &id);
    ASSERT_TRUE(thread);
    ::WaitForSingleObject(thread.Get(), INFINITE);
    EXPECT_EQ(entry.id, id);
    EXPECT_GT(entry.stackBase, entry.stackLimit);
    EXPECT_EQ(crash::ThreadRegistry::Count(), before); // it left the table as it ended

    crash::UninstallCrashHandler();
    EXPECT_EQ(crash::ThreadRegistry::Count(), 0u);
}
