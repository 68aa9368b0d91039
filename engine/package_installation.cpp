#include "engine/package_installation.h"

#include "engine/installation_check.h"
#include "engine/installer_process.h"
#include "platform/resource_strings.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "resources/resource_ids.h"

#include <string>

namespace {

bool IsSignalled(HANDLE event) {
    return event != nullptr && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

void ShowCurrentProduct(HWND page, const std::wstring& displayName) {
    if (page == nullptr)
        return;
    const HWND control = ::GetDlgItem(page, kInstallCurrentControlId);
    if (control == nullptr)
        return;
    // Wide text: a product name outside the ANSI code page would otherwise read as "???".
    const std::wstring text = platform::FormatWide(
        platform::ResourceString(IDS_UPDATING_PRODUCT).c_str(), displayName.c_str());
    ::SetWindowTextW(control, text.c_str());
}

void MarkNotStarted(CInstallationRecords& records, size_t position, DWORD error) {
    const std::wstring text = InstallerStartErrorText(error);
    records.Update(position, [&](InstalledProduct& item) {
        item.SetStatus(kStatusNotUpdated);
        item.statusText = text;
    });
}

// The end page shows "Failed. " and this text for packages that a cancel kept from finishing.
void MarkCancelled(CInstallationRecords& records, size_t firstPosition) {
    const std::wstring& text = platform::ResourceString(IDS_CANCELED_BY_USER);
    const size_t count = records.DownloadedCount();
    for (size_t position = firstPosition; position < count; ++position)
        records.Update(position, [&](InstalledProduct& item) { item.statusText = text; });
}

// Runs the installer of one package; false when the cancel event cut the wait short.
bool InstallPackage(const InstallationRun& run, CInstallationRecords& records, size_t position,
                    const InstalledProduct& item) {
    const DWORD startTick = ::GetTickCount();
    StartedInstaller installer = StartInstaller(item.packagePath);
    if (!installer) {
        LogInstallerRun(item.packagePath, installer, false, startTick);
        MarkNotStarted(records, position, installer.error);
        return true;
    }
    ShowCurrentProduct(run.page, item.displayName);
    // A cancelled installer is left to finish on its own: stopping it half-way could break the
    // product it is replacing.
    const bool ended = WaitForInstaller(installer.process.Get(), run.cancelEvent);
    LogInstallerRun(item.packagePath, installer, ended, startTick);
    return ended;
}

} // namespace

void InstallPackages(InstallationRun run) {
    for (size_t position = 0; position < run.records.DownloadedCount(); ++position) {
        if (IsSignalled(run.cancelEvent)) {
            MarkCancelled(run.records, position);
            break;
        }
        const std::optional<InstalledProduct> item = run.records.Item(position);
        if (!item)
            continue;
        if (!InstallPackage(run, run.records, position, *item)) {
            MarkCancelled(run.records, position);
            break;
        }
    }
    VerifyInstallation(run.records);
    if (run.page != nullptr)
        ::SendMessageW(run.page, WM_INSTALL_DONE, 0, 0);
}

void RunInstallersToTheEnd(const CInstallationRecords& records) {
    for (size_t position = 0; position < records.DownloadedCount(); ++position) {
        const std::optional<InstalledProduct> item = records.Item(position);
        if (!item)
            continue;
        const DWORD startTick = ::GetTickCount();
        const StartedInstaller installer = StartInstaller(item->packagePath);
        const bool ended = installer && WaitForInstaller(installer.process.Get(), nullptr);
        LogInstallerRun(item->packagePath, installer, ended, startTick);
    }
}

platform::UniqueHandle StartInstallPackages(const InstallationRun& run) {
    return platform::StartThread([run] {
        InstallPackages(run);
        return 0u;
    });
}
