// The locked value behind the cancel requests.

#include "platform/interlocked_scalar.h"

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
    for (const int next : {0, 5, 5, 2})
        EXPECT_EQ(value.Set(next), next);
    EXPECT_EQ(value.Get(), 2);
    EXPECT_EQ(value.changes, (std::vector<std::pair<int, int>>{{0, 5}, {5, 2}}));
}

} // namespace
