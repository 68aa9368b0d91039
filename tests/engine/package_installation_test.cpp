// Whole installation runs: real installer processes started from packages of the test
// installer, the real registry of the test prefix, and a hidden page window that receives the
// run's messages.

#include "catalogue/installed_product_list.h"
#include "engine/installer_process.h"
#include "engine/package_installation.h"
#include "platform/event.h"
#include "platform/executable_image.h"
#include "platform/text.h"
#include "shell/startup_settings.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"
#include "tools/test_installer/test_package.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using testpkg::Behaviour;

constexpr uint32_t kInstalledBuild = 1200;
constexpr uint32_t kOfferedBuild = 1302;
constexpr DWORD kRunTimeoutMs = 60000;

// A stand-in for the install page: a hidden window with the control that shows the product
// being installed. It records every text that control receives and what the run had done when
// WM_INSTALL_DONE arrived.
class TestPage {
public:
    TestPage() {
        RegisterClassOnce();
        window_ = ::CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        current_ =
            ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 200, 20, window_,
                              reinterpret_cast<HMENU>(kInstallCurrentControlId), nullptr, nullptr);
        ::SetWindowLongPtrW(current_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        staticProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            current_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CurrentControlProc)));
    }
    ~TestPage() { ::DestroyWindow(window_); }
    TestPage(const TestPage&) = delete;
    TestPage& operator=(const TestPage&) = delete;

    HWND Window() const { return window_; }

    // Pumps this thread's messages until WM_INSTALL_DONE has arrived, calling `poll` in between.
    bool WaitForDone(const std::function<void()>& poll = {}) {
        const DWORD start = ::GetTickCount();
        while (doneCount_ == 0 && ::GetTickCount() - start < kRunTimeoutMs) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            if (poll)
                poll();
        }
        return doneCount_ != 0;
    }

    // Called while WM_INSTALL_DONE is being handled.
    std::function<void()> onDone;
    int doneCount_ = 0;
    WPARAM doneWParam = 1;
    LPARAM doneLParam = 1;
    std::vector<std::wstring> currentTexts;

private:
    static constexpr const wchar_t* kClassName = L"ZapdateInstallationTestPage";

    static void RegisterClassOnce() {
        static const ATOM atom = [] {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = &PageProc;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kClassName;
            return ::RegisterClassW(&windowClass);
        }();
        (void)atom;
    }

    static TestPage* From(HWND window) {
        return reinterpret_cast<TestPage*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        TestPage* page = From(window);
        if (message == WM_INSTALL_DONE && page != nullptr) {
            ++page->doneCount_;
            page->doneWParam = wParam;
            page->doneLParam = lParam;
            if (page->onDone)
                page->onDone();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK CurrentControlProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
        TestPage* page = From(window);
        if (message == WM_SETTEXT && lParam != 0)
            page->currentTexts.emplace_back(reinterpret_cast<const wchar_t*>(lParam));
        return ::CallWindowProcW(page->staticProc_, window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    HWND current_ = nullptr;
    WNDPROC staticProc_ = nullptr;
};

// What a package's installer wrote into its report file.
struct InstallerReport {
    bool started = false;
    DWORD processId = 0;
    std::string arguments;
    bool finished = false;
    int exitCode = 0;
};

InstallerReport ReadReport(const std::wstring& path) {
    const std::vector<char> bytes = testpkg::ReadFileBytes(path);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    InstallerReport report;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("started ", 0) == 0) {
            report.started = true;
            std::istringstream words(line.substr(8));
            words >> report.processId;
            std::getline(words >> std::ws, report.arguments);
        } else if (line.rfind("finished ", 0) == 0) {
            report.finished = true;
            report.exitCode = std::stoi(line.substr(9));
        }
    }
    return report;
}

class PackageInstallationTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::RemoveAllProducts();
        TheStartupSettings() = StartupSettings{};
        // A folder per test, so no test sees the packages or reports of another.
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = uitest::MakeTempFolder(L"zapdate-installation-" + platform::WideFromAnsi(name));
        ASSERT_TRUE(cancel_.IsValid());
    }

    void TearDown() override {
        // A hanging installer must not outlive its test.
        for (const std::wstring& path : reports_)
            EndInstaller(ReadReport(path).processId);
        demo::RemoveAllProducts();
    }

    static void EndInstaller(DWORD processId) {
        if (processId == 0)
            return;
        const platform::UniqueHandle process(
            ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
        if (process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process.Get(), 99);
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }

    // A product installed at 5.2 build 1200 in its own folder below the test's root, and its
    // update item as the download leaves it: offered 5.4 build 1302, package downloaded.
    size_t AddProduct(uint32_t keyProductId, const std::wstring& folderName,
                      const std::wstring& displayName) {
        const std::wstring folder = root_ + L"\\" + folderName;
        EXPECT_TRUE(demo::MakeInstallFolder(folder, L"kovra.exe", {2025, 11, 2}));
        demo::ProductRecord record;
        record.keyProductId = keyProductId;
        record.installPath = platform::AnsiFromWide(folder);
        record.installedVersion = "5.2";
        record.installedBuild = std::to_string(kInstalledBuild);
        EXPECT_TRUE(demo::RegisterProduct(record));
        records_.push_back(record);

        InstalledProduct item;
        item.displayName = displayName;
        item.resellerId = record.installCode & 0xFF;
        item.installCode = record.installCode;
        item.productId = item.keyProductId = keyProductId;
        item.installFolder = folder;
        item.versionMajor = 5;
        item.versionMinor = 4;
        item.build = kOfferedBuild;
        item.packagePath = platform::FormatWide(L"%ls\\kvu_%u_%u_32_64.exe", folder.c_str(),
                                                item.resellerId, keyProductId);
        item.SetStatus(kStatusDownloaded);
        items_.push_back(item);
        // The temporary folder of an earlier run may carry the same name.
        reports_.push_back(folder + L"\\installer-report.txt");
        ::DeleteFileW(reports_.back().c_str());
        return items_.size() - 1;
    }

    // Writes the package of item `index` and appends it to the downloaded list.
    void AddPackage(size_t index, Behaviour behaviour, uint32_t delaySeconds = 0) {
        testpkg::TestPackage package;
        package.product = records_[index];
        package.product.installedVersion = "5.4";
        package.product.installedBuild = std::to_string(kOfferedBuild);
        package.programDate = {2026, 11, 30};
        package.behaviour = behaviour;
        package.delaySeconds = delaySeconds;
        package.reportPath = reports_[index];
        ASSERT_TRUE(testpkg::MakeTestPackage(uitest::ProgramFolder() + L"test_installer.exe",
                                             items_[index].packagePath, package));
        downloaded_.push_back(static_cast<uint32_t>(index));
    }

    // Runs the installation on its own thread as the page does and waits for its end.
    bool Run(const std::function<void()>& poll = {}) {
        InstallationRun run{page_.Window(), cancel_.Get(),
                            CInstallationRecords(items_, downloaded_, lock_)};
        thread_ = StartInstallPackages(run);
        if (!thread_)
            return false;
        page_.onDone = [this] {
            // Sent, not posted: the run is still inside the call while the page handles it.
            threadWaitingAtDone_ = ::WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT;
            statusesAtDone_.clear();
            for (const InstalledProduct& item : items_)
                statusesAtDone_.push_back(item.Status());
        };
        const bool done = page_.WaitForDone(poll);
        if (done)
            ::WaitForSingleObject(thread_.Get(), 10000);
        return done;
    }

    InstallerReport Report(size_t index) const { return ReadReport(reports_[index]); }

    std::wstring root_;
    std::vector<demo::ProductRecord> records_;
    std::vector<InstalledProduct> items_;
    std::vector<uint32_t> downloaded_;
    std::vector<std::wstring> reports_;
    platform::CriticalSection lock_;
    platform::Event cancel_{platform::Event::Reset::Manual, false};
    TestPage page_;
    platform::UniqueHandle thread_;
    bool threadWaitingAtDone_ = false;
    std::vector<uint32_t> statusesAtDone_;
};

TEST_F(PackageInstallationTest, AnUpdatedProductTakesTheInstalledVersion) {
    const size_t kovra = AddProduct(6, L"kovra", L"Kovra");
    AddPackage(kovra, Behaviour::Succeed);
    ASSERT_TRUE(Run());

    EXPECT_EQ(Report(kovra).arguments, "/S");
    EXPECT_EQ(Report(kovra).exitCode, 0);
    // WM_INSTALL_DONE is sent once, after the check, while the run waits for the page.
    EXPECT_EQ(page_.doneCount_, 1);
    EXPECT_EQ(page_.doneWParam, 0u);
    EXPECT_EQ(page_.doneLParam, 0);
    EXPECT_TRUE(threadWaitingAtDone_);
    EXPECT_EQ(statusesAtDone_, std::vector<uint32_t>{kStatusDownloaded});
    EXPECT_EQ(items_[kovra].Status(), kStatusDownloaded);
    EXPECT_EQ(items_[kovra].versionMajor, 5u);
    EXPECT_EQ(items_[kovra].versionMinor, 4u);
    EXPECT_EQ(items_[kovra].build, kOfferedBuild);
    EXPECT_TRUE(items_[kovra].statusText.empty());

    // The installer really replaced the product: a fresh read sees the new program file.
    InstalledProductList fresh(true);
    fresh.ScanInstalledProducts();
    ASSERT_EQ(fresh.Count(), 1u);
    EXPECT_EQ(fresh.At(0).buildDate.year, 2026);
    EXPECT_EQ(fresh.At(0).buildDate.month, 11);
}

