#include "crash/crash_config.h"
#include "crash/exception_codes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

TEST(CrashConfig, FieldsSitWhereProductsExpectThem) {
    using crash::CrashHandlerConfig;
    EXPECT_EQ(offsetof(CrashHandlerConfig, supportAddress), 4u);
    EXPECT_EQ(offsetof(CrashHandlerConfig, machine), 4u + 6 * 128);
    EXPECT_EQ(offsetof(CrashHandlerConfig, embeddedMinidumpType), 900u);
    EXPECT_EQ(offsetof(CrashHandlerConfig, keptMinidumpFolder), 908u);
}

TEST(CrashConfig, TextsAreCutToTheirFieldAndTerminated) {
    crash::CrashHandlerConfig config = {};
    crash::SetConfigText(config.applicationName, std::string(300, 'a').c_str());
    EXPECT_EQ(std::string(config.applicationName), std::string(127, 'a'));
    crash::SetConfigText(config.applicationName, "Velk Update Wizard");
    EXPECT_STREQ(config.applicationName, "Velk Update Wizard");
    EXPECT_EQ(config.applicationName[127], 0);
    EXPECT_EQ(config.applicationName[20], 0); // the rest of the old text is cleared
}
