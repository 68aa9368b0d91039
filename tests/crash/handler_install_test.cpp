#include "crash/crash_handler.h"
#include "crash/thread_registry.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

namespace {

crash::CrashHandlerConfig SilentConfig() {
    crash::CrashHandlerConfig config = {};
    config.flags = crash::kCrashFlagSilent;
    crash::SetConfigText(config.applicationName, "Crash Tests");
    return config;
}

} // namespace

// Installs the handler into this test program; it stays armed only for the test's duration.
TEST(CrashHandlerInstall, ThreadsOfTheWrapperRegisterThemselvesWhileTheyRun) {
    ASSERT_TRUE(crash::InstallCrashHandler(SilentConfig()));
    EXPECT_EQ(crash::CurrentCrashStage(), crash::kStageArmed);
    const std::size_t before = crash::ThreadRegistry::Count();
    EXPECT_GE(before, 1u);        // the installing thread
    crash::RegisterCrashThread(); // a second call changes nothing
    EXPECT_EQ(crash::ThreadRegistry::Count(), before);

    std::size_t seenInside = 0;
    crash::RegisteredThread entry;
    bool found = false;
    DWORD id = 0;
    platform::UniqueHandle thread = platform::StartThread(
        [&] {
            seenInside = crash::ThreadRegistry::Count();
            found = crash::ThreadRegistry::Find(::GetCurrentThreadId(), entry);
            return 0u;
        },
        &id);
    ASSERT_TRUE(thread);
    ::WaitForSingleObject(thread.Get(), 5000);
    EXPECT_EQ(seenInside, before + 1);
    ASSERT_TRUE(found);
    EXPECT_EQ(entry.id, id);
    EXPECT_GT(entry.stackBase, entry.stackLimit);
    EXPECT_EQ(crash::ThreadRegistry::Count(), before); // it left the table as it ended

    crash::UninstallCrashHandler();
    EXPECT_EQ(crash::ThreadRegistry::Count(), 0u);
}

TEST(CrashHandlerInstall, NoOtherFilterTakesOverOnceInstalled) {
    ASSERT_TRUE(crash::InstallCrashHandler(SilentConfig()));
    // Every import of the setter now reaches the routine that changes nothing.
    EXPECT_EQ(::SetUnhandledExceptionFilter(nullptr), nullptr);
    EXPECT_EQ(::SetUnhandledExceptionFilter(nullptr), nullptr);
    crash::UninstallCrashHandler();
}
