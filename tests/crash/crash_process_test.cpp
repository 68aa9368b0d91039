// The crash handler in a real process: the child program installs it, crashes in a chosen way
// and leaves its report in a file; the process must end with code 1067.

#include "tests/crash/child_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace crashtest;

#ifdef _WIN64
const char* const kRegisterLines =
    R"(  RAX=[0-9a-f]{16} RBX=[0-9a-f]{16} RCX=[0-9a-f]{16} RDX=[0-9a-f]{16} RSI=[0-9a-f]{16} RDI=[0-9a-f]{16}\r\n)"
    R"(  R8=[0-9a-f]{16} R9=[0-9a-f]{16} R10=[0-9a-f]{16} R11=[0-9a-f]{16}\r\n)"
    R"(  R12=[0-9a-f]{16} R13=[0-9a-f]{16} R14=[0-9a-f]{16} R15=[0-9a-f]{16}\r\n)"
    R"(  RIP=[0-9a-f]{16} RSP=[0-9a-f]{16} RBP=[0-9a-f]{16} EFlags=[0-9a-f]{8}\r\n)"
    R"(  CS=[0-9a-f]{8}  SS=[0-9a-f]{8}  DS=[0-9a-f]{8}  ES=[0-9a-f]{8}  FS=[0-9a-f]{8}  GS=[0-9a-f]{8}\r\n)"
    R"( \[Bytes at CS:RIP\]\r\n(  [0-9A-F]{16} ([0-9A-F]{2} ){16}.{16}\r\n){4})"
    R"( \[Bytes at SS:RSP\]\r\n)";
const char* const kStackLine = R"( Stack Base=[0-9a-f]{16}  Stack Limit=[0-9a-f]{16}\r\n)";
#else
const char* const kRegisterLines =
    R"(  EAX=[0-9a-f]{8} EBX=[0-9a-f]{8} ECX=[0-9a-f]{8} EDX=[0-9a-f]{8} ESI=[0-9a-f]{8} EDI=[0-9a-f]{8}\r\n)"
    R"(  EIP=[0-9a-f]{8} ESP=[0-9a-f]{8} EBP=[0-9a-f]{8} EFlags=[0-9a-f]{8}\r\n)"
    R"(  CS=[0-9a-f]{8}  SS=[0-9a-f]{8}  DS=[0-9a-f]{8}  ES=[0-9a-f]{8}  FS=[0-9a-f]{8}  GS=[0-9a-f]{8}\r\n)"
    R"( \[Bytes at CS:EIP\]\r\n(  [0-9A-F]{8} ([0-9A-F]{2} ){16}.{16}\r\n){4})"
    R"( \[Bytes at SS:ESP\]\r\n)";
const char* const kStackLine = R"( Stack Base=[0-9a-f]{8}  Stack Limit=[0-9a-f]{8}\r\n)";
#endif

class CrashProcessTest : public ::testing::Test {
protected:
    void SetUp() override { uitest::EndProcessesNamed(L"crash_child.exe"); }
    void TearDown() override { uitest::EndProcessesNamed(L"crash_child.exe"); }

    // One write fault serves the tests that read the plain report's parts.
    static const CrashRun& WriteFault() {
        static const CrashRun run = RunChild(L"write");
        return run;
    }
};

} // namespace

TEST_F(CrashProcessTest, AnAccessViolationEndsWithTheFullReport) {
    const CrashRun& run = WriteFault();
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    const std::vector<std::string> expected = {
        "[Environment information]", "[Memory usage information]",
        "[Exception information]",   "[Thread context information, TID=",
        "[Loaded modules]",          "[Heap references]",
        "[Execution information]"};
    const std::vector<std::string> titles = SectionTitles(run.report);
    ASSERT_EQ(titles.size(), expected.size()) << run.report;
    for (std::size_t i = 0; i < titles.size(); ++i)
        EXPECT_EQ(titles[i].rfind(expected[i], 0), 0u) << titles[i];
    EXPECT_TRUE(Contains(run.report, "[Environment information]\r\n"
                                     " Application: Crash Child v1.0 Build 10028\r\n"
                                     " System:      Test machine\r\n"
                                     " OS:          Test OS\r\n"));
    EXPECT_TRUE(std::regex_search(
        run.report, std::regex(R"( System physical memory: Used: \d+KB, Total \d+KB\r\n)"
                               R"( System virtual memory:  Used: \d+KB, Total \d+KB\r\n)"
                               R"( Process virtual memory: Current \d+KB, Maximum: \d+KB\r\n)")));
    EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
}

