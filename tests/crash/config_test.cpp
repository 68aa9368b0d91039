#include "crash/crash_config.h"
#include "crash/exception_codes.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(CrashConfig, FieldsSitWhereProductsExpectThem) {
    using crash::CrashHandlerConfig;
    EXPECT_EQ(offsetof(CrashHandlerConfig, supportAddress), 4u);
    EXPECT_EQ(offsetof(CrashHandlerConfig, machine), 4u + 6 * 128);
    EXPECT_EQ(offsetof(CrashHandlerConfig, embeddedMinidumpType), 900u);
    EXPECT_EQ(offsetof(CrashHandlerConfig, keptMinidumpFolder), 908u);
}
