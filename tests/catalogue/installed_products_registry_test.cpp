// The scan against the real registry of the test prefix, written as the products' 32-bit
// installers write it. (The scan cases themselves run against both the real registry and its
// in-memory twin, so the twin is held to the real registry's answers there.)

#include "catalogue/installed_product_list.h"
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

    static InstalledProductList ScanReal() {
        InstalledProductList list(true);
        list.ScanInstalledProducts(TheSystemRegistryReader());
        return list;
    }

    std::wstring folder_;
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
