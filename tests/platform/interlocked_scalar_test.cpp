// The locked value behind the cancel requests.

#include "platform/interlocked_scalar.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingScalar : public platform::CInterlockedScalar<int> {
public:
    std::vector<std::pair<int, int>> changes;

protected:
    void OnChange(int oldValue, int newValue) override { changes.emplace_back(oldValue, newValue); }
};

TEST(InterlockedScalar, ChangeHandlerSeesOnlyRealChanges) {
    RecordingScalar value;
    EXPECT_EQ(value.Set(0), 0);
    EXPECT_EQ(value.Set(5), 5);
    EXPECT_EQ(value.Set(5), 5);
    EXPECT_EQ(value.Set(2), 2);
    EXPECT_EQ(value.Get(), 2);
    ASSERT_EQ(value.changes.size(), 2u);
    EXPECT_EQ(value.changes[0], std::make_pair(0, 5));
    EXPECT_EQ(value.changes[1], std::make_pair(5, 2));
}

TEST(InterlockedScalar, FlagSetOnAnotherThreadIsSeen) {
    platform::CInterlockedScalar<bool> cancel(false);
    platform::UniqueHandle thread = platform::StartThread([&] {
        cancel.Set(true);
        return 0u;
    });
    ASSERT_TRUE(thread.IsValid());
    ASSERT_EQ(::WaitForSingleObject(thread.Get(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(cancel.Get());
}

} // namespace
