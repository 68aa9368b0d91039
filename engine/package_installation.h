#pragma once
// Runs the downloaded installer packages silently, one after the other, on a thread of its own,
// then checks in the registry which products were really updated and tells the install page.
//
// The install page starts a run with StartInstallPackages(page, cancel, records); the worker
// provides the records (CInstallationRecords over its update list, downloaded list and list
// lock). The page must keep its cancel event and the worker its records alive until the run has
// sent WM_INSTALL_DONE.

#include "engine/installation_records.h"
#include "platform/unique_resource.h"

#include <windows.h>

// Sent (not posted) to the page when the run has ended; wParam and lParam are 0. The items hold
// their final outcome when it arrives.
inline constexpr UINT WM_INSTALL_DONE = WM_APP + 100;

// The page control that shows which product is being installed.
inline constexpr int kInstallCurrentControlId = 1030;

struct InstallationRun {
    HWND page = nullptr;          // may be null: nothing is shown and nothing is sent
    HANDLE cancelEvent = nullptr; // manual reset, owned by the page; signalled: stop
    CInstallationRecords records;
};

// The body of the run, on the calling thread: every downloaded package in order until the cancel
// event is signalled, then VerifyInstallation, then WM_INSTALL_DONE to the page.
void InstallPackages(InstallationRun run);

// The run without user interface: every downloaded package's installer in order, each waited
// for to its end; no cancel, no check of the outcome, nothing written to the items.
void RunInstallersToTheEnd(const CInstallationRecords& records);

// Starts InstallPackages on a new thread. Returns the thread handle, invalid when no thread
// could be started (nothing has run then).
platform::UniqueHandle StartInstallPackages(const InstallationRun& run);
