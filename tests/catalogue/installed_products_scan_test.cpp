// The scan of installed products against the in-memory registry: the enumeration rules, the
// values, the names and the edge cases of bad data.

#include "catalogue/installed_product_list.h"
#include "platform/text.h"
#include "shell/startup_settings.h"
#include "tests/catalogue/scan_registry.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

namespace {

constexpr char kKovra[] = "SOFTWARE\\Velk\\Kovra";

class ScanTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        folder_ = uitest::MakeTempFolder(L"zapdate-scan-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder_, L"kovra.exe", {2026, 3, 14}));
        TheStartupSettings() = StartupSettings{};
        registry_ = MakeScanRegistry(GetParam());
    }
    void TearDown() override { registry_.reset(); }

    // A product key with a real install folder and the usual values.
    void AddProduct(const std::string& key, const std::string& version = "5.2",
                    const std::string& build = "1200", const std::string& language = "en") {
        registry_->SetString(key, "InstallPath", platform::AnsiFromWide(folder_));
        if (!version.empty())
            registry_->SetString(key, "InstalledVer", version);
        if (!build.empty())
            registry_->SetString(key, "InstalledBuild", build);
        if (!language.empty())
            registry_->SetString(key, "LanguageCode", language);
    }

    InstalledProductList Scan(bool requireProgramFile = true) {
        InstalledProductList list(requireProgramFile);
        list.ScanInstalledProducts(registry_->Reader());
        EXPECT_EQ(registry_->KeysLeftOpen(), 0) << "the scan left keys open";
        return list;
    }

    std::wstring folder_;
    std::unique_ptr<ScanRegistry> registry_;
};

TEST_P(ScanTest, ReadsAProductWithAllItsFields) {
    AddProduct(std::string(kKovra) + "\\00010006");
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 1u);
    const InstalledProduct& product = list.At(0);
    EXPECT_EQ(product.displayName, L"Kovra");
    EXPECT_EQ(product.offeredName, L"Kovra");
    EXPECT_EQ(product.productId, 6u);
    EXPECT_EQ(product.installCode, 1u);
    EXPECT_EQ(product.resellerId, 1u);
    EXPECT_EQ(product.versionMajor, 5u);
    EXPECT_EQ(product.versionMinor, 2u);
    EXPECT_EQ(product.build, 1200u);
    EXPECT_EQ(product.offeredBuild, 1200u);
    EXPECT_EQ(product.installFolder, folder_);
    EXPECT_EQ(product.language, "en");
    EXPECT_EQ(product.buildDate.year, 2026);
    EXPECT_EQ(product.buildDate.month, 3);
    EXPECT_EQ(product.buildDate.day, 14);
    EXPECT_NE(product.packagePath.find(L"\\kvu_1_6_32_64.exe"), std::wstring::npos);
    EXPECT_TRUE(list.AnyLocationFound());
}

TEST_P(ScanTest, EnumerationPassesOverOddNamesAndStopsAtAForeignOne) {
    AddProduct(std::string(kKovra) + "\\00010006");
    registry_->AddKey(std::string(kKovra) + "\\XYZ");
    registry_->AddKey(std::string(kKovra) + "\\000100061"); // longer than eight characters
    registry_->AddKey(std::string(kKovra) + "\\0001000G");
    AddProduct(std::string(kKovra) + "\\00020006");
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).installCode, 1u);
    EXPECT_FALSE(list.AnyLocationFound()) << "a stopped enumeration finds no location";
}

TEST_P(ScanTest, AFamilyKeyWithoutSubKeysIsALocationWithoutProducts) {
    EXPECT_FALSE(Scan().AnyLocationFound()) << "no family key at all";
    registry_->AddKey(kKovra);
    const InstalledProductList list = Scan();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.AnyLocationFound());
}

TEST_P(ScanTest, VersionsAreCutAtTheFirstPoint) {
    AddProduct(std::string(kKovra) + "\\00010006", "5");
    AddProduct(std::string(kKovra) + "\\00020006", "5.2.1");
    AddProduct(std::string(kKovra) + "\\00030006", " -1.x");
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).versionMajor, 5u);
    EXPECT_EQ(list.At(0).versionMinor, 0u);
    EXPECT_EQ(list.At(1).versionMajor, 5u);
    EXPECT_EQ(list.At(1).versionMinor, 2u);
    EXPECT_EQ(list.At(2).versionMajor, 0xFFFFFFFFu);
    EXPECT_EQ(list.At(2).versionMinor, 0u);
}

