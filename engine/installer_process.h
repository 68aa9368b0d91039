#pragma once
// Starting one downloaded installer package silently and waiting for it.

#include "platform/unique_resource.h"

#include <windows.h>

#include <string>

// The package path in double quotes, a blank and the installers' silent switch.
std::wstring InstallerCommandLine(const std::wstring& packagePath);

struct StartedInstaller {
    platform::UniqueHandle process; // invalid when the installer could not be started
    DWORD error = ERROR_SUCCESS;    // why it could not be started
    explicit operator bool() const { return process.IsValid(); }
};

// Starts the package's installer with its window hidden, inheriting no handles.
StartedInstaller StartInstaller(const std::wstring& packagePath);

// Waits without a time limit until the installer has ended or `cancel` (may be null) is
// signalled. True when the installer ended.
bool WaitForInstaller(HANDLE process, HANDLE cancel);

// Records one installer's run in the run log: its command line with the package's file name
// alone, and how it ended: the start's error, the exit code, or still running (`ended` false),
// with the time since `startTick`.
void LogInstallerRun(const std::wstring& packagePath, const StartedInstaller& installer, bool ended,
                     DWORD startTick);

// The system's text for a failed start, as the end page shows it (at most 255 characters).
std::wstring InstallerStartErrorText(DWORD error);
