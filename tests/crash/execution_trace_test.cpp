#include "crash/execution_trace.h"
#include "crash/report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ExecutionTraceTest : public ::testing::Test {
protected:
    void SetUp() override { crash::ExecutionTrace::Attach(ring_.data()); }
    void TearDown() override { crash::ExecutionTrace::Attach(nullptr); }

    static std::string Section() {
        static char buffer[crash::kTraceCapacity * 200];
        crash::ReportText text(buffer, sizeof(buffer));
        EXPECT_TRUE(crash::WriteExecutionSection(text));
        return text.Text();
    }

    std::vector<crash::TraceRecord> ring_ = std::vector<crash::TraceRecord>(crash::kTraceCapacity);
};

} // namespace

TEST_F(ExecutionTraceTest, ListsRecordsNewestFirstWithTheirValues) {
    EXPECT_EQ(Section(), "") << "no records, no section";
    crash::Trace("open", 0x1Au, 255);
    // A wide value keeps its low half in eight digits; a pointer is wide in the 64-bit build.
    crash::Trace("wide", 0x100000001ull, reinterpret_cast<void*>(0x12));
    crash::Trace("bare");
    const std::string tid = " TID" + std::to_string(::GetCurrentThreadId());
    const std::string pointer = sizeof(void*) == 8 ? "000000012" : "12";
    EXPECT_EQ(Section(), "[Execution information]\r\n" + tid + ": bare\r\n" + tid +
                             ": wide(100000001," + pointer + ")\r\n" + tid + ": open(1A,FF)\r\n");
}

TEST_F(ExecutionTraceTest, AFullRingOverwritesTheOldest) {
    for (unsigned i = 0; i < crash::kTraceCapacity + 5; ++i)
        crash::Trace("step", i);
    EXPECT_EQ(crash::ExecutionTrace::Count(), crash::kTraceCapacity);
    EXPECT_EQ(crash::ExecutionTrace::Newest(0).values[0], crash::kTraceCapacity + 4);
    EXPECT_EQ(crash::ExecutionTrace::Newest(crash::kTraceCapacity - 1).values[0], 5u);
}
