// Each way of crashing the child program with the crash dialog standing: the report it shows is
// the whole report, with its sections and the fault's exception line, and Close ends the process
// with the crash code.

#include "tests/crash/child_run.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>

namespace {

using namespace crashtest;

#ifdef _WIN64
const std::string kFaultAddress = "0x0000000000000010";
#else
const std::string kFaultAddress = "0x00000010";
#endif

struct DialogCase {
    const wchar_t* way;
    const char* codeLine;
    const char* operation; // "Write to", "Read from" or null for none
    int threadSections;    // the crashing thread's and those of the other registered threads
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << Narrow(c.way);
}

const DialogCase kCases[] = {
    {L"read", " Exception Code:      0xc0000005 (Access violation)", "Read from", 1},
    {L"write", " Exception Code:      0xc0000005 (Access violation)", "Write to", 1},
    {L"divide", " Exception Code:      0xc0000094 (Integer divide by zero)", nullptr, 1},
    {L"pure", " Exception Code:      0x12101201 (Pure virtual function call)", nullptr, 1},
    {L"new", " Exception Code:      0x12101202 (New operator fails to allocate memory)", nullptr,
     1},
    {L"abort", " Exception Code:      0x12101205 (Abnormal termination)", nullptr, 1},
    {L"throw", " Exception Code:      0x1210120b (Unhandled C++ typed exception)", nullptr, 1},
    {L"overflow", " Exception Code:      0xc00000fd (Stack overflow)", nullptr, 1},
    {L"thread", " Exception Code:      0xc0000005 (Access violation)", "Write to", 2},
};

class CrashDialogTest : public ::testing::TestWithParam<DialogCase> {
protected:
    void SetUp() override { uitest::EndProcessesNamed(L"crash_child.exe"); }
    void TearDown() override { uitest::EndProcessesNamed(L"crash_child.exe"); }
};

// The section titles from the first to the last, as the report must have them. Threads that the
// system starts in a process of its own accord may add sections for other threads.
void ExpectSectionsInOrder(const std::string& report, int threadSections) {
    const char* const thread = "[Thread context information, TID=";
    const std::vector<std::string> leading = {
        "[Environment information]", "[Memory usage information]", "[Exception information]",
        thread, "[Loaded modules]"};
    const std::vector<std::string> titles = SectionTitles(report);
    ASSERT_GE(titles.size(), leading.size() + 2 + (threadSections - 1)) << report.substr(0, 4000);
    for (std::size_t i = 0; i < leading.size(); ++i)
        EXPECT_EQ(titles[i].rfind(leading[i], 0), 0u) << titles[i];
    const std::size_t others = titles.size() - leading.size() - 2;
    for (std::size_t i = 0; i < others; ++i)
        EXPECT_EQ(titles[leading.size() + i].rfind(thread, 0), 0u) << titles[leading.size() + i];
    EXPECT_GE(others + 1, static_cast<std::size_t>(threadSections));
    EXPECT_EQ(titles[titles.size() - 2], "[Heap references]");
    EXPECT_EQ(titles.back(), "[Execution information]");
}

TEST_P(CrashDialogTest, TheDialogShowsTheWholeReportAndCloseEndsWithTheCrashCode) {
    const DialogCase& c = GetParam();
    DialogRun run;
    StartDialogRun(run, c.way);
    ASSERT_NE(run.dialog, nullptr);

    const std::string shown = Narrow(uitest::WindowText(::GetDlgItem(run.dialog, 102)));
    ExpectSectionsInOrder(shown, c.threadSections);
    EXPECT_EQ(CodeLine(shown), c.codeLine);
    if (c.operation)
        EXPECT_TRUE(Contains(shown, std::string("\r\n Exception Operation: ") + c.operation +
                                        " address " + kFaultAddress + "\r\n"));
    else
        EXPECT_FALSE(Contains(shown, "Exception Operation"));
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"( Exception Address:   0x[0-9a-f]+\r\n)")));
    // The copy saved before the dialog appeared is the same report: nothing was lost on the way.
    EXPECT_EQ(shown, ReadFile(run.reportFile));
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

INSTANTIATE_TEST_SUITE_P(EachWayOfCrashing, CrashDialogTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             return Narrow(info.param.way);
                         });

} // namespace
