#include "crash/execution_trace.h"
#include "crash/report_text.h"
#include "platform/unique_resource.h"

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
    crash::Trace("wide", 0x123456789ABCull, 7u);
    crash::Trace("bare");
    const std::string tid = std::to_string(::GetCurrentThreadId());
    EXPECT_EQ(Section(), "[Execution information]\r\n"
                         " TID" +
                             tid +
                             ": bare\r\n"
                             " TID" +
                             tid +
                             ": wide(123456789ABC,7)\r\n"
                             " TID" +
                             tid + ": open(1A,FF)\r\n");
}

TEST_F(ExecutionTraceTest, WideValuesKeepTheirLowHalfInEightDigits) {
    crash::Trace("low", 0x100000001ull, static_cast<void*>(nullptr));
    const std::string section = Section();
#ifdef _WIN64
    EXPECT_NE(section.find(": low(100000001,000000000)\r\n"), std::string::npos) << section;
#else
    EXPECT_NE(section.find(": low(100000001,0)\r\n"), std::string::npos) << section;
#endif
}

TEST_F(ExecutionTraceTest, AFullRingOverwritesTheOldest) {
    for (unsigned i = 0; i < crash::kTraceCapacity + 5; ++i)
        crash::Trace("step", i);
    EXPECT_EQ(crash::ExecutionTrace::Count(), crash::kTraceCapacity);
    EXPECT_EQ(crash::ExecutionTrace::Newest(0).values[0], crash::kTraceCapacity + 4);
    EXPECT_EQ(crash::ExecutionTrace::Newest(crash::kTraceCapacity - 1).values[0], 5u);
}

TEST_F(ExecutionTraceTest, LongLabelsAndManyValuesAreCut) {
    crash::Trace("a label that is much longer than a record has room for", 1, 2, 3, 4, 5, 6, 7, 8,
                 9, 10, 11, 12, 13, 14);
    const crash::TraceRecord& record = crash::ExecutionTrace::Newest(0);
    EXPECT_EQ(std::string(record.label), std::string("a label that is much longer than a reco"));
    EXPECT_EQ(record.valueCount, crash::kTraceValueCount);
    EXPECT_NE(Section().find("reco(1,2,3,4,5,6,7,8,9,A,B,C)\r\n"), std::string::npos);
}

TEST_F(ExecutionTraceTest, ThreadsAppendTheirOwnIds) {
    DWORD otherId = 0;
    platform::UniqueHandle thread(::CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            crash::Trace("other");
            return 0;
        },
        nullptr, 0, &otherId));
    ASSERT_TRUE(thread);
    ::WaitForSingleObject(thread.Get(), 5000);
    EXPECT_EQ(crash::ExecutionTrace::Newest(0).threadId, otherId);
}