TEST_F(PackageInstallationTest, TheRegistryNotTheExitCodeDecides) {
    const size_t failed = AddProduct(6, L"failed", L"Kovra Failed");
    const size_t updated = AddProduct(9, L"updated", L"Kovra Updated");
    AddPackage(failed, Behaviour::Fail);
    AddPackage(updated, Behaviour::FailAfterUpdate);
    ASSERT_TRUE(Run());

    EXPECT_EQ(Report(failed).exitCode, 1);
    EXPECT_EQ(items_[failed].Status(), kStatusNotUpdated);
    // Only an installer that cannot be started leaves a text; the registry's version stays.
    EXPECT_TRUE(items_[failed].statusText.empty());
    EXPECT_EQ(items_[failed].build, kInstalledBuild);
    EXPECT_EQ(Report(updated).exitCode, 3);
    EXPECT_EQ(items_[updated].Status(), kStatusDownloaded);
    EXPECT_EQ(items_[updated].build, kOfferedBuild);
}

TEST_F(PackageInstallationTest, AnInstallerThatCannotStartGetsTheSystemTextAndTheNextOneRuns) {
    const size_t missing = AddProduct(6, L"missing", L"Kovra Missing");
    const size_t other = AddProduct(9, L"other", L"Kovra Other");
    downloaded_.push_back(static_cast<uint32_t>(missing)); // no package file was written
    AddPackage(other, Behaviour::Succeed);
    ASSERT_TRUE(Run());

    EXPECT_EQ(items_[missing].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[missing].statusText, InstallerStartErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_LE(items_[missing].statusText.size(), 255u);
    EXPECT_NE(items_[missing].statusText.back(), L'\n');
    EXPECT_EQ(items_[other].Status(), kStatusDownloaded);
    // Only the installer that ran was shown.
    EXPECT_EQ(page_.currentTexts, std::vector<std::wstring>{L"Updating Kovra Other"});
}

TEST_F(PackageInstallationTest, TheCurrentProductIsShownForEachInstallerInTurn) {
    // A name outside the ANSI code page must reach the page unchanged; a package path with
    // blanks is quoted, else the installer would not get "/S" alone, or not start.
    const size_t first = AddProduct(6, L"with blanks\\and more", L"Kovra \x0416");
    const size_t second = AddProduct(9, L"second", L"Kovra Second");
    AddPackage(first, Behaviour::Succeed);
    AddPackage(second, Behaviour::Succeed);
    ASSERT_TRUE(Run());
    const std::vector<std::wstring> expected = {L"Updating Kovra \x0416", L"Updating Kovra Second"};
    EXPECT_EQ(page_.currentTexts, expected);
    EXPECT_EQ(Report(first).arguments, "/S");
    EXPECT_EQ(items_[first].Status(), kStatusDownloaded);
}

TEST_F(PackageInstallationTest, TheInstallersRunOneAfterTheOther) {
    const size_t slow = AddProduct(6, L"slow", L"Kovra Slow");
    const size_t next = AddProduct(9, L"next", L"Kovra Next");
    AddPackage(slow, Behaviour::Succeed, 2);
    AddPackage(next, Behaviour::Succeed);
    bool nextStartedEarly = false;
    ASSERT_TRUE(Run([&] {
        if (Report(next).started && !Report(slow).finished)
            nextStartedEarly = true;
    }));
    EXPECT_FALSE(nextStartedEarly);
    EXPECT_TRUE(Report(slow).finished);
    EXPECT_EQ(items_[slow].Status(), kStatusDownloaded);
    EXPECT_EQ(items_[next].Status(), kStatusDownloaded);
}

TEST_F(PackageInstallationTest, ACancelEndsTheWaitAndNoFurtherInstallerStarts) {
    const size_t first = AddProduct(6, L"first", L"Kovra First");
    const size_t hanging = AddProduct(9, L"hanging", L"Kovra Hanging");
    const size_t third = AddProduct(10, L"third", L"Kovra Third");
    AddPackage(first, Behaviour::Succeed);
    AddPackage(hanging, Behaviour::Hang);
    AddPackage(third, Behaviour::Succeed);
    ASSERT_TRUE(Run([&] {
        if (Report(hanging).started)
            cancel_.Set();
    }));

    EXPECT_FALSE(Report(third).started);
    EXPECT_EQ(items_[first].Status(), kStatusDownloaded);
    EXPECT_EQ(items_[hanging].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[third].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[hanging].statusText, L"Canceled by user");
    EXPECT_EQ(items_[third].statusText, L"Canceled by user");
    EXPECT_TRUE(items_[first].statusText.empty());

    // The cancelled installer is left to itself, not stopped by the run.
    const platform::UniqueHandle process(
        ::OpenProcess(SYNCHRONIZE, FALSE, Report(hanging).processId));
    ASSERT_TRUE(process);
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(PackageInstallationTest, ACancelledProductAlreadyAtTheOfferCountsAsUpdated) {
    const size_t first = AddProduct(6, L"first", L"Kovra First");
    const size_t current = AddProduct(9, L"current", L"Kovra Current");
    records_[current].installedBuild = std::to_string(kOfferedBuild);
    ASSERT_TRUE(demo::RegisterProduct(records_[current]));
    AddPackage(first, Behaviour::Succeed);
    AddPackage(current, Behaviour::Succeed);
    cancel_.Set();
    ASSERT_TRUE(Run());

    EXPECT_FALSE(Report(first).started);
    EXPECT_FALSE(Report(current).started);
    EXPECT_EQ(items_[first].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[current].Status(), kStatusDownloaded);
    EXPECT_EQ(page_.doneCount_, 1);
}

TEST_F(PackageInstallationTest, NothingDownloadedStillEndsWithTheDoneMessage) {
    const size_t kovra = AddProduct(6, L"kovra", L"Kovra");
    ASSERT_TRUE(Run());
    EXPECT_EQ(page_.doneCount_, 1);
    EXPECT_TRUE(page_.currentTexts.empty());
    EXPECT_EQ(items_[kovra].Status(), kStatusDownloaded); // not in the downloaded list
    EXPECT_FALSE(Report(kovra).started);
}

TEST_F(PackageInstallationTest, ARunWithoutPageWindowStillInstalls) {
    const size_t kovra = AddProduct(6, L"kovra", L"Kovra");
    AddPackage(kovra, Behaviour::Succeed);
    InstallPackages({nullptr, cancel_.Get(), CInstallationRecords(items_, downloaded_, lock_)});
    EXPECT_EQ(items_[kovra].Status(), kStatusDownloaded);
    EXPECT_EQ(page_.doneCount_, 0);
}

TEST_F(PackageInstallationTest, WithoutUserInterfaceEveryInstallerRunsToItsEndUnchecked) {
    const size_t slow = AddProduct(6, L"slow", L"Kovra Slow");
    const size_t failing = AddProduct(9, L"failing", L"Kovra Failing");
    const size_t missing = AddProduct(10, L"missing", L"Kovra Missing");
    AddPackage(slow, Behaviour::Succeed, 1);
    AddPackage(failing, Behaviour::Fail);
    downloaded_.push_back(static_cast<uint32_t>(missing));
    cancel_.Set(); // not looked at
    RunInstallersToTheEnd(CInstallationRecords(items_, downloaded_, lock_));

    EXPECT_TRUE(Report(slow).finished);
    EXPECT_TRUE(Report(failing).finished);
    // The items are left as the download left them.
    for (const InstalledProduct& item : items_) {
        EXPECT_EQ(item.Status(), kStatusDownloaded);
        EXPECT_TRUE(item.statusText.empty());
    }
}

// The test installer itself, started directly: the runs above rely on what it does.
TEST_F(PackageInstallationTest, TestInstallerReplacesTheWizardWhenThePackageBringsOne) {
    const size_t kovra = AddProduct(6, L"kovra", L"Kovra");
    testpkg::TestPackage package;
    package.product = records_[kovra];
    package.product.installedBuild = "1302";
    package.wizardDate = demo::ProductDate{2026, 12, 1};
    ASSERT_TRUE(testpkg::MakeTestPackage(uitest::ProgramFolder() + L"test_installer.exe",
                                         items_[kovra].packagePath, package));
    uitest::Process process = uitest::Launch(L"\"" + items_[kovra].packagePath + L"\" /S");
    ASSERT_TRUE(process);
    ASSERT_EQ(uitest::WaitForExit(process, 30000), 0);

    SYSTEMTIME linked = {};
    ASSERT_TRUE(platform::ReadLinkTime(items_[kovra].installFolder + L"\\Zapdate.exe", linked));
    EXPECT_EQ(linked.wYear, 2026);
    EXPECT_EQ(linked.wMonth, 12);
    EXPECT_EQ(linked.wDay, 1);
}

} // namespace
