// The crash handler in real processes: the child program (crash_child.cpp) crashes in chosen
// ways and leaves its report in a file; the program itself after a crash. Exit code 1067.

#include "platform/system_information.h"
#include "service/maker_addresses.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

namespace {

constexpr int kCrashExitCode = 1067;
constexpr DWORD kTimeoutMs = 90000;

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring ChildCommand(const std::wstring& way, const std::wstring& report) {
    return Quoted(uitest::ProgramFolder() + L"crash_child.exe") + L" " + way + L" " +
           Quoted(report);
}

// The child crashing in `way` without dialog: its exit code and the report it saved.
struct CrashRun {
    int exitCode = -1;
    std::string report;
};

CrashRun RunChild(const std::wstring& way) {
    const std::wstring report = TempPath(L"crash_report_" + way + L".txt");
    ::DeleteFileW(report.c_str());
    uitest::Process child = uitest::Launch(ChildCommand(way, report));
    const CrashRun run = {child ? uitest::WaitForExit(child, kTimeoutMs) : -2, ReadFile(report)};
    ::DeleteFileW(report.c_str());
    return run;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 2, '\0');
    narrow.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                              static_cast<int>(narrow.size()), nullptr, nullptr)));
    return narrow;
}

// The report as a crash dialog shows it.
std::string Shown(HWND dialog) {
    return Narrow(uitest::WindowText(::GetDlgItem(dialog, 102)));
}

// The child crashing in `way` with its crash dialog standing (null `dialog` when none appeared).
struct DialogRun {
    explicit DialogRun(const std::wstring& way, const std::wstring& options = L"")
        : reportFile(TempPath(L"crash_report_dialog_" + way + L".txt")),
          child(uitest::Launch(ChildCommand(way, reportFile) + L" dialog " + options)),
          dialog(uitest::WaitForWindow(nullptr, L"Crash Child - Error", child.id, 60000)) {}
    ~DialogRun() { ::DeleteFileW(reportFile.c_str()); }
    // Presses Close; the exit code of the process.
    int Close() {
        ::PostMessageW(::GetDlgItem(dialog, 8), BM_CLICK, 0, 0);
        return uitest::WaitForExit(child, kTimeoutMs);
    }

    std::wstring reportFile;
    uitest::Process child;
    HWND dialog;
};

// The report's section title lines, without their line ends, in order.
std::vector<std::string> SectionTitles(const std::string& report) {
    std::vector<std::string> titles;
    for (std::size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        if (report[at] == '[' && report[end - 1] == ']')
            titles.push_back(report.substr(at, end - at));
    }
    return titles;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The " Exception Code:" line without its line end.
std::string CodeLine(const std::string& report) {
    const std::size_t at = report.find(" Exception Code:      ");
    return at == std::string::npos ? std::string() : report.substr(at, report.find('\r', at) - at);
}

class CrashProcessTest : public ::testing::Test {
protected:
    void SetUp() override { uitest::EndProcessesNamed(L"crash_child.exe"); }
    void TearDown() override { uitest::EndProcessesNamed(L"crash_child.exe"); }
};

std::string Match(const std::string& text, const char* pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : "";
}

// The section titles from the first to the last, as every whole report has them; threads that
// the system starts in a process of its own accord may add sections for other threads.
void ExpectSectionsInOrder(const std::string& report) {
    const std::vector<std::string> titles = SectionTitles(report);
    const char* const leading[] = {"[Environment information]", "[Memory usage information]",
                                   "[Exception information]", "[Thread context",
                                   "[Loaded modules]"};
    ASSERT_GE(titles.size(), 7u) << report.substr(0, 2000);
    for (std::size_t i = 0; i + 2 < titles.size(); ++i) // other threads follow the modules
        EXPECT_EQ(titles[i].rfind(i < 5 ? leading[i] : leading[3], 0), 0u) << titles[i];
    EXPECT_EQ(titles[titles.size() - 2], "[Heap references]");
    EXPECT_EQ(titles.back(), "[Execution information]");
}

struct WayCase {
    const wchar_t* way;
    const char* codeLine;
};

class EachWayOfCrashing : public CrashProcessTest, public ::testing::WithParamInterface<WayCase> {};

const WayCase kWays[] = {
    {L"divide", " Exception Code:      0xc0000094 (Integer divide by zero)"},
    {L"pure", " Exception Code:      0x12101201 (Pure virtual function call)"},
    {L"new", " Exception Code:      0x12101202 (New operator fails to allocate memory)"},
    {L"malloc", " Exception Code:      0x12101202 (New operator fails to allocate memory)"},
    {L"abort", " Exception Code:      0x12101205 (Abnormal termination)"},
    {L"throw", " Exception Code:      0x1210120b (Unhandled C++ typed exception)"},
    {L"overflow", " Exception Code:      0xc00000fd (Stack overflow)"},
};

} // namespace

