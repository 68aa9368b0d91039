#pragma once
// Running the crash child program and reading the report it leaves, for the process tests.

#include "tests/support/ui_automation.h"

#include <string>
#include <vector>

namespace crashtest {

constexpr int kCrashExitCode = 1067;
constexpr DWORD kChildTimeoutMs = 90000;

std::wstring Quoted(const std::wstring& text);
// `name` in the system's temporary folder.
std::wstring TempPath(const std::wstring& name);
std::string ReadFile(const std::wstring& path);
bool FileExists(const std::wstring& path);

// "crash_child.exe" of the test program's folder, quoted, ready for its arguments.
std::wstring ChildProgram();

struct CrashRun {
    int exitCode = -1;
    std::string report;
};

// Runs a program to its end; its exit code, or -1 on time-out.
int RunProgram(const std::wstring& commandLine);
// Runs the child crashing in `way` without dialog and returns the report it saved.
CrashRun RunChild(const std::wstring& way, const std::wstring& options = L"");

// The child crashing in `way` with its crash dialog standing; the report file goes with it.
struct DialogRun {
    uitest::Process child;
    HWND dialog = nullptr;
    std::wstring reportFile;
    ~DialogRun();
    // Presses the Close button and returns the exit code of the process.
    int Close();
};
// Starts the child and waits for its dialog (null `dialog` when none appeared).
void StartDialogRun(DialogRun& run, const std::wstring& way, DWORD waitMs = 30000);

// The report's section title lines, without their line ends, in order.
std::vector<std::string> SectionTitles(const std::string& report);
bool Contains(const std::string& text, const std::string& part);
int CountOf(const std::string& text, const std::string& part);
// The " Exception Code:" line without its line end; empty when there is none.
std::string CodeLine(const std::string& report);
// An 8-bit copy of text shown in a control (the report is 8-bit).
std::string Narrow(const std::wstring& text);

} // namespace crashtest
