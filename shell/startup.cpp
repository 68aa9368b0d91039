#include "shell/startup.h"

#include "crash/crash_handler.h"
#include "platform/resource_strings.h"
#include "platform/run_log.h"
#include "platform/system_information.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "service/maker_addresses.h"
#include "shell/command_line.h"
#include "shell/delete_folder_tree.h"
#include "shell/hand_over.h"
#include "shell/relaunch.h"
#include "shell/resource_language.h"
#include "shell/run_hidden.h"
#include "shell/run_mode.h"
#include "shell/startup_settings.h"
#include "shell/update_temp_folder.h"
#include "wizard/run_wizard.h"

#include <string>
#include <vector>

namespace {

constexpr char kInstanceMutexName[] =
    "FB4B2B76-3823-4004-A4F5-C019BA623A48_kv_family_running_event_update";
constexpr char kRelaunchMutexName[] =
    "FB4B2B76-3823-4004-A4F5-C019BA623A48_kv_family_running_event_update_temp";

void ShowUsage() {
    ::MessageBoxW(nullptr, platform::ResourceString(IDS_USAGE).c_str(),
                  platform::ResourceString(IDS_WIZARD_TITLE).c_str(), MB_OK);
}

void RunRelaunched(HINSTANCE instance) {
    // Held for the length of the update, so other processes can see that a copy is updating.
    const platform::UniqueHandle relaunchMutex(::CreateMutexA(nullptr, TRUE, kRelaunchMutexName));
    RunUpdate(instance);
}

void RunNormal(HINSTANCE instance, bool anotherWizardRuns) {
    if (anotherWizardRuns)
        return;
    if (RelaunchFromTempCopy())
        return;
    RunUpdate(instance);
}

// The crash handler for the length of the run: any fault becomes a report.
class CrashHandlerScope {
public:
    CrashHandlerScope() {
        crash::CrashHandlerConfig config = {};
        crash::SetConfigText(config.supportAddress, service::kSupportAddress);
        crash::SetConfigText(config.applicationName, "Velk Update Wizard");
        crash::SetConfigText(config.versionText,
                             platform::FormatAnsi("v%d.%d Build %d", 1, 0, 10028).c_str());
        const platform::SystemInformation system;
        crash::SetConfigText(config.operatingSystem, system.OperatingSystemDescription().c_str());
        crash::SetConfigText(config.machine, system.MachineDescription().c_str());
        crash::InstallCrashHandler(config);
    }
    ~CrashHandlerScope() { crash::UninstallCrashHandler(); }
    CrashHandlerScope(const CrashHandlerScope&) = delete;
    CrashHandlerScope& operator=(const CrashHandlerScope&) = delete;
};

const wchar_t* RunModeName(RunMode mode) {
    switch (mode) {
    case RunMode::CleanUp:
        return L"clean-up of the update folder";
    case RunMode::Relaunched:
        return TheStartupSettings().hidden ? L"update without user interface" : L"update wizard";
    case RunMode::Usage:
        return L"usage message";
    case RunMode::Normal:
        break;
    }
    return L"start from the product's folder";
}

// The arguments without the program's path, which may name the user.
std::wstring ArgumentsOfCommandLine() {
    const std::vector<std::wstring> arguments =
        SplitCommandLine(std::wstring_view(::GetCommandLineW()));
    std::wstring joined;
    for (size_t i = 1; i < arguments.size(); ++i)
        joined += (i > 1 ? L" " : L"") + arguments[i];
    return joined;
}

} // namespace

void RunUpdate(HINSTANCE instance) {
    if (TheStartupSettings().hidden)
        RunHidden();
    else
        RunWizard(instance);
    DeleteFolderTree(UpdateTempFolder());
    HandOverToInstalledWizard();
}

int RunProgram(HINSTANCE instance) {
    const CrashHandlerScope crashHandler;
    SelectResourceLanguage();
    SetUpdateTempFolderFromSystem();
    ::CreateDirectoryW(UpdateTempFolder().c_str(), nullptr);
    const platform::CRunLogSink runLog;

    const platform::UniqueHandle instanceMutex(::CreateMutexA(nullptr, TRUE, kInstanceMutexName));
    const bool anotherWizardRuns = ::GetLastError() == ERROR_ALREADY_EXISTS;

    const RunMode mode = DetermineRunMode();
    platform::LogRunStepF(L"run: %s; arguments: %s", RunModeName(mode),
                          ArgumentsOfCommandLine().c_str());
    switch (mode) {
    case RunMode::CleanUp:
        AcknowledgeLauncher();
        DeleteFolderTree(UpdateTempFolder());
        break;
    case RunMode::Relaunched:
        RunRelaunched(instance);
        break;
    case RunMode::Usage:
        ShowUsage();
        break;
    case RunMode::Normal:
        RunNormal(instance, anotherWizardRuns);
        break;
    }
    return 0;
}
