// The download phase: every update item that awaits its package gets it into the update
// temporary folder, or a text that says why not.

#include "engine/package_download.h"

#include "engine/package_digest.h"
#include "engine/updater.h"
#include "platform/resource_strings.h"
#include "platform/run_log.h"
#include "resources/resource_ids.h"
#include "service/package_request.h"

namespace {

struct TransferFigures {
    uint32_t bytes = 0;
    uint32_t milliseconds = 0;
    TransferFigures() = default;
    TransferFigures(const service::CHttpTransfer& transfer)
        : bytes(transfer.Received()), milliseconds(transfer.ElapsedMilliseconds()) {}
};

// One line of the run log for each package: where from, how it went, how fast, and the hash.
void LogDownload(const std::string& url, const std::wstring& result, TransferFigures figures,
                 const std::wstring& verdict) {
    const uint64_t rate =
        figures.milliseconds ? uint64_t{figures.bytes} * 1000 / figures.milliseconds : 0;
    platform::LogRunStepF(L"download %hs: %s; %u bytes in %u ms, %llu bytes/s; %s", url.c_str(),
                          result.c_str(), figures.bytes, figures.milliseconds,
                          static_cast<unsigned long long>(rate), verdict.c_str());
}

} // namespace

bool AwaitsDownload(const InstalledProduct& item) {
    return (item.Status() & 0x6) == 0x6;
}

struct CUpdater::PackageJob {
    std::wstring packagePath;
    std::wstring offeredName;
    uint32_t offeredMajor = 0;
    uint32_t offeredMinor = 0;
    uint32_t offeredBuild = 0;
    int32_t offeredIndex = -1;
    service::PackageParameterValues values;
    // From the offer, read afresh.
    std::string url;
    std::optional<std::string> publishedSha256;
};

void CUpdater::DownloadPackages() {
    for (size_t i = 0; i < ItemCount(); ++i) {
        if (WorkerLetGo())
            return;
        if (cancel_.Get()) {
            MarkRemainingCancelled(i);
            return;
        }
        DownloadOne(i);
    }
}

void CUpdater::DownloadOne(size_t index) {
    PackageJob job;
    if (!PreparePackage(index, job))
        return;
    currentPackagePath_ = job.packagePath;
    SetProgress(kProgressDownloadingFirst + static_cast<uint32_t>(index),
                platform::ResourceString(IDS_DOWNLOADING_ITEM).c_str(), job.offeredName.c_str(),
                job.offeredMajor, job.offeredMinor, job.offeredBuild);

    bool requestBuilt = false;
    if (!BuildRequest(job, requestBuilt))
        return; // the offer can no longer be read: passed over without a word
    CPackageDigest digest(job.publishedSha256);
    if (requestBuilt && digest.IsMalformed()) {
        // Nothing could vouch for the bytes, so they are not fetched.
        LogDownload(job.url, L"not requested", {},
                    PackageVerdictText(PackageVerdict::Malformed, digest));
        RejectPackage(index);
        return;
    }
    if (requestBuilt && transfer_.Perform(currentPackagePath_, request_, digest.Observer()) ==
                            service::TransferResult::Done) {
        const PackageVerdict verdict = digest.Verdict();
        LogDownload(job.url, L"done", transfer_, PackageVerdictText(verdict, digest));
        if (!PackageMayRun(verdict)) {
            RejectPackage(index);
            return;
        }
        MarkDownloaded(index);
        return;
    }

    std::wstring text;
    if (cancel_.Get()) {
        text = platform::ResourceString(IDS_CANCELED_BY_USER);
    } else if (!requestBuilt) {
        // The transfer still holds the text of an earlier request, which may name another
        // package's failure; an address that cannot be used is a failure to reach the service.
        text = platform::ResourceString(IDS_CANT_CONNECT);
    } else {
        transfer_.GetError(text);
    }
    SetItemStatusText(index, text);
    const std::wstring result = cancel_.Get() ? L"cancelled" : L"failed: " + text;
    if (requestBuilt)
        LogDownload(job.url, result, transfer_, L"SHA-256 not checked");
    else
        LogDownload(job.url, L"not requested: " + text, {}, L"SHA-256 not checked");
}

bool CUpdater::PreparePackage(size_t index, PackageJob& job) {
    platform::ScopedLock list(listLock_);
    if (WorkerLetGo() || index >= selection_.items.size())
        return false;
    const InstalledProduct& item = selection_.items[index];
    if (!AwaitsDownload(item))
        return false;
    job.packagePath = item.packagePath;
    job.offeredName = item.offeredName;
    job.offeredMajor = item.offeredMajor;
    job.offeredMinor = item.offeredMinor;
    job.offeredBuild = item.offeredBuild;
    job.offeredIndex = item.offeredIndex;
    job.values = {item.resellerId, item.keyProductId, item.build};
    return true;
}

bool CUpdater::BuildRequest(PackageJob& job, bool& requestBuilt) {
    OfferedBuild record;
    {
        // Under the list lock: the version file is reloaded by a selection on another thread.
        platform::ScopedLock list(listLock_);
        const std::vector<OfferedBuild>& builds = versionFile_.Builds();
        if (WorkerLetGo() || job.offeredIndex < 0 ||
            static_cast<size_t>(job.offeredIndex) >= builds.size())
            return false;
        record = builds[static_cast<size_t>(job.offeredIndex)];
        if (!versionFile_.ParseSection(record.sectionName, record))
            return false;
    }
    job.url = record.url;
    job.publishedSha256 = record.sha256;
    requestBuilt = service::BuildPackageRequest(record.method, record.url, record.params,
                                                job.values, request_);
    return true;
}

void CUpdater::MarkDownloaded(size_t index) {
    platform::ScopedLock list(listLock_);
    if (WorkerLetGo() || index >= selection_.items.size())
        return;
    selection_.items[index].SetStatus(kStatusDownloaded);
    downloaded_.push_back(static_cast<uint32_t>(index));
}

void CUpdater::RejectPackage(size_t index) {
    // Its installer must never run: the file goes, and the item stays without a package.
    ::DeleteFileW(currentPackagePath_.c_str());
    platform::ScopedLock list(listLock_);
    if (WorkerLetGo() || index >= selection_.items.size())
        return;
    InstalledProduct& item = selection_.items[index];
    item.statusText = platform::ResourceString(IDS_PACKAGE_DAMAGED);
    item.state |= kPackageRejectedFlag;
}

void CUpdater::SetItemStatusText(size_t index, const std::wstring& text) {
    platform::ScopedLock list(listLock_);
    if (WorkerLetGo() || index >= selection_.items.size())
        return;
    selection_.items[index].statusText = text;
}

void CUpdater::MarkRemainingCancelled(size_t first) {
    platform::ScopedLock list(listLock_);
    if (WorkerLetGo())
        return;
    for (size_t i = first; i < selection_.items.size(); ++i)
        selection_.items[i].statusText = platform::ResourceString(IDS_CANCELED_BY_USER);
}
