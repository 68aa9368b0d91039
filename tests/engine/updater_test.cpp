// The worker against the scripted server on loopback: the check, the selection that follows it,
// the download of packages, cancels, and a stop while a transfer hangs.

#include <winsock2.h>

#include "engine/updater.h"
#include "platform/event.h"
#include "platform/resource_strings.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "service/network_error_text.h"
#include "service/version_file_fetch.h"
#include "shell/update_temp_folder.h"
#include "tests/service/test_files.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

using servicetest::PatternBytes;
using servicetest::ReadWholeFile;
using testsupport::ScriptedHttpServer;
using testsupport::ScriptedReply;

namespace {

struct ProgressCall {
    uint32_t total, received, code;
    std::wstring text;
};

// What the transfer's progress display was told, and on which phase's progress code.
struct ProgressLog {
    std::vector<ProgressCall> Calls() const {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }
    mutable std::mutex mutex;
    std::vector<ProgressCall> calls;
};

const std::wstring& Text(UINT id) {
    return platform::ResourceString(id);
}

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.IsRunning());
        folder_ = uitest::MakeTempFolder(L"zapdate-updater-test");
        SetUpdateTempFolder(folder_);
        const std::string host = "127.0.0.1:" + std::to_string(server_.Port());
        ::SetEnvironmentVariableA("ZAPDATE_UPDATE_HOST", host.c_str());
        updater_ = CUpdater::Create();
        updater_->SetProgressCallback(
            [this](uint32_t total, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
                std::wstring text;
                const uint32_t code = updater_ ? updater_->GetProgress(text) : 0;
                {
                    std::lock_guard<std::mutex> lock(log_.mutex);
                    log_.calls.push_back({total, received, code, text});
                }
                if (onProgress_)
                    onProgress_(received);
            });
    }

    void TearDown() override {
        if (updater_)
            updater_->Stop(INFINITE);
        updater_.reset();
        ::SetEnvironmentVariableA("ZAPDATE_UPDATE_HOST", nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    }

    bool WaitForPhaseEnd(DWORD ms = 20000) const {
        if (!updater_->IdleEvent().Wait(ms))
            return false;
        return !updater_->IsBusy();
    }

    // A build section offering `name` for product `productId` (resource id 1, English).
    std::string Offer(const std::string& name, uint32_t productId, uint32_t build,
                      const std::string& url, const std::string& params = {}) const {
        return "[" + name + ":1:" + std::to_string(productId) + "]\r\nname=" + name +
               "\r\nversion=5.3\r\nbuild=" + std::to_string(build) +
               "\r\ndate=20260401\r\nmethod=GET\r\nurl=" + url + "\r\nres_id=1\r\nlang_id=en\r\n" +
               params;
    }

    std::string Global() const { return "[global]\r\nversion=2\r\nurl=http://service.test/\r\n"; }

    // Chooses a product with `productId` at build 1200 whose package goes into the temp folder.
    void Choose(uint32_t productId) {
        InstalledProduct product;
        product.displayName = L"Product " + std::to_wstring(productId);
        product.installCode = 1;
        product.keyProductId = productId;
        product.productId = productId;
        product.resellerId = 7;
        product.language = "en";
        product.versionMajor = 5;
        product.versionMinor = 1;
        product.build = 1200;
        product.packagePath = PackagePath(productId);
        products_.Append(product);
        products_.SetSelected(products_.Count() - 1, true);
    }

    std::wstring PackagePath(uint32_t productId) const {
        return folder_ + L"\\kvu_7_" + std::to_wstring(productId) + L"_32_64.exe";
    }

    // Serves `versionFile`, runs the check and the selection.
    void CheckAndSelect(const std::string& versionFile, uint32_t expectedUpdates) {
        server_.Enqueue(ScriptedReply::Binary(versionFile));
        ASSERT_TRUE(updater_->StartCheck());
        ASSERT_TRUE(WaitForPhaseEnd());
        std::wstring text;
        ASSERT_EQ(updater_->GetError(text), kErrorNone);
        ASSERT_EQ(updater_->SelectUpdates(products_), expectedUpdates);
    }

    void Download() {
        ASSERT_TRUE(updater_->StartDownload());
        ASSERT_TRUE(WaitForPhaseEnd());
    }

    std::vector<ProgressCall> CallsOn(uint32_t code) const {
        std::vector<ProgressCall> calls;
        for (const ProgressCall& call : log_.Calls()) {
            if (call.code == code)
                calls.push_back(call);
        }
        return calls;
    }

    ScriptedHttpServer server_;
    std::wstring folder_;
    InstalledProductList products_{false};
    std::shared_ptr<CUpdater> updater_;
    ProgressLog log_;
    std::function<void(uint32_t received)> onProgress_;
};