TEST_F(CrashProcessTest, TheCrashingThreadsRegistersCodeAndStackFollowTheFormat) {
    const CrashRun& run = WriteFault();
    EXPECT_TRUE(std::regex_search(
        run.report, std::regex(std::string(R"(\[Thread context information, TID=\d+\]\r\n)") +
                               kStackLine + R"( \[Registers\]\r\n)" + kRegisterLines)))
        << run.report.substr(0, 3000);
    // The stack of a registered thread is dumped for 1024 bytes: 64 rows.
    const std::size_t stack = run.report.find("SS:");
    const std::size_t modules = run.report.find("[Loaded modules]");
    ASSERT_LT(stack, modules);
    EXPECT_EQ(CountOf(run.report.substr(stack, modules - stack), "\r\n"), 1 + 64);
}

TEST_F(CrashProcessTest, TheModuleListHoldsTheProgramItself) {
    const CrashRun& run = WriteFault();
    EXPECT_TRUE(std::regex_search(
        run.report,
        std::regex(
            R"(\[Loaded modules\]\r\n  [0-9a-f]{16} - [0-9a-f]{16} [^\r]*crash_child\.exe\r\n)",
            std::regex::icase)));
    EXPECT_TRUE(std::regex_search(
        run.report,
        std::regex(R"(  [0-9a-f]{16} - [0-9a-f]{16} [^\r]*kernel32\.dll\r\n)", std::regex::icase)));
}

TEST_F(CrashProcessTest, TheTraceListsRecordsNewestFirst) {
    const CrashRun& run = WriteFault();
    std::smatch match;
    ASSERT_TRUE(
        std::regex_search(run.report, match,
                          std::regex(R"(\[Execution information\]\r\n TID(\d+): no-values\r\n)"
                                     R"( TID(\d+): child-start\(1234,123456789ABC\)\r\n$)")))
        << run.report.substr(run.report.size() > 400 ? run.report.size() - 400 : 0);
    EXPECT_EQ(match[1], match[2]);
    EXPECT_TRUE(Contains(run.report, "[Thread context information, TID=" + match[1].str() + "]"));
}

TEST_F(CrashProcessTest, ACrashOnASecondThreadDescribesItFirstAndTheMainThreadAfter) {
    const CrashRun run = RunChild(L"thread");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
    std::smatch trace;
    ASSERT_TRUE(
        std::regex_search(run.report, trace, std::regex(R"( TID(\d+): second-thread\(2\)\r\n)")));
    std::smatch main;
    ASSERT_TRUE(std::regex_search(run.report, main, std::regex(R"( TID(\d+): child-start)")));
    const std::size_t crashing =
        run.report.find("[Thread context information, TID=" + trace[1].str() + "]");
    const std::size_t other =
        run.report.find("[Thread context information, TID=" + main[1].str() + "]");
    const std::size_t modules = run.report.find("[Loaded modules]");
    ASSERT_NE(crashing, std::string::npos);
    ASSERT_NE(other, std::string::npos);
    EXPECT_LT(crashing, modules);
    EXPECT_GT(other, modules);
    // Both were started through the program's thread wrapper or installed it: stacks are known.
    EXPECT_EQ(CountOf(run.report, " Stack Base="), 2);
    // The other thread's stack dump is at most 512 bytes: 32 rows.
    const std::size_t otherStack = run.report.find("SS:", other);
    const std::size_t heap = run.report.find("[Heap references]");
    EXPECT_LE(CountOf(run.report.substr(otherStack, heap - otherStack), "\r\n"), 1 + 32);
}

TEST_F(CrashProcessTest, HeapBlocksThatTheStackPointsToAreDumpedTwoLevelsDeep) {
    const CrashRun run = RunChild(L"heap");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    const std::size_t heap = run.report.find("[Heap references]\r\n");
    ASSERT_NE(heap, std::string::npos);
    const std::string section = run.report.substr(heap);
    EXPECT_TRUE(
        std::regex_search(section, std::regex(R"(  \[Heap@[0-9a-f]{16}\]\r\n    [0-9A-F]+ )")));
    EXPECT_TRUE(Contains(section, "FIRSTBLO"));
    EXPECT_TRUE(Contains(section, "SECONDBLOCKMARKE"));
    // No byte is dumped twice, though the stack holds the second block's address as well.
    EXPECT_EQ(CountOf(section, "SECONDBLOCKMARKE"), 1);
}

