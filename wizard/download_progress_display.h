#pragma once
// The download page's progress controls as the transfer's progress callback fills them from the
// worker thread. A write into another thread's window waits for that thread (under Wine it costs
// about half a millisecond), and a fast download reports every 8192 bytes: so a text or the bar
// is written only when it changes, and a report is shown at most every kRefreshMs. A report
// held back that way is shown by Flush, which the page's timer calls, so that a download that
// stalls still shows everything that has arrived.

#include "platform/critical_section.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct DownloadProgress {
    uint32_t total = 0;
    uint32_t received = 0;
    uint32_t rate = 0;
    uint32_t remaining = 0;
    uint32_t elapsed = 0;
};

class CDownloadProgressDisplay {
public:
    static constexpr DWORD kRefreshMs = 100;
    using Clock = DWORD(WINAPI*)();

    explicit CDownloadProgressDisplay(Clock clock = &::GetTickCount) : clock_(clock) {}

    // Shows `progress` in `page`, a window with the download page's controls, unless a report
    // was shown less than kRefreshMs ago; the first and the last report of a download are shown
    // at once. Does nothing when one of the controls is missing.
    void Show(HWND page, const DownloadProgress& progress);
    // Shows the report that Show last held back for `page`, if any.
    void Flush(HWND page);
    // The controls' texts were changed by others: the next report is written whole.
    void Forget();

private:
    struct Writes {
        std::vector<std::pair<HWND, std::wstring>> texts;
        HWND bar = nullptr;
        int position = -1;

        void Apply() const;
    };

    // Looks the controls up once per page: every lookup in another thread's window is costly.
    bool FindControls(HWND page);
    // What has to change for `progress` to show; remembers it as shown.
    Writes ChangesFor(const DownloadProgress& progress);
    void AddText(Writes& writes, HWND control, std::wstring& shown, std::wstring text);

    const Clock clock_;
    platform::CriticalSection lock_;
    HWND page_ = nullptr;
    HWND bar_ = nullptr;
    HWND rateText_ = nullptr;
    HWND sizeText_ = nullptr;
    HWND remainingText_ = nullptr;
    HWND elapsedText_ = nullptr;
    // What the controls show, as far as this display has written them.
    std::wstring size_;
    std::wstring remaining_;
    std::wstring elapsed_;
    std::wstring rate_;
    int position_ = -1;
    DWORD lastShownTick_ = 0;
    bool shownBefore_ = false;
    bool pending_ = false;
    DownloadProgress pendingProgress_;
};