TEST_F(UpdaterTest, CheckFetchesTheVersionFileOnce) {
    const std::string file = Global() + Offer("A", 6, 1250, server_.Url("/dl/a.exe"));
    ScriptedReply reply = ScriptedReply::Binary(file);
    reply.delayMs = 700;
    server_.Enqueue(reply);
    ASSERT_TRUE(updater_->StartCheck());
    EXPECT_TRUE(updater_->IsPhaseRunning());

    // While the fetch waits for its reply the worker says what it does.
    std::wstring text;
    uint32_t code = 0;
    for (int i = 0; i < 100 && code != service::kProgressGatheringInformation; ++i) {
        code = updater_->GetProgress(text);
        ::Sleep(10);
    }
    EXPECT_EQ(code, service::kProgressGatheringInformation);
    EXPECT_EQ(text, Text(IDS_GATHERING_INFORMATION));

    ASSERT_TRUE(WaitForPhaseEnd());
    EXPECT_FALSE(updater_->IsPhaseRunning());
    EXPECT_EQ(updater_->GetProgress(text), kProgressPhaseEnded);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(updater_->GetError(text), kErrorNone);
    EXPECT_EQ(text, Text(IDS_CANT_CONNECT)) << "a cleared error still carries the default text";
    EXPECT_TRUE(updater_->VersionFileFetched());
    EXPECT_EQ(updater_->VersionFilePath(), folder_ + L"\\kv__path.tmp");
    EXPECT_EQ(ReadWholeFile(updater_->VersionFilePath()), file);
    ASSERT_EQ(server_.RequestCount(), 1u);
    EXPECT_EQ(server_.Requests()[0].target, "/downloads/update.ini?");

    ASSERT_TRUE(updater_->StartCheck());
    ASSERT_TRUE(WaitForPhaseEnd());
    EXPECT_EQ(updater_->GetProgress(text), kProgressPhaseEnded);
    EXPECT_EQ(server_.RequestCount(), 1u) << "a second check does not fetch again";
}

TEST_F(UpdaterTest, FailedCheckSaysItCannotConnectAndTriesAgainLater) {
    server_.Enqueue(ScriptedReply::Status(404, "Not Found", "gone"));
    ASSERT_TRUE(updater_->StartCheck());
    ASSERT_TRUE(WaitForPhaseEnd());
    std::wstring text;
    EXPECT_EQ(updater_->GetError(text), kErrorFailed);
    EXPECT_EQ(text, Text(IDS_CANT_CONNECT)) << "not the transport's own 404 text";
    EXPECT_FALSE(updater_->VersionFileFetched());

    server_.Enqueue(ScriptedReply::Binary(Global()));
    ASSERT_TRUE(updater_->StartCheck());
    ASSERT_TRUE(WaitForPhaseEnd());
    EXPECT_EQ(updater_->GetError(text), kErrorNone) << "a new phase clears the error";
    EXPECT_TRUE(updater_->VersionFileFetched());
    EXPECT_EQ(server_.RequestCount(), 2u);
}

TEST_F(UpdaterTest, SelectionPairsWithTheFetchedFileAndKeepsTheServiceAddress) {
    Choose(6);
    Choose(8);
    CheckAndSelect(Global() + Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    EXPECT_EQ(updater_->UpdateCount(), 1u);
    EXPECT_EQ(updater_->ServiceUrl(), L"http://service.test/");
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Status(), kStatusUpdateAvailable);
    EXPECT_EQ(items[1].Status(), kStatusNoOfferedBuild);
}

TEST_F(UpdaterTest, UnreadableVersionFileIsReportedBySelection) {
    Choose(6);
    CheckAndSelect("this is no version file", 0);
    std::wstring text;
    EXPECT_EQ(updater_->GetError(text), kErrorFailed);
    EXPECT_EQ(text, Text(IDS_CANT_CONNECT));
    ASSERT_TRUE(updater_->StartDownload());
    ASSERT_TRUE(WaitForPhaseEnd());
    EXPECT_EQ(updater_->GetError(text), kErrorNone) << "the download phase resets the error";
}

