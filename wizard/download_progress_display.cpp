#include "wizard/download_progress_display.h"

#include "platform/text.h"
#include "resources/resource_ids.h"
#include "wizard/transfer_text.h"

#include <commctrl.h>

namespace {

std::wstring BlankOr(uint32_t seconds) {
    return seconds == 0 ? L" " : FormatDuration(seconds);
}

std::wstring SizeText(uint32_t total, uint32_t received) {
    if (total == 0 && received == 0)
        return L" ";
    std::wstring size = FormatByteSize(received);
    if (total != 0)
        size = platform::FormatWide(L"%ls/%ls", size.c_str(), FormatByteSize(total).c_str());
    return size;
}

bool IsFirstOrLast(const DownloadProgress& progress) {
    return progress.received == 0 || progress.received == progress.total;
}

} // namespace

void CDownloadProgressDisplay::Show(HWND page, const DownloadProgress& progress) {
    Writes writes;
    {
        platform::ScopedLock lock(lock_);
        if (page != page_ && !FindControls(page))
            return;
        const DWORD now = clock_();
        if (shownBefore_ && !IsFirstOrLast(progress) && now - lastShownTick_ < kRefreshMs) {
            pending_ = true;
            pendingProgress_ = progress;
            return;
        }
        pending_ = false;
        shownBefore_ = true;
        lastShownTick_ = now;
        writes = ChangesFor(progress);
    }
    // Written outside the lock: the page's thread may be waiting for it in Flush.
    writes.Apply();
}

void CDownloadProgressDisplay::Flush(HWND page) {
    Writes writes;
    {
        platform::ScopedLock lock(lock_);
        if (!pending_ || page != page_)
            return;
        pending_ = false;
        lastShownTick_ = clock_();
        writes = ChangesFor(pendingProgress_);
    }
    writes.Apply();
}

void CDownloadProgressDisplay::Forget() {
    platform::ScopedLock lock(lock_);
    page_ = nullptr;
}

bool CDownloadProgressDisplay::FindControls(HWND page) {
    // A new page shows its dialog texts; nothing of an old one is known to be there.
    page_ = nullptr;
    size_.clear();
    remaining_.clear();
    elapsed_.clear();
    rate_.clear();
    position_ = -1;
    pending_ = false;
    shownBefore_ = false;
    bar_ = ::GetDlgItem(page, IDC_PROGRESS_BAR);
    rateText_ = ::GetDlgItem(page, IDC_TRANSFER_RATE);
    sizeText_ = ::GetDlgItem(page, IDC_SIZE_TEXT);
    remainingText_ = ::GetDlgItem(page, IDC_REMAINING_TIME);
    elapsedText_ = ::GetDlgItem(page, IDC_ELAPSED_TIME);
    if (!bar_ || !rateText_ || !sizeText_ || !remainingText_ || !elapsedText_)
        return false;
    page_ = page;
    return true;
}

CDownloadProgressDisplay::Writes
CDownloadProgressDisplay::ChangesFor(const DownloadProgress& progress) {
    Writes writes;
    AddText(writes, sizeText_, size_, SizeText(progress.total, progress.received));
    AddText(writes, remainingText_, remaining_, BlankOr(progress.remaining));
    AddText(writes, elapsedText_, elapsed_, BlankOr(progress.elapsed));
    int position = position_;
    if (progress.received == 0)
        position = 0;
    else if (progress.total != 0)
        position = static_cast<int>(uint64_t{progress.received} * 100 / progress.total);
    if (position != position_) {
        writes.bar = bar_;
        writes.position = position;
        position_ = position;
    }
    // The rate stays as it was while nothing is known to come.
    if (progress.received != 0 && progress.remaining != 0)
        AddText(writes, rateText_, rate_,
                platform::FormatWide(L"%ls/c", FormatByteSize(progress.rate).c_str()));
    return writes;
}

void CDownloadProgressDisplay::AddText(Writes& writes, HWND control, std::wstring& shown,
                                       std::wstring text) {
    if (text == shown)
        return;
    shown = text;
    writes.texts.emplace_back(control, std::move(text));
}

void CDownloadProgressDisplay::Writes::Apply() const {
    for (const auto& [control, text] : texts)
        ::SetWindowTextW(control, text.c_str());
    if (bar != nullptr)
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}