TEST_P(EachWayOfCrashing, EndsWithTheWholeReportOfItsCode) {
    const CrashRun run = RunChild(GetParam().way);
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    ExpectSectionsInOrder(run.report);
    EXPECT_EQ(CodeLine(run.report), GetParam().codeLine);
}

INSTANTIATE_TEST_SUITE_P(Ways, EachWayOfCrashing, ::testing::ValuesIn(kWays),
                         [](const ::testing::TestParamInfo<WayCase>& info) {
                             return Narrow(info.param.way);
                         });

// A minidump file of another program lies where an embedded one would be written.
TEST_F(CrashProcessTest, AnAccessViolationEndsWithTheFullReportOfTheFaultingThread) {
    const std::wstring foreignDump = TempPath(L"minidump.dmp");
    std::ofstream(foreignDump.c_str()) << "not ours";
    const CrashRun run = RunChild(L"write");
    EXPECT_EQ(ReadFile(foreignDump), "not ours"); // without minidump types none is written
    ::DeleteFileW(foreignDump.c_str());
    const std::string& report = run.report;
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    ExpectSectionsInOrder(report);
    EXPECT_EQ(SectionTitles(report).size(), 7u);
    EXPECT_EQ(report.rfind("[Environment information]\r\n"
                           " Application: Crash Child v1.0 Build 10028\r\n"
                           " System:      Test machine\r\n"
                           " OS:          Test OS\r\n"
                           "[Memory usage information]\r\n",
                           0),
              0u);
    EXPECT_TRUE(std::regex_search(
        report, std::regex(R"( System physical memory: Used: \d+KB, Total \d+KB\r\n)"
                           R"( System virtual memory:  Used: \d+KB, Total \d+KB\r\n)"
                           R"( Process virtual memory: Current \d+KB, Maximum: \d+KB\r\n)")));
    EXPECT_EQ(CodeLine(report), " Exception Code:      0xc0000005 (Access violation)");
    EXPECT_TRUE(Contains(report, " Exception Operation: Write to address 0x0000000000000010"));
    EXPECT_FALSE(Contains(report, "minidump"));
    // The crashing thread is described by the fault's context.
    const std::string ip = Match(report, R"( Exception Address:   0x([0-9a-f]{16})\r\n)");
    ASSERT_FALSE(ip.empty());
    EXPECT_EQ(Match(report, R"(\r\n  RIP=([0-9a-f]{16}) )"), ip);
    // The thread's stack is known (it installed the handler): 1024 bytes, 64 rows.
    const std::size_t stack = report.find(" [Bytes at SS:RSP]");
    const std::size_t modules = report.find("[Loaded modules]");
    ASSERT_LT(stack, modules);
    EXPECT_EQ(CountOf(report.substr(stack, modules - stack), "\r\n"), 1 + 64);
    // The trace, newest first, is the crashing thread's.
    const std::string tid = Match(report.substr(report.find("[Execution information]")),
                                  R"(^\[Execution information\]\r\n TID(\d+): no-values\r\n)"
                                  R"( TID\1: child-start\(1234,123456789ABC\)\r\n$)");
    ASSERT_FALSE(tid.empty());
    EXPECT_EQ(report.find("[Thread context information, TID="),
              report.find("[Thread context information, TID=" + tid + "]"));
}