// The runtime failures that the dialog tests do not cover, and a code outside the table.
TEST_F(CrashProcessTest, APseudoCodeAndAnUnknownCodeAreNamedAsTheTableSays) {
    const struct {
        const wchar_t* way;
        const char* code;
    } cases[] = {
        {L"pseudo", " Exception Code:      0x12101207 (Termination request)"},
        {L"raise", " Exception Code:      0xe0001234"},
    };
    for (const auto& c : cases) {
        const CrashRun run = RunChild(c.way);
        EXPECT_EQ(run.exitCode, kCrashExitCode) << c.code;
        EXPECT_EQ(CodeLine(run.report), c.code);
        EXPECT_TRUE(Contains(run.report, "[Execution information]")) << c.code;
    }
}

TEST_F(CrashProcessTest, AnInvalidArgumentToTheRuntimeIsACrash) {
    const HMODULE runtime = ::LoadLibraryW(L"msvcrt.dll");
    if (!::GetProcAddress(runtime, "_set_invalid_parameter_handler"))
        GTEST_SKIP() << "this system's C runtime lets no program see its argument checks";
    const CrashRun run = RunChild(L"invalid");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    EXPECT_EQ(CodeLine(run.report),
              " Exception Code:      0x12101203 (CRT detects an invalid argument)");
}

TEST_F(CrashProcessTest, AnotherFilterCannotDisplaceTheHandler) {
    const CrashRun run = RunChild(L"displace");
    EXPECT_EQ(run.exitCode, kCrashExitCode); // the foreign filter would have ended with 77
    EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
    // The displacing call was told there was no previous filter.
#ifdef _WIN64
    EXPECT_TRUE(Contains(run.report, ": filter-change(000000000)\r\n"));
#else
    EXPECT_TRUE(Contains(run.report, ": filter-change(0)\r\n"));
#endif
}

TEST_F(CrashProcessTest, WithoutMinidumpTypesNoDumpIsWrittenOrDeleted) {
    const std::wstring sentinel = TempPath(L"minidump.dmp");
    { std::ofstream(sentinel.c_str()) << "not ours"; }
    const CrashRun run = RunChild(L"write");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    EXPECT_FALSE(Contains(run.report, "minidump"));
    EXPECT_EQ(ReadFile(sentinel), "not ours");
    ::DeleteFileW(sentinel.c_str());
}

TEST_F(CrashProcessTest, AnEmbeddedMinidumpDecodesToADumpFileAndTheTemporaryOneIsGone) {
    const std::wstring temporary = TempPath(L"minidump.dmp");
    ::DeleteFileW(temporary.c_str());
    const std::wstring report = TempPath(L"crash_report_embedded.txt");
    const std::wstring dump = TempPath(L"crash_report_embedded.dmp");
    ::DeleteFileW(dump.c_str());
    ASSERT_EQ(RunProgram(ChildProgram() + L" write " + Quoted(report) + L" embedded 4"),
              kCrashExitCode);
    const std::string text = ReadFile(report);
    EXPECT_TRUE(Contains(text, "[Execution information]"));
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(\r\n\r\n\[Begin of crash minidump\]\r\n[1-46-9A-NP-RT-Z]{80}\r\n)")));
    EXPECT_TRUE(Contains(text, "\r\n[End of crash minidump]\r\n"));
    EXPECT_FALSE(FileExists(temporary));
    ASSERT_EQ(RunProgram(Quoted(uitest::ProgramFolder() + L"crash_decoder.exe") + L" " +
                         Quoted(report) + L" " + Quoted(dump)),
              0);
    const std::string decoded = ReadFile(dump);
    ASSERT_GT(decoded.size(), 1000u);
    EXPECT_EQ(decoded.substr(0, 4), "MDMP");
    ::DeleteFileW(report.c_str());
    ::DeleteFileW(dump.c_str());
}