TEST_F(UpdaterTest, PackagesAreDownloadedWithProgressThatAddsUp) {
    Choose(6);
    Choose(7);
    CheckAndSelect(Global() +
                       Offer("A", 6, 1250, server_.Url("/dl/a.exe"), "param_rs=$RESELLER$\r\n") +
                       Offer("B", 7, 1300, server_.Url("/dl/b.exe")),
                   2);
    const std::string first = PatternBytes(20000);
    const std::string second = PatternBytes(30001);
    server_.Enqueue(ScriptedReply::Binary(first));
    server_.Enqueue(ScriptedReply::Binary(second));
    Download();

    EXPECT_EQ(updater_->DownloadedList(), (std::vector<uint32_t>{0, 1}));
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    EXPECT_EQ(items[0].Status(), kStatusDownloaded);
    EXPECT_EQ(items[1].Status(), kStatusDownloaded);
    EXPECT_TRUE(items[0].IsSelected()) << "the flag bits stay";
    EXPECT_TRUE(items[0].statusText.empty());
    EXPECT_EQ(ReadWholeFile(PackagePath(6)), first);
    EXPECT_EQ(ReadWholeFile(PackagePath(7)), second);
    ASSERT_EQ(server_.RequestCount(), 3u);
    EXPECT_EQ(server_.Requests()[1].target, "/dl/a.exe?rs=7");
    EXPECT_EQ(server_.Requests()[2].target, "/dl/b.exe?");

    const std::pair<uint32_t, size_t> expected[] = {{kProgressDownloadingFirst, first.size()},
                                                    {kProgressDownloadingFirst + 1, second.size()}};
    for (const auto& [code, size] : expected) {
        const std::vector<ProgressCall> calls = CallsOn(code);
        ASSERT_GE(calls.size(), 2u) << code;
        EXPECT_EQ(calls.front().received, 0u) << "each transfer starts by clearing the display";
        for (size_t i = 1; i < calls.size(); ++i)
            EXPECT_GE(calls[i].received, calls[i - 1].received) << code;
        EXPECT_EQ(calls.back().received, size) << code;
        EXPECT_EQ(calls.back().total, size) << code;
    }
    EXPECT_EQ(CallsOn(kProgressDownloadingFirst + 1).back().text,
              L"Downloading B 5.3 (1300 build)");
    std::wstring text;
    EXPECT_EQ(updater_->GetProgress(text), kProgressPhaseEnded);
}

TEST_F(UpdaterTest, FailedPackagesGetTheirStatusTextsAndTheNextOneIsStillDownloaded) {
    Choose(6);
    Choose(7);
    Choose(8);
    Choose(9);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")) +
                       Offer("B", 7, 1250, "http://127.0.0.1") + Offer("C", 8, 1200, "x") +
                       Offer("D", 9, 1300, server_.Url("/dl/d.exe")),
                   3);
    server_.Enqueue(ScriptedReply::Status(404, "Not Found", "<html>no</html>"));
    server_.Enqueue(ScriptedReply::Binary("package"));
    Download();

    EXPECT_EQ(updater_->DownloadedList(), (std::vector<uint32_t>{3}));
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    ASSERT_TRUE(service::HttpStatusText(404).has_value());
    EXPECT_EQ(items[0].statusText, *service::HttpStatusText(404));
    EXPECT_EQ(items[0].Status(), kStatusUpdateAvailable) << "a failed item keeps its status";
    EXPECT_EQ(items[1].statusText, Text(IDS_CANT_CONNECT)) << "not the previous package's failure";
    EXPECT_EQ(items[2].Status(), kStatusUpToDate) << "no update, no request";
    EXPECT_TRUE(items[2].statusText.empty());
    EXPECT_EQ(items[3].Status(), kStatusDownloaded);
    EXPECT_EQ(server_.RequestCount(), 3u);
    std::wstring text;
    EXPECT_EQ(updater_->GetError(text), kErrorNone) << "package failures are no phase error";
}

