// A large download through the wizard's transfer, with its progress shown in the download
// page's dialog by the page's own display, against curl fetching the same file in the same run;
// the same download checked against its published SHA-256 as the worker checks a package,
// against the plain one; and the peak working set of a large download against that of a smaller
// one.
//
// Environment (scripts/bench sets it): ZAPDATE_BENCH_BIG_URL and ZAPDATE_BENCH_SMALL_URL, two
// files on a loopback nginx; ZAPDATE_BENCH_CURL_SECONDS, curl's time for the big file.

#include "bench/support/bench_report.h"
#include "engine/package_digest.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "resources/resource_ids.h"
#include "service/http_transfer.h"
#include "wizard/download_progress_display.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Url {
    std::string host;
    uint16_t port = 80;
    std::string path;
};

// "http://host[:port]/path"; nothing for anything else.
std::optional<Url> ParseUrl(const char* text) {
    if (text == nullptr)
        return std::nullopt;
    const std::string url = text;
    const std::string scheme = "http://";
    if (url.rfind(scheme, 0) != 0)
        return std::nullopt;
    const size_t slash = url.find('/', scheme.size());
    if (slash == std::string::npos)
        return std::nullopt;
    Url parsed;
    std::string authority = url.substr(scheme.size(), slash - scheme.size());
    const size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        parsed.port = static_cast<uint16_t>(std::atoi(authority.c_str() + colon + 1));
        authority.resize(colon);
    }
    parsed.host = authority;
    parsed.path = url.substr(slash);
    return parsed;
}

// The download page's dialog, made from the program's own resource inside a frame window.
class ProgressWindow {
public:
    ProgressWindow() {
        const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        frame_ = ::CreateWindowExW(0, L"STATIC", L"Download", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                   0, 560, 300, nullptr, nullptr, nullptr, nullptr);
        if (frame_ == nullptr)
            return;
        window_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DOWNLOAD),
                                       frame_, &ProgressWindow::DialogProc, 0);
        if (window_ == nullptr)
            return;
        ::SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        ::ShowWindow(window_, SW_SHOW);
    }
    ~ProgressWindow() {
        if (frame_)
            ::DestroyWindow(frame_);
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    explicit operator bool() const { return window_ != nullptr; }

    // The page's progress display, called on the transfer's thread.
    void Show(uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
              uint32_t elapsed) {
        display_.Show(window_, {total, received, rate, remaining, elapsed});
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
        return message == WM_INITDIALOG;
    }

    HWND frame_ = nullptr;
    HWND window_ = nullptr;
    CDownloadProgressDisplay display_;
};

// Runs the transfer on a worker thread, as the wizard does, while this thread keeps the window
// answering; true when the whole file arrived.
bool Download(ProgressWindow& window, const Url& url, const std::wstring& outputPath,
              service::WrittenBytesFn written = {}) {
    service::CHttpTransfer transfer(
        [&](uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining, uint32_t elapsed,
            uint32_t) { window.Show(total, received, rate, remaining, elapsed); });
    service::CRequestInfo request;
    request.host = url.host;
    request.port = url.port;
    request.path = url.path;
    service::TransferResult result = service::TransferResult::Failed;
    const platform::UniqueHandle worker = platform::StartThread([&] {
        result = transfer.Perform(outputPath, request, written);
        return 0u;
    });
    if (!worker.IsValid())
        return false;
    HANDLE handle = worker.Get();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return result == service::TransferResult::Done;
}

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

std::wstring OutputPath() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"zapdate-download-bench.bin";
}

} // namespace

int wmain() {
    const std::optional<Url> big = ParseUrl(std::getenv("ZAPDATE_BENCH_BIG_URL"));
    const std::optional<Url> small = ParseUrl(std::getenv("ZAPDATE_BENCH_SMALL_URL"));
    const char* curlSeconds = std::getenv("ZAPDATE_BENCH_CURL_SECONDS");
    if (!big || !small || curlSeconds == nullptr) {
        std::printf("download bench skipped: run it through scripts/bench (needs nginx)\n");
        return 0;
    }
    ProgressWindow window;
    if (!window) {
        std::printf("download bench: no window could be created\n");
        return 1;
    }
    const std::wstring output = OutputPath();

    // As many small downloads as big ones follow, so that what the first requests set up once
    // counts on both sides.
    for (int i = 0; i < 3; ++i) {
        if (!Download(window, *small, output)) {
            std::printf("download bench: the small file did not arrive\n");
            return 1;
        }
    }
    const size_t smallPeak = PeakWorkingSet();

    bool whole = true;
    const double seconds =
        bench::MedianSeconds(3, [&] { whole = Download(window, *big, output) && whole; });
    const size_t bigPeak = PeakWorkingSet();

    // The hash is published beforehand; the download hashes the bytes as it writes them.
    const std::optional<platform::Sha256Digest> published = platform::Sha256OfFile(output);
    const double hashedSeconds = bench::MedianSeconds(3, [&] {
        CPackageDigest digest(platform::Sha256Text(published.value_or(platform::Sha256Digest{})));
        whole = Download(window, *big, output, digest.Observer()) &&
                digest.Verdict() == PackageVerdict::Matches && whole;
    });
    ::DeleteFileW(output.c_str());
    // What the system's SHA-256 alone takes for as many bytes, from memory: the least that
    // hashing can add where it does not overlap with the download.
    std::vector<char> block(1 << 20, 'z');
    const double hashOnlySeconds = bench::MedianSeconds(1, [&] {
        platform::CSha256 hash;
        for (int i = 0; i < 512; ++i)
            hash.Add(block.data(), block.size());
        hash.Finish();
    });
    if (!whole || !published) {
        std::printf("download bench: the big file did not arrive\n");
        return 1;
    }

    const double curl = std::atof(curlSeconds);
    bench::PrintRatio("512 MiB download time, transfer with progress", seconds, "curl", curl);
    bench::PrintPlainRatio("512 MiB throughput, transfer against curl",
                           seconds > 0 ? curl / seconds : 0, "curl");
    // At most 1.10: hashing may cost a tenth of the download's time.
    bench::PrintRatio("512 MiB download time, hashing while writing", hashedSeconds,
                      "plain download", seconds);
    bench::PrintRatio("512 MiB SHA-256 alone, from memory", hashOnlySeconds, "plain download",
                      seconds);
    bench::PrintPlainRatio("peak working set, 512 MiB against 64 MiB download",
                           smallPeak ? static_cast<double>(bigPeak) / smallPeak : 0,
                           "64 MiB download");
    std::printf("  (peak working set %.1f MiB after 64 MiB, %.1f MiB after 512 MiB)\n",
                smallPeak / 1048576.0, bigPeak / 1048576.0);
    return 0;
}