TEST_F(CrashProcessTest, ACrashOnASecondThreadDescribesItFirstAndTheMainThreadAfter) {
    const CrashRun run = RunChild(L"thread");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
    const std::string crashing = Match(run.report, R"( TID(\d+): second-thread\(2\)\r\n)");
    const std::string main = Match(run.report, R"( TID(\d+): child-start)");
    ASSERT_FALSE(crashing.empty());
    const std::size_t first = run.report.find("[Thread context information, TID=" + crashing);
    const std::size_t other = run.report.find("[Thread context information, TID=" + main);
    const std::size_t modules = run.report.find("[Loaded modules]");
    EXPECT_LT(first, modules);
    ASSERT_NE(other, std::string::npos);
    EXPECT_GT(other, modules);
}

TEST_F(CrashProcessTest, HeapBlocksThatTheStackPointsToAreDumpedTwoLevelsDeep) {
    const CrashRun run = RunChild(L"heap");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    const std::string section = run.report.substr(run.report.find("[Heap references]\r\n"));
    EXPECT_TRUE(
        std::regex_search(section, std::regex(R"(  \[Heap@[0-9a-f]{16}\]\r\n    [0-9A-F]+ )")));
    EXPECT_TRUE(Contains(section, "FIRSTBLO"));
    // No byte is dumped twice, though the stack holds the second block's address as well.
    EXPECT_EQ(CountOf(section, "SECONDBLOCKMARKE"), 1);
}

TEST_F(CrashProcessTest, AnotherFilterCannotDisplaceTheHandler) {
    const CrashRun run = RunChild(L"displace");
    EXPECT_EQ(run.exitCode, kCrashExitCode); // the foreign filter would have ended with 77
    EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
    // The displacing call was told there was no previous filter.
    EXPECT_TRUE(Contains(run.report, ": filter-change(000000000)\r\n"));
}

