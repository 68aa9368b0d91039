#pragma once
// The worker that does the slow work off the user-interface thread: the check (the fetch of the
// version file) and the download of the chosen packages. Pages poll its progress pair, error
// pair, busy flag and idle event; it never posts window messages.

#include "catalogue/installed_product.h"
#include "catalogue/installed_product_list.h"
#include "catalogue/update_selection.h"
#include "catalogue/version_file.h"
#include "engine/package_digest.h"
#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/interlocked_scalar.h"
#include "platform/mt_class.h"
#include "service/http_transfer.h"
#include "service/request_info.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Progress codes of the worker: a phase started, ended, and package i being downloaded.
inline constexpr uint32_t kProgressPhaseStarted = 1;
inline constexpr uint32_t kProgressPhaseEnded = 3;
inline constexpr uint32_t kProgressDownloadingFirst = 256;
// Error codes of the worker.
inline constexpr uint32_t kErrorNone = 0;
inline constexpr uint32_t kErrorFailed = 1;
// The waits of a cancel: for the running phase to end, then for its thread.
inline constexpr DWORD kCancelIdleWaitMs = 10000;
inline constexpr DWORD kCancelStopWaitMs = 1000;

class CUpdater : public platform::__CMTClass<CUpdater, INFINITE, 1, 1>,
                 public std::enable_shared_from_this<CUpdater> {
public:
    // A worker is always owned by a shared pointer: its threads hold it too, so a thread that a
    // stop let go still finds it alive. `progress` receives the transfer's progress on the
    // worker thread (see SetProgressCallback).
    static std::shared_ptr<CUpdater> Create(service::TransferProgressFn progress = {});
    ~CUpdater();

    // Start a phase on the worker thread; false (and the worker idle) when none could start.
    bool StartCheck();
    bool StartDownload();
    // Asks the running phase, and its transfer, to stop. Any thread.
    void RequestCancel();
    // Stop(waitMs), from the thread owner, stops accepting phases and waits for the running one;
    // a thread still running after the wait is let go and changes nothing here afterwards.
    // The whole cancel: request it, wait up to `idleWaitMs` for the phase to end, then stop the
    // thread owner with `stopWaitMs`. Afterwards no phase starts again. True when the thread
    // ended within the waits.
    bool CancelAndStop(DWORD idleWaitMs = kCancelIdleWaitMs, DWORD stopWaitMs = kCancelStopWaitMs);

    // Copy the pairs under the state lock.
    uint32_t GetProgress(std::wstring& text) const;
    uint32_t GetError(std::wstring& text) const;

    // True from the start of a phase to its end.
    bool IsBusy() const { return busy_; }
    // Set when a phase has ended or could not start; reset when one starts.
    const platform::Event& IdleEvent() const { return idle_; }
    // A phase is running: busy and the idle event not signalled.
    bool IsPhaseRunning() const { return busy_ && !idle_.IsSet(); }

    // The download page's progress display; may be empty. It is called on the worker thread and
    // never after a stop let that thread go.
    void SetProgressCallback(service::TransferProgressFn progress);

    // Pairs the chosen products of `products` (the program-wide list by default) with the offers
    // of the fetched version file; returns the number of updates available. Caller's thread.
    uint32_t SelectUpdates();
    uint32_t SelectUpdates(const InstalledProductList& products);

    bool VersionFileFetched() const;
    std::wstring VersionFilePath() const;
    uint32_t UpdateCount() const;
    // The global section's "url", kept for later requests; empty until a version file had one.
    std::wstring ServiceUrl() const;

    // Copies of the update items and of the downloaded list (indices into the items).
    std::vector<InstalledProduct> UpdateItems() const;
    std::vector<uint32_t> DownloadedList() const;

    // Direct access for the installation: take ListLock() around every use.
    platform::CriticalSection& ListLock() const { return listLock_; }
    std::vector<InstalledProduct>& UpdateList() { return selection_.items; }
    std::vector<uint32_t>& DownloadedIndices() { return downloaded_; }

    // The transfer, for the cancel of the download page.
    service::CHttpTransfer& Transfer() { return transfer_; }

private:
    friend class platform::__CMTClass<CUpdater, INFINITE, 1, 1>;

    explicit CUpdater(service::TransferProgressFn progress);

    bool StartPhase(unsigned (CUpdater::*body)());
    unsigned RunCheck();
    unsigned RunDownload();
    // The frame of both phases around their work, on the worker thread.
    unsigned RunPhase(void (CUpdater::*work)());
    void Check();
    void DownloadPackages();
    void DownloadOne(size_t index);

    // Snapshot of one item for its download, taken under the list lock; false when the item is
    // not to be downloaded (or the worker was let go).
    struct PackageJob;
    bool PreparePackage(size_t index, PackageJob& job);
    // Reads the item's offer afresh; false when it can no longer be read. `requestBuilt` tells
    // whether the offer's url gave a request.
    bool BuildRequest(PackageJob& job, bool& requestBuilt);
    void MarkDownloaded(size_t index);
    // A package whose bytes are not those published: deleted, and the item told why.
    void RejectPackage(size_t index);
    void SetItemStatusText(size_t index, const std::wstring& text);
    void MarkRemainingCancelled(size_t first);

    // The pairs; an absent format gives an empty progress text and the "can't connect" error.
    void SetProgress(uint32_t code, const wchar_t* format, ...);
    void SetError(uint32_t code, const wchar_t* format, ...);
    void StoreProgress(uint32_t code, std::wstring text);
    void StoreError(uint32_t code, std::wstring text);
    void EndPhase();

    void ForwardProgress(uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
                         uint32_t elapsed, uint32_t reserved);
    void OnThreadsAbandoned();
    // True on a worker thread that a stop let go: it must leave the lists and pairs alone.
    bool WorkerLetGo() const;
    size_t ItemCount() const;

    std::wstring currentPackagePath_;
    service::CRequestInfo request_;
    std::wstring versionFilePath_;
    bool versionFileFetched_ = false;
    VersionFile versionFile_;
    service::CHttpTransfer transfer_;
    UpdateSelection selection_;
    std::vector<uint32_t> downloaded_;
    mutable platform::CriticalSection listLock_;
    platform::Event idle_{platform::Event::Reset::Manual, false};
    platform::CInterlockedScalar<bool> cancel_{false};
    std::atomic<bool> busy_{false};
    mutable platform::CriticalSection stateLock_;
    std::wstring progressText_;
    uint32_t progressCode_ = kProgressPhaseStarted;
    std::wstring errorText_;
    uint32_t errorCode_ = kErrorNone;

    std::wstring serviceUrl_;
    // Set (under both locks) when a stop let the worker thread go: from then on that thread
    // changes neither the lists nor the pairs, and calls no progress display.
    std::atomic<bool> abandoned_{false};
    std::atomic<DWORD> workerThreadId_{0};
    mutable platform::CriticalSection callbackLock_;
    service::TransferProgressFn progress_;
};

// The program's single worker, created on first use and destroyed when the program ends.
CUpdater& TheUpdater();
