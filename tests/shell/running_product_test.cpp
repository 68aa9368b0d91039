// The test for a running product of the family: a mutex named after its product id.

#include "shell/running_product.h"

#include "platform/unique_resource.h"

#include <gtest/gtest.h>

TEST(RunningProduct, NegativeIdNamesTheMutexWithAMinusSign) {
    const platform::UniqueHandle held(::CreateMutexA(nullptr, FALSE, "kv_family_running_mutex.-5"));
    EXPECT_TRUE(IsFamilyProductRunning(static_cast<uint32_t>(-5)));
    EXPECT_FALSE(IsFamilyProductRunning(static_cast<uint32_t>(-6)));
    EXPECT_FALSE(
        platform::UniqueHandle(::OpenMutexA(SYNCHRONIZE, FALSE, "kv_family_running_mutex.-6")))
        << "the test left its mutex behind";
}