TEST_F(CrashProcessTest, TheCrashDialogShowsTheReportAndClosesWithTheCrashCode) {
    DialogRun run;
    StartDialogRun(run, L"write");
    ASSERT_NE(run.dialog, nullptr);
    EXPECT_EQ(uitest::ControlText(run.dialog, 101)
                  .rfind(L"Crash Child has encountered a problem and needs to close.\n", 0),
              0u);
    EXPECT_NE(uitest::ControlText(run.dialog, 103).find(L"send it to support@velk.example."),
              std::wstring::npos);
    // The report is shown from its top, nothing selected.
    const HWND edit = ::GetDlgItem(run.dialog, 102);
    EXPECT_EQ(::SendMessageW(edit, EM_GETSEL, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(uitest::ControlText(run.dialog, 1), L"Compose");
    EXPECT_EQ(uitest::ControlText(run.dialog, 8), L"Close");
    RECT compose = {}, close = {};
    ::GetWindowRect(::GetDlgItem(run.dialog, 1), &compose);
    ::GetWindowRect(::GetDlgItem(run.dialog, 8), &close);
    EXPECT_EQ(compose.right - compose.left, close.right - close.left);
    EXPECT_EQ(compose.bottom - compose.top, close.bottom - close.top);
    EXPECT_LT(compose.right, close.left);
    uitest::SaveScreenshot("en/crash_dialog.png");
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

TEST_F(CrashProcessTest, ASecondFaultWhileTheDialogStandsStartsTheMailInsteadOfANewReport) {
    DialogRun run;
    StartDialogRun(run, L"twice");
    ASSERT_NE(run.dialog, nullptr);
    // The child's second thread faults half a second after the dialog appeared. That fault
    // hands the report to the mail thread; the process and its dialog go on.
    ::Sleep(2500);
    EXPECT_EQ(::WaitForSingleObject(run.child.handle.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(::IsWindow(run.dialog));
    // Where the system has no mail library to hand the message to, the mail thread says so.
    if (const HWND box = uitest::WaitForMessageBox(L"Crash Child", run.child.id, 2000)) {
        EXPECT_EQ(uitest::MessageBoxText(box),
                  L"Can't create e-mail report automatically.\nPlease copy contents of the "
                  L"report and send it to support@velk.example.");
        uitest::AnswerMessageBox(box, IDOK);
    }
    // One report only: the second fault wrote none.
    EXPECT_EQ(CountOf(ReadFile(run.reportFile), "[Exception information]"), 1);
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

TEST_F(CrashProcessTest, AnAccessViolationWithFewerThanTwoParametersHasNoOperationLine) {
    for (const wchar_t* way : {L"violation0", L"violation1"}) {
        const CrashRun run = RunChild(way);
        EXPECT_EQ(run.exitCode, kCrashExitCode);
        EXPECT_EQ(CodeLine(run.report), " Exception Code:      0xc0000005 (Access violation)");
        EXPECT_TRUE(Contains(run.report, " Exception Address:   0x"));
        EXPECT_FALSE(Contains(run.report, "Exception Operation"));
        EXPECT_TRUE(Contains(run.report, "[Execution information]"));
    }
}

// Removes the minidumps below `root`\a\b and the two folders.
static void RemoveDumpFolders(const std::wstring& root) {
    const std::wstring folder = root + L"\\a\\b";
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((folder + L"\\minidump_*.dmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
    ::RemoveDirectoryW((root + L"\\a").c_str());
}

// A kept minidump, in a folder that the crash creates, and an embedded one of the same type: the
// report carries the very dump that stays on disk.
TEST_F(CrashProcessTest, AKeptMinidumpGoesIntoItsNewFolderAndTheReportEmbedsTheSameBytes) {
    const std::wstring root = uitest::MakeTempFolder(L"crash_kept_dumps");
    const std::wstring folder = root + L"\\a\\b";
    RemoveDumpFolders(root); // a leftover of a run whose process had the same id
    const std::wstring report = TempPath(L"crash_report_kept.txt");
    const std::wstring decoded = TempPath(L"crash_report_kept.dmp");
    ::DeleteFileW(decoded.c_str());
    // Handle data makes a dump of several of the pieces that are compressed one at a time.
    ASSERT_EQ(RunProgram(ChildProgram() + L" write " + Quoted(report) + L" kept 4 " +
                         Quoted(folder) + L" embedded 4"),
              kCrashExitCode);
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((folder + L"\\minidump_*.dmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    const std::wstring name = found.cFileName;
    EXPECT_TRUE(std::regex_match(name, std::wregex(LR"(minidump_\d{8}_\d{6}\.dmp)")));
    const std::string kept = ReadFile(folder + L"\\" + name);
    EXPECT_EQ(kept.substr(0, 4), "MDMP");
    EXPECT_GT(kept.size(), 2u * 21845u);
    ASSERT_EQ(RunProgram(Quoted(uitest::ProgramFolder() + L"crash_decoder.exe") + L" " +
                         Quoted(report) + L" " + Quoted(decoded)),
              0);
    const std::string embedded = ReadFile(decoded);
    EXPECT_EQ(embedded.size(), kept.size());
    EXPECT_TRUE(embedded == kept) << "the embedded dump differs from the kept one";
    EXPECT_FALSE(FileExists(TempPath(L"minidump.dmp")));
    ::DeleteFileW(report.c_str());
    ::DeleteFileW(decoded.c_str());
    RemoveDumpFolders(root);
}

// A report cut because the storage reserved for it is full: it ends within that storage, its
// sections stand in order, and every line but a cut last one is whole.
static void ExpectWellFormedCutReport(const std::string& report, const std::string& lastSection) {
    constexpr std::size_t kReserved = 262144;
    ASSERT_LT(report.size(), kReserved);
    EXPECT_GT(report.size(), kReserved - 2 * 257) << "the report was cut early";
    EXPECT_EQ(report.find('\0'), std::string::npos);
    const std::vector<std::string> titles = SectionTitles(report);
    ASSERT_GE(titles.size(), 5u);
    EXPECT_EQ(titles[0], "[Environment information]");
    EXPECT_EQ(titles[4], "[Loaded modules]");
    EXPECT_EQ(titles.back().rfind(lastSection, 0), 0u) << titles.back();
    const std::size_t lastLine = report.rfind("\r\n");
    ASSERT_NE(lastLine, std::string::npos);
    const std::string whole = report.substr(0, lastLine);
    EXPECT_EQ(CountOf(whole, "\n"), CountOf(whole, "\r\n")) << "a line without CR LF";
    EXPECT_EQ(CountOf(whole, "\r"), CountOf(whole, "\r\n"));
}

TEST_F(CrashProcessTest, AReportOfManyThreadsModulesAndTraceRecordsIsCutToItsStorage) {
    DialogRun run;
    StartDialogRun(run, L"crowd", 60000);
    ASSERT_NE(run.dialog, nullptr);
    const std::string saved = ReadFile(run.reportFile);
    ExpectWellFormedCutReport(saved, "[Thread context information, TID=");
    EXPECT_GT(CountOf(saved, "[Thread context information, TID="), 50);
    // The module list stops at its limit; the process has loaded more.
    const std::size_t modules = saved.find("[Loaded modules]\r\n");
    const std::size_t afterModules = saved.find("\r\n[", modules + 1);
    ASSERT_NE(afterModules, std::string::npos);
    EXPECT_EQ(CountOf(saved.substr(modules, afterModules - modules), "\r\n  "), 234);
    // The dialog shows all of it.
    EXPECT_TRUE(Narrow(uitest::WindowText(::GetDlgItem(run.dialog, 102))) == saved);
    EXPECT_EQ(run.Close(), kCrashExitCode);
}

TEST_F(CrashProcessTest, AFullTraceRingIsCutAtTheEndOfTheReport) {
    const CrashRun run = RunChild(L"trace");
    EXPECT_EQ(run.exitCode, kCrashExitCode);
    ExpectWellFormedCutReport(run.report, "[Execution information]");
    // Newest first: the last record appended leads, with all its values.
    EXPECT_TRUE(std::regex_search(
        run.report,
        std::regex(
            R"(\[Execution information\]\r\n TID\d+: a-label-of-the-longest-length-there-is-)"
            R"(\((FEDCBA9876543210,){11}80F00000000\)\r\n)")))
        << run.report.substr(run.report.find("[Execution information]"), 600);
}

TEST_F(CrashProcessTest, TheWindowsCloseCommandEndsTheDialogAsCloseDoes) {
    DialogRun run;
    StartDialogRun(run, L"read");
    ASSERT_NE(run.dialog, nullptr);
    ::PostMessageW(run.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(uitest::WaitForExit(run.child, kChildTimeoutMs), kCrashExitCode);
}