TEST_P(ScanTest, MissingOrShortLanguageBecomesEnglish) {
    AddProduct(std::string(kKovra) + "\\00010006", "5.2", "1200", "e");
    AddProduct(std::string(kKovra) + "\\00020006", "5.2", "1200", "");
    AddProduct(std::string(kKovra) + "\\00030006", "5.2", "1200", "ru");
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).language, "en");
    EXPECT_EQ(list.At(1).language, "en");
    EXPECT_EQ(list.At(2).language, "ru");
    EXPECT_EQ(list.At(2).displayName, L"Ковра");
}

TEST_P(ScanTest, RequiredValuesMissingLeaveTheProductOut) {
    AddProduct(std::string(kKovra) + "\\00010006", "");                              // no version
    registry_->SetString(std::string(kKovra) + "\\00020006", "InstalledVer", "5.2"); // no path
    AddProduct(std::string(kKovra) + "\\00030006", "5.2", "");                       // no build: 0
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).installCode, 3u);
    EXPECT_EQ(list.At(0).build, 0u);
}

TEST_P(ScanTest, IdsMapThroughTheRangeTableAndOnlyUpdatableOnesStay) {
    AddProduct(std::string(kKovra) + "\\00010002"); // 2 maps to 6
    AddProduct(std::string(kKovra) + "\\000100FF"); // maps to itself, not updatable
    AddProduct("SOFTWARE\\Velk\\Tessel\\00010011"); // 17 maps to 22
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0).productId, 6u);
    EXPECT_EQ(list.At(0).keyProductId, 6u);
    EXPECT_EQ(list.At(1).productId, 22u);
    EXPECT_EQ(list.At(1).displayName, L"Tessel");
}

TEST_P(ScanTest, EditionAndCdFlagGoIntoTheName) {
    // In name order, the order in which the registry enumerates them.
    AddProduct(std::string(kKovra) + "\\14010006"); // edition 1, CD, reseller 1
    AddProduct(std::string(kKovra) + "\\20000006"); // edition 2
    AddProduct(std::string(kKovra) + "\\34000006"); // edition 3, CD, reseller 0
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).displayName, L"Kovra [CD Version]");
    EXPECT_EQ(list.At(0).resellerId, 1u);
    EXPECT_EQ(list.At(1).displayName, L"Kovra [Home]");
    EXPECT_EQ(list.At(2).displayName, L"Kovra [Business, CD Version]");
}

TEST_P(ScanTest, ProgramFileRuleKeepsOrDropsAWizardOnlyFolder) {
    const std::wstring wizardOnly = uitest::MakeTempFolder(L"zapdate-scan-wizard-only");
    ASSERT_TRUE(demo::WriteProgramFile(wizardOnly + L"\\Zapdate.exe", {2026, 1, 1}));
    const std::string key = std::string(kKovra) + "\\00010006";
    registry_->SetString(key, "InstallPath", platform::AnsiFromWide(wizardOnly));
    registry_->SetString(key, "InstalledVer", "5.2");
    EXPECT_EQ(Scan(true).Count(), 0u);
    const InstalledProductList kept = Scan(false);
    ASSERT_EQ(kept.Count(), 1u);
    EXPECT_FALSE(kept.At(0).buildDate.IsKnown());
}

