#include "engine/updater.h"

#include "platform/resource_strings.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "service/version_file_fetch.h"
#include "service/version_file_signature.h"
#include "shell/update_temp_folder.h"

#include <cstdarg>
#include <utility>

namespace {

constexpr DWORD kThreadLeaveWaitMs = 5000;

// Waits up to `ms` for `event`, serving what other threads send to this thread's windows
// meanwhile: a worker that was writing into a page of this thread when the cancel came must not
// wait for this thread while it waits for the worker.
bool WaitServingSentMessages(const platform::Event& event, DWORD ms) {
    const DWORD start = ::GetTickCount();
    const HANDLE handle = event.Get();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            return event.IsSet();
        const DWORD end =
            ::MsgWaitForMultipleObjects(1, &handle, FALSE, ms - elapsed, QS_SENDMESSAGE);
        if (end != WAIT_OBJECT_0 + 1)
            return end == WAIT_OBJECT_0;
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

std::shared_ptr<CUpdater> CUpdater::Create(service::TransferProgressFn progress) {
    return std::shared_ptr<CUpdater>(new CUpdater(std::move(progress)));
}

CUpdater::CUpdater(service::TransferProgressFn progress)
    : transfer_([this](uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
                       uint32_t elapsed, uint32_t reserved) {
          ForwardProgress(total, received, rate, remaining, elapsed, reserved);
      }),
      progress_(std::move(progress)) {}

CUpdater::~CUpdater() {
    // Before the members go; a thread of this worker holds it alive, so none is running here.
    Stop(INFINITE);
}

bool CUpdater::StartCheck() {
    return StartPhase(&CUpdater::RunCheck);
}

bool CUpdater::StartDownload() {
    return StartPhase(&CUpdater::RunDownload);
}

bool CUpdater::StartPhase(unsigned (CUpdater::*body)()) {
    // A second start while a phase runs would mark the running phase idle; a stopped owner
    // starts nothing, and its let-go thread must keep its cancel request.
    if (busy_ || !AcceptsThreads())
        return false;
    // The previous phase has ended, but its thread may still be leaving the owner's list, which
    // holds one thread at a time.
    ::WaitForSingleObject(NoThreadRunningEvent(), kThreadLeaveWaitMs);
    cancel_.Set(false);
    idle_.Clear();
    busy_ = true;
    if (!StartThread(body)) {
        busy_ = false;
        idle_.Set();
        return false;
    }
    return true;
}

void CUpdater::RequestCancel() {
    transfer_.RequestCancel();
    cancel_.Set(true);
}

bool CUpdater::CancelAndStop(DWORD idleWaitMs, DWORD stopWaitMs) {
    RequestCancel();
    if (busy_)
        WaitServingSentMessages(idle_, idleWaitMs);
    return Stop(stopWaitMs);
}

unsigned CUpdater::RunCheck() {
    return RunPhase(&CUpdater::Check);
}

unsigned CUpdater::RunDownload() {
    return RunPhase(&CUpdater::DownloadPackages);
}

unsigned CUpdater::RunPhase(void (CUpdater::*work)()) {
    workerThreadId_ = ::GetCurrentThreadId();
    SetError(kErrorNone, nullptr);
    SetProgress(kProgressPhaseStarted, nullptr);
    (this->*work)();
    SetProgress(kProgressPhaseEnded, nullptr);
    EndPhase();
    return 0;
}

void CUpdater::Check() {
    if (VersionFileFetched())
        return;
    std::wstring path;
    const bool fetched = service::FetchVersionFile(
        transfer_, UpdateTempFolder(), path,
        [this](uint32_t code, const std::wstring& text) { StoreProgress(code, text); },
        service::BuiltInVersionFileKey());
    {
        platform::ScopedLock list(listLock_);
        if (WorkerLetGo())
            return;
        versionFilePath_ = path;
        versionFileFetched_ = fetched;
    }
    // Whatever the transport's own error was, the check only says it failed.
    if (!fetched)
        SetError(kErrorFailed, nullptr);
}

void CUpdater::EndPhase() {
    if (WorkerLetGo())
        return;
    busy_ = false;
    idle_.Set();
}

bool CUpdater::WorkerLetGo() const {
    return abandoned_ && ::GetCurrentThreadId() == workerThreadId_;
}

void CUpdater::OnThreadsAbandoned() {
    {
        // Under every lock the worker writes under, so no write of the let-go thread can follow.
        platform::ScopedLock list(listLock_);
        platform::ScopedLock state(stateLock_);
        platform::ScopedLock callback(callbackLock_);
        abandoned_ = true;
    }
    // The pages go on as if the phase had ended.
    busy_ = false;
    idle_.Set();
}

void CUpdater::SetProgress(uint32_t code, const wchar_t* format, ...) {
    std::wstring text;
    if (format) {
        va_list args;
        va_start(args, format);
        text = platform::FormatWideV(format, args);
        va_end(args);
    }
    StoreProgress(code, std::move(text));
}

void CUpdater::SetError(uint32_t code, const wchar_t* format, ...) {
    std::wstring text;
    if (format) {
        va_list args;
        va_start(args, format);
        text = platform::FormatWideV(format, args);
        va_end(args);
    } else {
        text = platform::ResourceString(IDS_CANT_CONNECT);
    }
    StoreError(code, std::move(text));
}

void CUpdater::StoreProgress(uint32_t code, std::wstring text) {
    platform::ScopedLock state(stateLock_);
    if (WorkerLetGo())
        return;
    progressCode_ = code;
    progressText_ = std::move(text);
}

void CUpdater::StoreError(uint32_t code, std::wstring text) {
    platform::ScopedLock state(stateLock_);
    if (WorkerLetGo())
        return;
    errorCode_ = code;
    errorText_ = std::move(text);
}

uint32_t CUpdater::GetProgress(std::wstring& text) const {
    platform::ScopedLock state(stateLock_);
    text = progressText_;
    return progressCode_;
}

uint32_t CUpdater::GetError(std::wstring& text) const {
    platform::ScopedLock state(stateLock_);
    text = errorText_;
    return errorCode_;
}

void CUpdater::SetProgressCallback(service::TransferProgressFn progress) {
    platform::ScopedLock callback(callbackLock_);
    progress_ = std::move(progress);
}

void CUpdater::ForwardProgress(uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
                               uint32_t elapsed, uint32_t reserved) {
    // A cancel that came just before a transfer began was cleared by it; pass it on again, so
    // the transfer stops after this chunk instead of running to its end.
    if (cancel_.Get())
        transfer_.RequestCancel();
    service::TransferProgressFn progress;
    {
        platform::ScopedLock callback(callbackLock_);
        if (WorkerLetGo())
            return;
        progress = progress_;
    }
    // Called outside the lock: the display may wait for the user-interface thread, which may be
    // the one setting the callback or stopping the worker.
    if (progress)
        progress(total, received, rate, remaining, elapsed, reserved);
}

uint32_t CUpdater::SelectUpdates() {
    return SelectUpdates(TheInstalledProducts());
}

uint32_t CUpdater::SelectUpdates(const InstalledProductList& products) {
    SelectionOutcome outcome;
    uint32_t count = 0;
    {
        platform::ScopedLock list(listLock_);
        outcome = ::SelectUpdates(products, selection_, versionFile_, versionFilePath_,
                                  [this] { return cancel_.Get(); });
        if (outcome == SelectionOutcome::Paired || outcome == SelectionOutcome::Cancelled) {
            GlobalInfo info;
            if (versionFile_.ReadGlobalInfo(info))
                serviceUrl_ = info.url;
            downloaded_.clear();
        }
        count = selection_.updateCount;
    }
    if (outcome == SelectionOutcome::VersionFileUnreadable)
        SetError(kErrorFailed, nullptr);
    return count;
}

bool CUpdater::VersionFileFetched() const {
    platform::ScopedLock list(listLock_);
    return versionFileFetched_;
}

std::wstring CUpdater::VersionFilePath() const {
    platform::ScopedLock list(listLock_);
    return versionFilePath_;
}

uint32_t CUpdater::UpdateCount() const {
    platform::ScopedLock list(listLock_);
    return selection_.updateCount;
}

std::wstring CUpdater::ServiceUrl() const {
    platform::ScopedLock list(listLock_);
    return serviceUrl_;
}

std::vector<InstalledProduct> CUpdater::UpdateItems() const {
    platform::ScopedLock list(listLock_);
    return selection_.items;
}

std::vector<uint32_t> CUpdater::DownloadedList() const {
    platform::ScopedLock list(listLock_);
    return downloaded_;
}

size_t CUpdater::ItemCount() const {
    platform::ScopedLock list(listLock_);
    return selection_.items.size();
}

namespace {

// The program's worker. At the end of the program a running phase is waited for without limit;
// a thread that a cancel let go keeps the worker alive by itself and is not waited for.
struct ProgramUpdater {
    ProgramUpdater() : updater(CUpdater::Create()) {}
    ~ProgramUpdater() { updater->Stop(INFINITE); }
    const std::shared_ptr<CUpdater> updater;
};

} // namespace

CUpdater& TheUpdater() {
    static ProgramUpdater program;
    return *program.updater;
}