TEST_F(UpdaterTest, OfferThatCanNoLongerBeReadIsPassedOver) {
    Choose(6);
    Choose(7);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    // The record is read afresh before the download; now it lacks its url.
    std::ofstream(std::filesystem::path(updater_->VersionFilePath()), std::ios::binary)
        << "[A:1:6]\r\nname=A\r\n";
    Download();
    EXPECT_TRUE(updater_->DownloadedList().empty());
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    EXPECT_EQ(items[0].Status(), kStatusUpdateAvailable);
    EXPECT_EQ(items[1].Status(), kStatusNoOfferedBuild);
    EXPECT_TRUE(items[0].statusText.empty() && items[1].statusText.empty());
    EXPECT_EQ(server_.RequestCount(), 1u) << "only the version file was requested";
}

TEST_F(UpdaterTest, CancelDuringTheSecondOfThreeDownloadsWhileTheLineHoldsARead) {
    Choose(6);
    Choose(7);
    Choose(8);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")) +
                       Offer("B", 7, 1250, server_.Url("/dl/b.exe")) +
                       Offer("C", 8, 1250, server_.Url("/dl/c.exe")),
                   3);
    server_.Enqueue(ScriptedReply::Binary(PatternBytes(5000)));
    // A fast start that ends inside a big read, then silence until the server is told.
    constexpr size_t kRead = 2u << 20;
    ScriptedReply holding = ScriptedReply::Binary(PatternBytes(kRead + (2u << 20)));
    holding.pauseAfterBytes = kRead + 8192;
    holding.pauseMs = INFINITE;
    server_.Enqueue(holding);
    server_.Enqueue(ScriptedReply::Binary(PatternBytes(10)));
    // Two reports of the same count: the worker waits for a read that waits for the line.
    platform::Event waiting(platform::Event::Reset::Manual, false);
    uint32_t last = 0;
    onProgress_ = [&](uint32_t received) {
        if (received >= kRead && received == std::exchange(last, received))
            waiting.Set();
    };
    ASSERT_TRUE(updater_->StartDownload());
    EXPECT_TRUE(waiting.Wait(60000)) << "no progress while a read waits";
    // As the download page cancels: the phase ends within its waits, so the rest is marked.
    EXPECT_TRUE(updater_->CancelAndStop());
    EXPECT_EQ(server_.BodyBytesSent(0, 0).size(), 2u) << "the server was still holding";
    server_.DropPausedReplies();

    EXPECT_EQ(updater_->DownloadedList(), (std::vector<uint32_t>{0}));
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    EXPECT_EQ(items[0].Status(), kStatusDownloaded);
    EXPECT_TRUE(items[0].statusText.empty());
    EXPECT_EQ(items[1].Status(), kStatusUpdateAvailable);
    EXPECT_EQ(items[1].statusText, Text(IDS_CANCELED_BY_USER));
    EXPECT_EQ(items[2].Status(), kStatusUpdateAvailable);
    EXPECT_EQ(items[2].statusText, Text(IDS_CANCELED_BY_USER));
    EXPECT_EQ(server_.RequestCount(), 3u) << "the third package was never requested";
}

TEST_F(UpdaterTest, CancelServesAProgressDisplayThatWritesIntoThisThreadsWindow) {
    Choose(6);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    server_.Enqueue(ScriptedReply::Binary(PatternBytes(100000)));
    // A window of this thread, written to by the worker's display as the download page's is.
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    platform::Event writing(platform::Event::Reset::Manual, false);
    onProgress_ = [&](uint32_t received) {
        if (received > 0 && !writing.IsSet()) {
            writing.Set();
            ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1 KB"));
        }
    };
    ASSERT_TRUE(updater_->StartDownload());
    ASSERT_TRUE(writing.Wait(60000));
    // The worker waits for this thread inside the display; the cancel's wait serves it.
    EXPECT_TRUE(updater_->CancelAndStop());
    EXPECT_EQ(updater_->UpdateItems()[0].statusText, Text(IDS_CANCELED_BY_USER));
    ::DestroyWindow(window);
}