TEST_P(ScanTest, SmallProgramFileIsNotAnInstallation) {
    const std::wstring small = uitest::MakeTempFolder(L"zapdate-scan-small");
    ASSERT_TRUE(demo::WriteProgramFile(small + L"\\kovra.exe", {2026, 1, 1}, 0));
    // Cut the copy below the size an installed program has.
    const HANDLE file = ::CreateFileW((small + L"\\kovra.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size = {};
    size.QuadPart = 16383;
    ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file);
    ::CloseHandle(file);
    const std::string key = std::string(kKovra) + "\\00010006";
    registry_->SetString(key, "InstallPath", platform::AnsiFromWide(small));
    registry_->SetString(key, "InstalledVer", "5.2");
    EXPECT_EQ(Scan(true).Count(), 0u);
    EXPECT_EQ(Scan(false).At(0).buildDate.year, 2026) << "a cut image still carries its date";
}

TEST_P(ScanTest, BadValuesNeverCrashAndLeaveProductsOut) {
    const std::string key = std::string(kKovra) + "\\00010006";
    registry_->SetValue(key, "InstallPath", std::string("\x01\x02\x03\x04", 4)); // a DWORD
    registry_->SetString(key, "InstalledVer", "5.2");
    const std::string longKey = std::string(kKovra) + "\\00020006";
    registry_->SetString(longKey, "InstallPath", std::string(1025, 'x')); // does not fit
    registry_->SetString(longKey, "InstalledVer", "5.2");
    const std::string unterminated = std::string(kKovra) + "\\00030006";
    AddProduct(unterminated);
    registry_->SetValue(unterminated, "InstalledBuild", std::string(1026, '7'));
    registry_->SetValue(unterminated, "LanguageCode", std::string(1024, 'd'));
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).build, 0u) << "an over-long value counts as missing";
    EXPECT_EQ(list.At(0).language.size(), 1024u);
    EXPECT_EQ(list.At(0).displayName, L"Kovra");
}

TEST_P(ScanTest, FamilyWithoutSubKeyIsReadOnceAndItsIdsAreNotUpdatable) {
    registry_->SetString("SOFTWARE\\Velk\\Fathom", "InstallPath", platform::AnsiFromWide(folder_));
    registry_->SetString("SOFTWARE\\Velk\\Fathom", "InstalledVer", "1.0");
    const InstalledProductList list = Scan();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(list.AnyLocationFound());
}

TEST_P(ScanTest, CommandLineIdsOfAnotherEditionTakeTheKeysId) {
    AddProduct(std::string(kKovra) + "\\00010004"); // raw 4 maps to 6
    StartupSettings& settings = TheStartupSettings();
    settings.resellerId = 1;
    settings.productId = 3;
    settings.mappedProductId = 6;
    Scan();
    EXPECT_EQ(settings.productId, 6u);
    EXPECT_EQ(settings.mappedProductId, 6u);
}

TEST_P(ScanTest, ManyProductsComeInRegistryOrder) {
    for (uint32_t reseller = 0; reseller < 200; ++reseller)
        AddProduct(platform::FormatAnsi("%s\\%.4X0006", kKovra, reseller), "5.2",
                   std::to_string(reseller));
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), 200u);
    for (uint32_t i = 0; i < 200; ++i)
        EXPECT_EQ(list.At(i).build, i);
}

// The same cases run against the in-memory twin here and against the real registry in the
// registry test program, which builds this file with ZAPDATE_SCAN_SYSTEM_REGISTRY.
#ifdef ZAPDATE_SCAN_SYSTEM_REGISTRY
INSTANTIATE_TEST_SUITE_P(SystemRegistry, ScanTest, ::testing::Values(true));
#else
INSTANTIATE_TEST_SUITE_P(InMemoryRegistry, ScanTest, ::testing::Values(false));

TEST(InstalledProductListChoice, SelectionAndChangeCount) {
    InstalledProductList list(true);
    list.Append({});
    list.Append({});
    EXPECT_FALSE(list.SetSelected(2, true));
    EXPECT_EQ(list.ChangeCount(), 0u);
    EXPECT_TRUE(list.SetSelected(1, true));
    EXPECT_EQ(list.ChangeCount(), 1u);
    list.SetAllSelected(true);
    EXPECT_EQ(list.ChangeCount(), 1u);
    EXPECT_EQ(list.CountSelected(), 2u);
    EXPECT_EQ(list.ChangeCount(), 2u);
    list.SetAllSelected(false);
    EXPECT_EQ(list.CountSelected(), 0u);
    EXPECT_EQ(list.ChangeCount(), 2u);
    list.At(0).SetStatus(kStatusUpdateAvailable);
    list.At(0).SetSelected(true);
    list.At(0).SetStatus(kStatusDownloaded);
    EXPECT_TRUE(list.At(0).IsSelected()) << "a status write keeps the flag";
    EXPECT_EQ(list.At(0).Status(), kStatusDownloaded);
}
#endif

} // namespace
