// A whole update as the user goes through it: the wizard fetches the version file from a
// loopback update host, downloads the offered package, runs its installer and reports.

// Winsock before windows.h.
#include "tests/support/scripted_http_server.h"

#include "catalogue/installed_product_list.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"
#include "tools/test_installer/test_package.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include <optional>

namespace {

constexpr DWORD kTimeoutMs = 90000;
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

class WholeUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
        ASSERT_TRUE(server_.IsRunning());
        folder_ = uitest::MakeTempFolder(L"zapdate-whole-update-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder_, L"kovra.exe", {2026, 3, 14}));
        product_.installPath = platform::AnsiFromWide(folder_);
        ASSERT_TRUE(demo::RegisterProduct(product_));
    }
    void TearDown() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        uitest::EndProcessesNamed(L"test_installer.exe");
        demo::RemoveAllProducts();
    }

    // The version file offering build 1250 of Kovra and the package that installs it.
    void OfferUpdate(testpkg::Behaviour behaviour,
                     std::optional<demo::ProductDate> wizardDate = std::nullopt) {
        const std::string versionFile =
            "[global]\r\nversion=1\r\nurl=" + server_.Url("/service") +
            "\r\n[Kovra:1:6]\r\nname=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20261130\r\n"
            "method=GET\r\nurl=" +
            server_.Url("/dl/kovra_update.exe") + "\r\nres_id=1\r\nlang_id=en\r\n";
        server_.Enqueue(testsupport::ScriptedReply::Binary(versionFile));
        testpkg::TestPackage package;
        package.product = product_;
        package.product.installedVersion = "5.3";
        package.product.installedBuild = "1250";
        package.behaviour = behaviour;
        package.wizardDate = wizardDate;
        package.reportPath = ReportPath();
        const std::wstring packagePath = folder_ + L"\\package.exe";
        ASSERT_TRUE(testpkg::MakeTestPackage(uitest::ProgramFolder() + L"test_installer.exe",
                                             packagePath, package));
        const std::vector<char> bytes = testpkg::ReadFileBytes(packagePath);
        server_.Enqueue(
            testsupport::ScriptedReply::Binary(std::string(bytes.begin(), bytes.end())));
    }

    std::wstring ReportPath() const { return folder_ + L"\\installer-report.txt"; }

    std::wstring HostVariable() const {
        return platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                    static_cast<unsigned>(server_.Port()));
    }

    void StartWizard() {
        const std::wstring host = platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                                       static_cast<unsigned>(server_.Port()));
        program_ = uitest::Launch(L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\"", {host});
        ASSERT_TRUE(program_);
        wizard_ = uitest::WaitForWizard(kTimeoutMs);
        ASSERT_NE(wizard_, nullptr);
        ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_INTRO_NOTE, kTimeoutMs));
    }

    // Introduction, product list with every product chosen, then the download.
    void ChooseEverything() {
        uitest::PressWizardButton(wizard_, PSBTN_NEXT);
        ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_PRODUCT_LIST, kTimeoutMs));
        ASSERT_TRUE(uitest::WaitUntil([&] { return uitest::ButtonEnabled(wizard_, kNextButton); },
                                      kTimeoutMs));
        uitest::PressWizardButton(wizard_, PSBTN_NEXT);
    }

    // The end page's rows once it shows.
    std::vector<uitest::ListRow> EndPageRows() {
        if (!uitest::WaitForPageWithControl(wizard_, IDC_OUTCOME_TEXT, kTimeoutMs))
            return {};
        const HWND list = ::GetDlgItem(uitest::CurrentPage(wizard_), IDC_PRODUCT_LIST);
        std::vector<uitest::ListRow> rows;
        uitest::WaitUntil(
            [&] {
                rows = uitest::ReadListView(list, 5);
                return !rows.empty();
            },
            kTimeoutMs);
        return rows;
    }

    static uint32_t InstalledBuild() {
        InstalledProductList list(false);
        list.ScanInstalledProducts();
        return list.Count() == 1 ? list.At(0).build : 0;
    }

    testsupport::ScriptedHttpServer server_;
    std::wstring folder_;
    demo::ProductRecord product_;
    uitest::Process program_;
    HWND wizard_ = nullptr;
};

} // namespace