TEST_F(CrashProcessTest, AReportOfManyThreadsIsCutToItsStorage) {
    DialogRun run(L"crowd");
    ASSERT_NE(run.dialog, nullptr);
    // The report ends within its storage, its sections stand in order, and every line but a
    // cut last one is whole.
    const std::string saved = ReadFile(run.reportFile);
    ASSERT_LT(saved.size(), 262144u);
    EXPECT_GT(saved.size(), 262144u - 2 * 257) << "the report was cut early";
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    const std::vector<std::string> titles = SectionTitles(saved);
    ASSERT_GT(titles.size(), 50u);
    EXPECT_EQ(titles[4], "[Loaded modules]");
    EXPECT_EQ(titles.back().rfind("[Thread context information, TID=", 0), 0u);
    const std::string whole = saved.substr(0, saved.rfind("\r\n"));
    EXPECT_EQ(CountOf(whole, "\n"), CountOf(whole, "\r\n")) << "a line without CR LF";
    EXPECT_EQ(CountOf(whole, "\r"), CountOf(whole, "\r\n"));
    EXPECT_TRUE(Shown(run.dialog) == saved) << "the dialog shows all of it";
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

// The heap that the report walks is corrupt: the walk faults inside the crash routine, which goes
// on to the dialog with what it had written; other threads (the mail's) can still use the heap.
TEST_F(CrashProcessTest, AFaultWhileTheReportIsWrittenLeadsToTheDialogWithWhatWasWritten) {
    DialogRun run(L"corrupt");
    ASSERT_NE(run.dialog, nullptr);
    const std::string shown = Shown(run.dialog);
    EXPECT_EQ(CodeLine(shown), " Exception Code:      0xc0000005 (Access violation)");
    const std::vector<std::string> titles = SectionTitles(shown);
    ASSERT_GE(titles.size(), 6u);
    EXPECT_EQ(titles.back(), "[Heap references]");
    EXPECT_EQ(shown, ReadFile(run.reportFile));
    const std::wstring heapUsed = L"crash_child_heap_" + std::to_wstring(run.child.id);
    EXPECT_TRUE(uitest::WaitUntil(
        [&] {
            return platform::UniqueHandle(::OpenEventW(SYNCHRONIZE, 0, heapUsed.c_str())).IsValid();
        },
        kTimeoutMs));
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

// A second fault while the dialog stands hands the report to the mail thread; no second report is
// written. The child names a mail library that is not there, so that the mail thread shows that
// it ran by saying that it could not make the mail.
TEST_F(CrashProcessTest, ASecondFaultWhileTheDialogStandsStartsTheMailInsteadOfANewReport) {
    DialogRun run(L"twice", L"nomail");
    ASSERT_NE(run.dialog, nullptr);
    const HWND box = uitest::WaitForMessageBox(L"Crash Child", run.child.id, kTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(uitest::MessageBoxText(box),
              L"Can't create e-mail report automatically.\nPlease copy contents of the report "
              L"and send it to support@velk.example.");
    uitest::AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(::IsWindow(run.dialog));
    EXPECT_EQ(CountOf(ReadFile(run.reportFile), "[Exception information]"), 1);
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

// The program after a crash: its report names the system it ran on, and its dialog the maker's
// support address. The fault comes from a thread started in it from outside, as a foreign
// component's could, so the program carries no crash switch.
TEST(ProgramCrash, TheReportNamesTheSystemAndTheDialogTheSupportAddress) {
    struct EndPrograms {
        EndPrograms() { uitest::EndProcessesNamed(L"Zapdate.exe"); }
        ~EndPrograms() { uitest::EndProcessesNamed(L"Zapdate.exe"); }
    } endPrograms; // the instance mutex of one left over would stop other tests' programs
    // The usage message stands once the whole start-up has run.
    uitest::Process program =
        uitest::Launch(Quoted(uitest::ProgramFolder() + L"Zapdate.exe") + L" -?");
    ASSERT_TRUE(program);
    ASSERT_NE(uitest::WaitForMessageBox(L"Velk Update Wizard", program.id, kTimeoutMs), nullptr);
    const platform::UniqueHandle thread(
        ::CreateRemoteThread(program.handle.Get(), nullptr, 0,
                             reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    const HWND dialog =
        uitest::WaitForWindow(nullptr, L"Velk Update Wizard - Error", program.id, kTimeoutMs);
    ASSERT_NE(dialog, nullptr);

    const platform::SystemInformation system;
    const std::string report = Shown(dialog);
    EXPECT_EQ(report.rfind("[Environment information]\r\n"
                           " Application: Velk Update Wizard v1.0 Build 10028\r\n"
                           " System:      " +
                               system.MachineDescription() +
                               "\r\n OS:          " + system.OperatingSystemDescription() + "\r\n",
                           0),
              0u)
        << report.substr(0, 400);
    EXPECT_EQ(CodeLine(report), " Exception Code:      0xc0000005 (Access violation)");
    const std::wstring address(service::kSupportAddress,
                               service::kSupportAddress + sizeof(service::kSupportAddress) - 1);
    EXPECT_NE(uitest::ControlText(dialog, 103).find(L"send it to " + address + L"."),
              std::wstring::npos);

    RECT compose = {}, close = {};
    ::GetWindowRect(::GetDlgItem(dialog, 1), &compose);
    ::GetWindowRect(::GetDlgItem(dialog, 8), &close);
    EXPECT_EQ(compose.right - compose.left, close.right - close.left);
    EXPECT_EQ(compose.bottom - compose.top, close.bottom - close.top);
    uitest::SaveScreenshot("en/crash_dialog.png");

    // The window's close command ends the process as Close does.
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(uitest::WaitForExit(program, kTimeoutMs), kCrashExitCode);
}
