#include "shell/relaunch.h"

#include "platform/text.h"
#include "platform/unique_resource.h"
#include "shell/command_line.h"
#include "shell/delete_folder_tree.h"
#include "shell/resource_language.h"
#include "shell/run_mode.h"
#include "shell/startup_settings.h"
#include "shell/update_temp_folder.h"

namespace {

constexpr DWORD kHandOverWaitMs = 10000;

HANDLE HandleFromBlock(uint32_t value) {
    // Handle values are sign-extended 32-bit numbers in a 64-bit process.
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

uint32_t DuplicateInto(HANDLE target, HANDLE source) {
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), source, target, &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return 0;
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(duplicate));
}

// The copy chooses its language afresh beside itself; without its satellite it would fall back
// to English for a user who had the wizard in another language.
void CopySatelliteBeside(const std::wstring& executable, const std::wstring& copyFolder) {
    const std::wstring& relative = LoadedSatelliteRelativePath();
    if (relative.empty())
        return;
    const size_t slash = executable.find_last_of(L"\\/");
    const std::wstring source =
        executable.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + relative;
    const std::wstring target = copyFolder + L"\\" + relative;
    ::CreateDirectoryW(target.substr(0, target.find_last_of(L'\\')).c_str(), nullptr);
    ::CopyFileW(source.c_str(), target.c_str(), FALSE);
}

} // namespace

std::wstring ComposeRelaunchCommandLine(const std::wstring& copyPath) {
    const StartupSettings& settings = TheStartupSettings();
    const char* const switchText = settings.hidden ? kSwitchHiddenRun : kSwitchRunUpdating;
    // The path is quoted: the copy reads the switch as its second argument, which a path with
    // blanks would otherwise break.
    std::wstring line = L"\"" + copyPath + L"\" ";
    if (settings.resellerId == kIdNotGiven && settings.mappedProductId == kIdNotGiven)
        return line + platform::WideFromAnsi(switchText);
    return line + platform::FormatWide(L"%hs %i %i", switchText,
                                       static_cast<int>(settings.resellerId),
                                       static_cast<int>(settings.mappedProductId));
}

bool RelaunchFromTempCopy() {
    const std::wstring& folder = UpdateTempFolder();
    if (folder.empty())
        return false;
    DeleteFolderTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);

    const std::vector<std::wstring> arguments =
        SplitCommandLine(std::wstring_view(::GetCommandLineW()));
    if (arguments.empty())
        return false;
    const std::wstring copyPath = folder + L"\\Zapdate.exe";
    if (!::CopyFileW(arguments[0].c_str(), copyPath.c_str(), FALSE))
        return false;
    CopySatelliteBeside(arguments[0], folder);
    return StartWithHandshake(ComposeRelaunchCommandLine(copyPath));
}

bool StartWithHandshake(const std::wstring& commandLine) {
    platform::UniqueHandle block(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                      0, kHandOverBlockSize, kHandOverBlockName));
    if (!block || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    platform::UniqueView view(
        ::MapViewOfFile(block.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!view)
        return false;

    std::wstring mutableLine = commandLine; // CreateProcessW may write into the line
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                          CREATE_SUSPENDED | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &started))
        return false;
    const platform::UniqueHandle process(started.hProcess);
    const platform::UniqueHandle thread(started.hThread);

    const platform::UniqueHandle acknowledged(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto* shared = static_cast<HandOverBlock*>(view.Get());
    shared->starterProcess = DuplicateInto(process.Get(), ::GetCurrentProcess());
    shared->acknowledgeEvent = acknowledged ? DuplicateInto(process.Get(), acknowledged.Get()) : 0;

    ::ResumeThread(thread.Get());
    if (acknowledged)
        ::WaitForSingleObject(acknowledged.Get(), kHandOverWaitMs);
    return true;
}

bool AcknowledgeLauncher() {
    const platform::UniqueHandle block(
        ::OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kHandOverBlockName));
    if (!block)
        return false;
    const platform::UniqueView view(
        ::MapViewOfFile(block.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!view)
        return false;
    const auto* shared = static_cast<const HandOverBlock*>(view.Get());
    if (shared->acknowledgeEvent != 0) {
        const platform::UniqueHandle event(HandleFromBlock(shared->acknowledgeEvent));
        ::SetEvent(event.Get());
    }
    if (shared->starterProcess != 0) {
        const platform::UniqueHandle starter(HandleFromBlock(shared->starterProcess));
        ::WaitForSingleObject(starter.Get(), kHandOverWaitMs);
    }
    return true;
}
