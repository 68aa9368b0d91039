#include "tests/crash/child_run.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace crashtest {

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

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ChildProgram() {
    return Quoted(uitest::ProgramFolder() + L"crash_child.exe");
}

int RunProgram(const std::wstring& commandLine) {
    uitest::Process process = uitest::Launch(commandLine);
    if (!process)
        return -2;
    return uitest::WaitForExit(process, kChildTimeoutMs);
}

CrashRun RunChild(const std::wstring& way, const std::wstring& options) {
    const std::wstring report = TempPath(L"crash_report_" + way + L".txt");
    ::DeleteFileW(report.c_str());
    CrashRun run;
    run.exitCode = RunProgram(ChildProgram() + L" " + way + L" " + Quoted(report) + L" " + options);
    run.report = ReadFile(report);
    ::DeleteFileW(report.c_str());
    return run;
}

DialogRun::~DialogRun() {
    ::DeleteFileW(reportFile.c_str());
}

int DialogRun::Close() {
    ::PostMessageW(::GetDlgItem(dialog, 8), BM_CLICK, 0, 0);
    return uitest::WaitForExit(child, kChildTimeoutMs);
}

void StartDialogRun(DialogRun& run, const std::wstring& way, DWORD waitMs) {
    run.reportFile = TempPath(L"crash_report_dialog_" + way + L".txt");
    ::DeleteFileW(run.reportFile.c_str());
    run.child =
        uitest::Launch(ChildProgram() + L" " + way + L" " + Quoted(run.reportFile) + L" dialog");
    if (run.child)
        run.dialog = uitest::WaitForWindow(nullptr, L"Crash Child - Error", run.child.id, waitMs);
}

std::vector<std::string> SectionTitles(const std::string& report) {
    std::vector<std::string> titles;
    const std::regex title(R"(^\[[^\]\r\n]+\]\r$)", std::regex::multiline);
    for (auto it = std::sregex_iterator(report.begin(), report.end(), title);
         it != std::sregex_iterator(); ++it)
        titles.push_back(it->str().substr(0, it->str().size() - 1));
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

std::string CodeLine(const std::string& report) {
    std::smatch match;
    if (std::regex_search(report, match, std::regex(R"( Exception Code:      [^\r]*)")))
        return match.str();
    return std::string();
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                          size, nullptr, nullptr);
    return narrow;
}

} // namespace crashtest