TEST_F(WholeUpdate, OfferedBuildIsDownloadedInstalledAndReported) {
    OfferUpdate(testpkg::Behaviour::Succeed);
    StartWizard();
    ChooseEverything();
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_PROGRESS_BAR, kTimeoutMs));
    const std::vector<uitest::ListRow> rows = EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[0], L"Kovra");
    EXPECT_EQ(rows[0].columns[1], L"5.3");
    EXPECT_EQ(rows[0].columns[2], L"1250");
    EXPECT_EQ(rows[0].columns[4], L"Successful");
    EXPECT_EQ(rows[0].image, 0) << "the success icon";
    EXPECT_TRUE(uitest::ButtonEnabled(wizard_, kFinishButton));
    EXPECT_FALSE(uitest::ButtonVisible(wizard_, IDCANCEL));
    EXPECT_FALSE(uitest::ButtonEnabled(wizard_, kBackButton));
    uitest::SaveScreenshot("en/end.png");
    EXPECT_EQ(InstalledBuild(), 1250u);
    ASSERT_EQ(server_.RequestCount(), 2u);
    EXPECT_EQ(server_.Requests()[1].target.rfind("/dl/kovra_update.exe", 0), 0u);

    uitest::PressWizardButton(wizard_, PSBTN_FINISH);
    EXPECT_TRUE(uitest::WaitUntil([&] { return !::IsWindow(wizard_); }, kTimeoutMs));
}

TEST_F(WholeUpdate, FailingInstallerIsReportedAsFailed) {
    OfferUpdate(testpkg::Behaviour::Fail);
    StartWizard();
    ChooseEverything();
    const std::vector<uitest::ListRow> rows = EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[4].rfind(L"Failed. ", 0), 0u)
        << platform::AnsiFromWide(rows[0].columns[4]);
    EXPECT_EQ(rows[0].image, 1) << "the failure icon";
    EXPECT_EQ(InstalledBuild(), 1200u);
}

TEST_F(WholeUpdate, UnreachableServiceLeadsToTheErrorPage) {
    server_.SetFallback(testsupport::ScriptedReply::Status(404, "Not Found"));
    StartWizard();
    ChooseEverything();
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_ERROR_TEXT, kTimeoutMs));
    EXPECT_EQ(uitest::ControlText(uitest::CurrentPage(wizard_), IDC_ERROR_TEXT),
              L"Can't connect with Velk Update Service");
}

TEST_F(WholeUpdate, HiddenRunUpdatesWithoutAWindow) {
    OfferUpdate(testpkg::Behaviour::Succeed);
    uitest::Process program =
        uitest::Launch(L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\" -hiden", {HostVariable()});
    ASSERT_TRUE(program);
    // The copy in the temporary folder does the update; the first process ends at once.
    EXPECT_TRUE(uitest::WaitUntil([&] { return InstalledBuild() == 1250u; }, kTimeoutMs));
    EXPECT_TRUE(uitest::TopWindows(L"#32770").empty()) << "no wizard in a hidden run";
    EXPECT_EQ(server_.RequestCount(), 2u);
}

TEST_F(WholeUpdate, NewerWizardOfTheProductIsStartedToCleanUp) {
    OfferUpdate(testpkg::Behaviour::Succeed, demo::ProductDate{2026, 12, 1});
    StartWizard();
    ChooseEverything();
    ASSERT_EQ(EndPageRows().size(), 1u);
    uitest::PressWizardButton(wizard_, PSBTN_FINISH);
    // The installer left a "Zapdate.exe" (a copy of the test installer) in the product's folder;
    // it records how it was started.
    std::string report;
    EXPECT_TRUE(uitest::WaitUntil(
        [&] {
            const std::vector<char> bytes = testpkg::ReadFileBytes(ReportPath());
            report.assign(bytes.begin(), bytes.end());
            return report.find("-velk_update_wizard_delete_temp_folder") != std::string::npos;
        },
        kTimeoutMs))
        << report;
}
