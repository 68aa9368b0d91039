// The scan against the real registry of the test prefix, written as the products' 32-bit
// installers write it, and the in-memory twin checked to answer as the real registry does.

#include "catalogue/installed_product_list.h"
#include "catalogue/memory_registry_reader.h"
#include "catalogue/system_registry_reader.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "shell/startup_settings.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

namespace {

class RegistryScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::RemoveAllProducts();
        folder_ = uitest::MakeTempFolder(L"zapdate-registry-scan-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder_, L"kovra.exe", {2025, 11, 2}));
        TheStartupSettings() = StartupSettings{};
    }
    void TearDown() override { demo::RemoveAllProducts(); }

    demo::ProductRecord Record(uint32_t installCode, uint32_t id) const {
        demo::ProductRecord record;
        record.installCode = installCode;
        record.keyProductId = id;
        record.installPath = platform::AnsiFromWide(folder_);
        return record;
    }

    // The same record in the twin, as the real registry holds it.
    void Mirror(const demo::ProductRecord& record) {
        const std::string key = demo::ProductKeyName(record);
        twin_.SetString(key, "InstallPath", record.installPath);
        twin_.SetString(key, "LanguageCode", record.languageCode);
        twin_.SetString(key, "InstalledVer", record.installedVersion);
        twin_.SetString(key, "InstalledBuild", record.installedBuild);
    }

    static InstalledProductList ScanReal() {
        InstalledProductList list(true);
        list.ScanInstalledProducts(TheSystemRegistryReader());
        return list;
    }

    std::wstring folder_;
    CMemoryRegistryReader twin_;
};

TEST_F(RegistryScanTest, FindsWhatAnInstallerRegistered) {
    demo::ProductRecord record = Record(1, 6);
    record.installedVersion = "5.4";
    record.installedBuild = "1302";
    record.languageCode = "de";
    ASSERT_TRUE(demo::RegisterProduct(record));
    const InstalledProductList list = ScanReal();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).productId, 6u);
    EXPECT_EQ(list.At(0).versionMajor, 5u);
    EXPECT_EQ(list.At(0).versionMinor, 4u);
    EXPECT_EQ(list.At(0).build, 1302u);
    EXPECT_EQ(list.At(0).language, "de");
    EXPECT_EQ(list.At(0).installFolder, folder_);
    EXPECT_EQ(list.At(0).buildDate.year, 2025);
    EXPECT_TRUE(list.AnyLocationFound());
}

TEST_F(RegistryScanTest, ReadsTheThirtyTwoBitViewOnly) {
    // A key in the 64-bit view is not where the family's installers write; the scan must not
    // take it for an installation, whichever build of the wizard runs.
    platform::UniqueRegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velk\\Kovra\\00010006", 0, nullptr,
                                0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    const std::string path = platform::AnsiFromWide(folder_);
    ::RegSetValueExA(key.Get(), "InstallPath", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
    key.Reset();
#ifdef _WIN64
    EXPECT_EQ(ScanReal().Count(), 0u);
#endif
    platform::UniqueRegKey software;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                        software.Put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(software.Get(), "Velk");
}

TEST_F(RegistryScanTest, TwinGivesTheSameListAsTheRegistry) {
    std::vector<demo::ProductRecord> records;
    for (uint32_t reseller : {0u, 1u, 7u, 0x21u})
        records.push_back(Record(reseller, 6));
    records.push_back(Record(1, 4)); // maps to 6
    records.push_back(Record(0x0102, 3));
    demo::ProductRecord noBuild = Record(1, 9);
    noBuild.installedBuild.clear();
    records.push_back(noBuild);
    demo::ProductRecord tessel = Record(1, 22);
    tessel.family = "Tessel";
    tessel.languageCode = "r";
    records.push_back(tessel);
    for (const demo::ProductRecord& record : records) {
        ASSERT_TRUE(demo::RegisterProduct(record));
        Mirror(record);
    }
    // Sub-keys that are not installations, in both.
    for (const char* odd : {"SOFTWARE\\Velk\\Kovra\\Settings", "SOFTWARE\\Velk\\Kovra\\0001"}) {
        platform::UniqueRegKey key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, odd, 0, nullptr, 0,
                                    KEY_WRITE | KEY_WOW64_32KEY, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        twin_.AddKey(odd);
    }

    const InstalledProductList real = ScanReal();
    InstalledProductList twin(true);
    twin.ScanInstalledProducts(twin_);
    EXPECT_EQ(twin_.OpenKeys(), 0);

    // The registry enumerates sub-keys in name order; compare as sets of keys.
    ASSERT_EQ(real.Count(), twin.Count());
    EXPECT_GT(real.Count(), 3u);
    EXPECT_EQ(real.AnyLocationFound(), twin.AnyLocationFound());
    for (const InstalledProduct& product : real.Products()) {
        bool matched = false;
        for (const InstalledProduct& other : twin.Products()) {
            if (other.installCode != product.installCode ||
                other.keyProductId != product.keyProductId)
                continue;
            matched = true;
            EXPECT_EQ(other.displayName, product.displayName);
            EXPECT_EQ(other.productId, product.productId);
            EXPECT_EQ(other.build, product.build);
            EXPECT_EQ(other.language, product.language);
            EXPECT_EQ(other.packagePath, product.packagePath);
        }
        EXPECT_TRUE(matched) << platform::AnsiFromWide(product.displayName);
    }
}

TEST_F(RegistryScanTest, TheRealReaderReportsTooLongNamesAndMissingValues) {
    demo::ProductRecord record = Record(1, 6);
    ASSERT_TRUE(demo::RegisterProduct(record));
    CRegistryReader& reader = TheSystemRegistryReader();
    CReaderKey family(reader, "SOFTWARE\\Velk\\Kovra");
    ASSERT_TRUE(family);
    std::string name;
    EXPECT_EQ(reader.EnumerateSubKey(family.Get(), 0, 8, name),
              CRegistryReader::EnumResult::NameTooLong);
    EXPECT_EQ(reader.EnumerateSubKey(family.Get(), 0, 9, name), CRegistryReader::EnumResult::Name);
    EXPECT_EQ(name, "00010006");
    EXPECT_EQ(reader.EnumerateSubKey(family.Get(), 1, 9, name), CRegistryReader::EnumResult::End);

    CReaderKey product(reader, demo::ProductKeyName(record));
    ASSERT_TRUE(product);
    EXPECT_EQ(reader.QueryValue(product.Get(), "InstalledVer", 1025), std::string("5.2", 4));
    EXPECT_FALSE(reader.QueryValue(product.Get(), "InstalledVer", 3).has_value());
    EXPECT_FALSE(reader.QueryValue(product.Get(), "Absent", 1025).has_value());
    EXPECT_FALSE(CReaderKey(reader, "SOFTWARE\\Velk\\Nothing"));
}

} // namespace
