// The outcome of each downloaded item as the installed products decide it, against lists built
// by hand and against the real registry of the test prefix.

#include "engine/installation_check.h"
#include "shell/startup_settings.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

InstalledProduct OfferedItem(uint32_t resellerId, uint32_t keyProductId, uint32_t offeredBuild) {
    InstalledProduct item;
    item.resellerId = resellerId;
    item.keyProductId = item.productId = keyProductId;
    item.versionMajor = 5;
    item.versionMinor = 4;
    item.build = offeredBuild;
    item.SetStatus(kStatusDownloaded);
    return item;
}

InstalledProduct Installed(uint32_t resellerId, uint32_t keyProductId, uint32_t major,
                           uint32_t minor, uint32_t build) {
    InstalledProduct product;
    product.resellerId = resellerId;
    product.keyProductId = product.productId = keyProductId;
    product.versionMajor = major;
    product.versionMinor = minor;
    product.build = build;
    return product;
}

class InstallationCheckTest : public ::testing::Test {
protected:
    void Apply() {
        CInstallationRecords records(items_, downloaded_, lock_);
        ApplyInstalledProducts(records, fresh_);
    }

    std::vector<InstalledProduct> items_;
    std::vector<uint32_t> downloaded_;
    platform::CriticalSection lock_;
    InstalledProductList fresh_{false};
};

TEST_F(InstallationCheckTest, TheInstalledBuildDecidesAgainstTheOfferedOne) {
    items_ = {OfferedItem(1, 6, 1302), OfferedItem(1, 7, 1302), OfferedItem(1, 9, 1302)};
    downloaded_ = {0, 1, 2};
    fresh_.Append(Installed(1, 6, 5, 2, 1301)); // one short of the offer
    fresh_.Append(Installed(1, 7, 5, 4, 1302)); // the offer
    fresh_.Append(Installed(1, 9, 6, 0, 1400)); // beyond it
    Apply();
    EXPECT_EQ(items_[0].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[1].Status(), kStatusDownloaded);
    EXPECT_EQ(items_[2].Status(), kStatusDownloaded);
    // The items now show what is installed, not what was offered.
    EXPECT_EQ(items_[0].versionMinor, 2u);
    EXPECT_EQ(items_[0].build, 1301u);
    EXPECT_EQ(items_[2].versionMajor, 6u);
    EXPECT_EQ(items_[2].versionMinor, 0u);
    EXPECT_EQ(items_[2].build, 1400u);
}

TEST_F(InstallationCheckTest, MatchesOnResellerAndKeyProductIdAndTheLastMatchDecides) {
    items_ = {OfferedItem(1, 6, 1302)};
    downloaded_ = {0};
    fresh_.Append(Installed(2, 6, 9, 9, 9999)); // another reseller's installation
    fresh_.Append(Installed(1, 6, 5, 4, 1302));
    fresh_.Append(Installed(1, 7, 9, 9, 9999)); // another product
    fresh_.Append(Installed(1, 6, 5, 2, 1200)); // a second installation, listed last
    Apply();
    EXPECT_EQ(items_[0].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[0].build, 1200u);
}

TEST_F(InstallationCheckTest, OnlyDownloadedItemsChangeAndAProductThatIsGoneIsNotUpdated) {
    items_ = {OfferedItem(1, 6, 1302), OfferedItem(1, 7, 1302), OfferedItem(1, 8, 1302)};
    items_[0].SetSelected(true);
    items_[1].SetStatus(kStatusUpdateAvailable); // its download failed
    downloaded_ = {7, 0, 2};                     // an index beyond the items is passed over
    fresh_.Append(Installed(1, 6, 5, 4, 1302));
    fresh_.Append(Installed(1, 7, 5, 2, 1200));
    Apply();
    EXPECT_EQ(items_[0].Status(), kStatusDownloaded);
    EXPECT_TRUE(items_[0].IsSelected()) << "the flags stay";
    EXPECT_EQ(items_[1].Status(), kStatusUpdateAvailable);
    EXPECT_EQ(items_[1].build, 1302u);
    EXPECT_EQ(items_[2].Status(), kStatusNotUpdated);
    EXPECT_EQ(items_[2].build, 1302u);
}

TEST(InstallationCheckRegistryTest, ReadsTheRegistryWithoutRequiringTheProgramFile) {
    demo::RemoveAllProducts();
    TheStartupSettings() = StartupSettings{};
    // An installer that is replacing the program file may leave only the wizard in the folder.
    const std::wstring folder = uitest::MakeTempFolder(L"zapdate-installation-check");
    ASSERT_TRUE(demo::MakeInstallFolder(folder, L"Zapdate.exe", {2026, 1, 2}));
    demo::ProductRecord record;
    record.installPath = platform::AnsiFromWide(folder);
    record.installedVersion = "5.4";
    record.installedBuild = "1302";
    ASSERT_TRUE(demo::RegisterProduct(record));

    std::vector<InstalledProduct> items = {OfferedItem(1, 6, 1302)};
    const std::vector<uint32_t> downloaded = {0};
    platform::CriticalSection lock;
    CInstallationRecords records(items, downloaded, lock);
    VerifyInstallation(records);
    demo::RemoveAllProducts();

    EXPECT_EQ(items[0].Status(), kStatusDownloaded);
    EXPECT_EQ(items[0].versionMinor, 4u);
}

} // namespace
