#include "engine/installer_process.h"

#include "platform/run_log.h"
#include "platform/text.h"
#include "service/network_error_text.h"

namespace {

constexpr size_t kMaxErrorTextChars = 255;

} // namespace

std::wstring InstallerCommandLine(const std::wstring& packagePath) {
    return L"\"" + packagePath + L"\" /S";
}

StartedInstaller StartInstaller(const std::wstring& packagePath) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // Our own standard handles mean nothing to an installer that inherits no handles.
    startup.dwFlags &= ~STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nullptr;
    // The C library's inherited-descriptor block was meant for this process, not for the child.
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;

    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::wstring commandLine = InstallerCommandLine(packagePath);
    PROCESS_INFORMATION info = {};
    StartedInstaller started;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
        started.error = ::GetLastError();
        return started;
    }
    const platform::UniqueHandle thread(info.hThread);
    started.process.Reset(info.hProcess);
    return started;
}

bool WaitForInstaller(HANDLE process, HANDLE cancel) {
    if (cancel == nullptr)
        return ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
    const HANDLE waits[] = {process, cancel};
    return ::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}

std::wstring InstallerStartErrorText(DWORD error) {
    std::wstring text = service::SystemMessageText(error);
    // Some codes have no text; the number still tells support what went wrong.
    if (text.empty())
        text = platform::FormatWide(L"Error %lu", static_cast<unsigned long>(error));
    if (text.size() > kMaxErrorTextChars)
        text.resize(kMaxErrorTextChars);
    return text;
}

void LogInstallerRun(const std::wstring& packagePath, const StartedInstaller& installer, bool ended,
                     DWORD startTick) {
    const std::wstring commandLine = InstallerCommandLine(platform::FileNamePart(packagePath));
    if (!installer) {
        platform::LogRunStepF(L"installer %s: not started: %s", commandLine.c_str(),
                              InstallerStartErrorText(installer.error).c_str());
        return;
    }
    const DWORD elapsed = ::GetTickCount() - startTick;
    DWORD exitCode = 0;
    if (!ended || !::GetExitCodeProcess(installer.process.Get(), &exitCode)) {
        platform::LogRunStepF(L"installer %s: still running after %lu ms", commandLine.c_str(),
                              static_cast<unsigned long>(elapsed));
        return;
    }
    platform::LogRunStepF(L"installer %s: exit code %lu after %lu ms", commandLine.c_str(),
                          static_cast<unsigned long>(exitCode),
                          static_cast<unsigned long>(elapsed));
}