TEST_F(UpdaterTest, StopWhileATransferHangsLetsTheThreadEndByItself) {
    Choose(6);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    ScriptedReply hanging = ScriptedReply::Binary(PatternBytes(50000));
    hanging.delayMs = 3000;
    server_.Enqueue(hanging);

    // The worker thread, seen from its first progress call.
    platform::UniqueHandle workerThread;
    platform::Event seen(platform::Event::Reset::Manual, false);
    onProgress_ = [&](uint32_t) {
        if (!seen.IsSet()) {
            workerThread.Reset(::OpenThread(SYNCHRONIZE, FALSE, ::GetCurrentThreadId()));
            seen.Set();
        }
    };
    ASSERT_TRUE(updater_->StartDownload());
    ASSERT_TRUE(seen.Wait(10000));
    ASSERT_TRUE(workerThread);
    for (int i = 0; i < 200 && server_.RequestCount() < 2; ++i)
        ::Sleep(10);

    const DWORD before = ::GetTickCount();
    EXPECT_FALSE(updater_->CancelAndStop(300, 300)) << "the thread outlived the waits";
    const DWORD took = ::GetTickCount() - before;
    EXPECT_GE(took, 550u);
    EXPECT_LT(took, 2500u);
    EXPECT_FALSE(updater_->IsBusy());
    EXPECT_TRUE(updater_->IdleEvent().IsSet());
    EXPECT_EQ(::WaitForSingleObject(workerThread.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(updater_->StartDownload()) << "nothing starts after a stop";

    std::wstring progressBefore;
    const uint32_t codeBefore = updater_->GetProgress(progressBefore);
    const size_t callsBefore = log_.Calls().size();
    const std::weak_ptr<CUpdater> watch = updater_;
    updater_.reset();
    EXPECT_FALSE(watch.expired()) << "the running thread keeps the worker alive";

    ASSERT_EQ(::WaitForSingleObject(workerThread.Get(), 20000), WAIT_OBJECT_0)
        << "the thread ended by itself";
    EXPECT_TRUE(watch.expired()) << "and released the worker as it ended";
    EXPECT_EQ(log_.Calls().size(), callsBefore) << "no progress display after the stop";
    EXPECT_EQ(codeBefore, kProgressDownloadingFirst);
}

TEST_F(UpdaterTest, LetGoThreadLeavesListsAndPairsAlone) {
    Choose(6);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    ScriptedReply hanging = ScriptedReply::Binary(PatternBytes(1000));
    hanging.delayMs = 1500;
    server_.Enqueue(hanging);
    ASSERT_TRUE(updater_->StartDownload());
    for (int i = 0; i < 200 && server_.RequestCount() < 2; ++i)
        ::Sleep(10);
    EXPECT_FALSE(updater_->CancelAndStop(100, 100));

    std::wstring progress;
    const uint32_t code = updater_->GetProgress(progress);
    // Well after the reply came and the transfer ended as cancelled.
    ::Sleep(3000);
    const std::vector<InstalledProduct> items = updater_->UpdateItems();
    EXPECT_TRUE(items[0].statusText.empty()) << "the let-go thread wrote no outcome";
    EXPECT_EQ(items[0].Status(), kStatusUpdateAvailable);
    EXPECT_TRUE(updater_->DownloadedList().empty());
    std::wstring after;
    EXPECT_EQ(updater_->GetProgress(after), code);
    EXPECT_EQ(after, progress);
    EXPECT_FALSE(updater_->IsBusy());
}

TEST_F(UpdaterTest, SecondStartWhileAPhaseRunsLeavesThatPhaseAlone) {
    ScriptedReply slow = ScriptedReply::Binary(Global());
    slow.delayMs = 600;
    server_.Enqueue(slow);
    ASSERT_TRUE(updater_->StartCheck());
    EXPECT_FALSE(updater_->StartCheck());
    EXPECT_FALSE(updater_->StartDownload());
    EXPECT_TRUE(updater_->IsBusy()) << "the running phase is still shown as running";
    EXPECT_FALSE(updater_->IdleEvent().IsSet());
    ASSERT_TRUE(WaitForPhaseEnd());
    EXPECT_TRUE(updater_->VersionFileFetched());
    EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(UpdaterTest, NewChoiceEmptiesTheDownloadedList) {
    Choose(6);
    Choose(7);
    CheckAndSelect(Offer("A", 6, 1250, server_.Url("/dl/a.exe")), 1);
    server_.Enqueue(ScriptedReply::Binary("package"));
    Download();
    ASSERT_EQ(updater_->DownloadedList(), (std::vector<uint32_t>{0}));

    EXPECT_EQ(updater_->SelectUpdates(products_), 0u) << "the same choice keeps its outcome";
    EXPECT_EQ(updater_->DownloadedList(), (std::vector<uint32_t>{0}));

    products_.SetSelected(1, false);
    EXPECT_EQ(updater_->SelectUpdates(products_), 1u);
    EXPECT_TRUE(updater_->DownloadedList().empty());
    ASSERT_EQ(updater_->UpdateItems().size(), 1u);
}

} // namespace
