// Whole runs of the program as processes: the run without user interface, and the relaunch in
// three processes (the started wizard, its temporary copy, the installed wizard that cleans up).

#include "platform/executable_image.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "shell/update_temp_folder.h"
#include "tests/support/update_test.h"
#include "tests/support/wizard_session.h"

#include <gtest/gtest.h>

using testpkg::Behaviour;
using uitest::kWizardTimeoutMs;

using namespace testsupport;

namespace {

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class UpdateRun : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        SetUpdateTempFolderFromSystem();
    }

    // Starts the build's program and waits until it and every copy it started have ended.
    bool RunToTheEnd(const std::wstring& arguments, const std::wstring& host) {
        const uitest::Process program =
            uitest::Launch(L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\" " + arguments, {host});
        return program && uitest::WaitForProcessesNamedToEnd(L"Zapdate.exe", kWizardTimeoutMs);
    }

    std::wstring Ids(const TestProduct& product) const {
        for (const InstalledProduct& scanned : ScannedProducts())
            if (scanned.keyProductId == product.record.keyProductId)
                return platform::FormatWide(L"%u %u", scanned.resellerId, scanned.productId);
        ADD_FAILURE() << "not installed";
        return {};
    }

    // Kovra installed with a wizard beside it, and a package that updates Kovra and replaces
    // that wizard with one linked on `wizardDate`.
    void OfferKovraWithNewWizard(demo::ProductDate wizardDate) {
        testpkg::TestPackage package = InstallWithPackage(kKovra, Behaviour::Succeed);
        ASSERT_TRUE(::CopyFileW((uitest::ProgramFolder() + L"Zapdate.exe").c_str(),
                                InstalledWizard().c_str(), FALSE));
        package.wizardDate = wizardDate;
        package.wizardSource = uitest::ProgramFolder() + L"Zapdate.exe";
        Offer(kKovra, package);
        ASSERT_TRUE(site_->Publish());
    }

    std::wstring InstalledWizard() const { return FolderOf(kKovra) + L"\\Zapdate.exe"; }

    // Starts the installed wizard as the user would and updates everything. Returns the id of
    // the process that showed the wizard: the temporary copy.
    DWORD UpdateFromTheInstalledWizard() {
        if (!wizard_.Start({}, {site_->HostVariable()}, InstalledWizard()))
            return 0;
        const DWORD copy = uitest::ProcessOf(wizard_.Sheet());
        EXPECT_NE(copy, wizard_.Started().id);
        EXPECT_EQ(uitest::WaitForExit(wizard_.Started(), kWizardTimeoutMs), 0)
            << "the started wizard ends once its copy has taken over";
        EXPECT_TRUE(wizard_.ChooseEveryProduct());
        const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
        EXPECT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows.empty() ? L"" : rows[0].columns[4], L"Successful");
        return copy;
    }

    uitest::WizardSession wizard_;
};

} // namespace

// Nothing while the server is down, nothing for a product not installed, only the named one,
// and then, without ids, every product that has an update.
TEST_F(UpdateRun, HiddenRunUpdatesTheNamedProductOrWithoutIdsEveryProduct) {
    InstallAndOffer(kKovra, Behaviour::Succeed);
    InstallAndOffer(kTessel, Behaviour::Succeed);
    ASSERT_TRUE(site_->Publish());
    ASSERT_TRUE(RunToTheEnd(L"-hiden", platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                                            unsigned{ClosedPort()})));
    size_t requestsBefore = SiteRequestCount(nginx_);
    ASSERT_TRUE(RunToTheEnd(L"-hiden 1 41", site_->HostVariable()));
    EXPECT_EQ(SiteRequestCount(nginx_), requestsBefore) << "a product not installed asks nothing";
    EXPECT_EQ(Report(kKovra) + Report(kTessel), "");
    ASSERT_TRUE(RunToTheEnd(L"-hiden " + Ids(kTessel), site_->HostVariable()));
    EXPECT_EQ(InstalledBuild(kTessel.record), 1250u);
    EXPECT_EQ(InstalledBuild(kKovra.record), 1200u);
    EXPECT_EQ(Report(kKovra), "");
    requestsBefore = SiteRequestCount(nginx_);
    ASSERT_TRUE(RunToTheEnd(L"-hiden", site_->HostVariable()));
    EXPECT_EQ(SiteRequestCount(nginx_) - requestsBefore, 2u) << "the version file, one package";
    EXPECT_EQ(InstalledBuild(kKovra.record), 1250u);
    EXPECT_NE(Report(kKovra).find(" /S\n"), std::string::npos) << Report(kKovra);
}

TEST_F(UpdateRun, InstallerReplacesTheStartedWizardWhoseSuccessorRemovesTheTemporaryFolder) {
    OfferKovraWithNewWizard({2026, 12, 1});
    ASSERT_NE(UpdateFromTheInstalledWizard(), 0u);
    // The started wizard had ended, so its file could be replaced.
    EXPECT_NE(Report(kKovra).find("finished 0"), std::string::npos) << Report(kKovra);
    SYSTEMTIME linked = {};
    EXPECT_TRUE(platform::ReadLinkTime(InstalledWizard(), linked) && linked.wYear == 2026 &&
                linked.wMonth == 12);
    EXPECT_TRUE(FolderExists(UpdateTempFolder())) << "the copy still runs from it";

    ASSERT_TRUE(wizard_.Finish());
    EXPECT_TRUE(
        uitest::WaitUntil([] { return !FolderExists(UpdateTempFolder()); }, kWizardTimeoutMs))
        << "the installed wizard removes the folder once the copy has ended";
    EXPECT_TRUE(uitest::WaitForProcessesNamedToEnd(L"Zapdate.exe", kWizardTimeoutMs));
}

TEST_F(UpdateRun, WizardLinkedBeforeMay2002IsNotHandedTheCleanUp) {
    OfferKovraWithNewWizard({2002, 4, 30});
    const DWORD copy = UpdateFromTheInstalledWizard();
    ASSERT_NE(copy, 0u);
    const platform::UniqueHandle copyProcess(::OpenProcess(SYNCHRONIZE, FALSE, copy));
    ASSERT_TRUE(wizard_.Finish());
    // The hand-over happens before the copy ends, so once it has ended nothing else comes.
    ASSERT_EQ(::WaitForSingleObject(copyProcess.Get(), kWizardTimeoutMs), WAIT_OBJECT_0);
    EXPECT_TRUE(uitest::ProcessesNamed(L"Zapdate.exe").empty());
    EXPECT_TRUE(FolderExists(UpdateTempFolder()));
}
