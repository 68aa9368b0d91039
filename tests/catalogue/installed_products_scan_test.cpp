// The scan of installed products: the enumeration rules, the values, the names and the edge
// cases of bad data, against the in-memory registry and the real one.

#include "catalogue/installed_product_list.h"
#include "catalogue/system_registry_reader.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "shell/startup_settings.h"
#include "tests/catalogue/scan_registry.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>

namespace {

constexpr char kKovra[] = "SOFTWARE\\Velk\\Kovra";

class ScanTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        folder_ = uitest::MakeTempFolder(L"zapdate-scan-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder_, L"kovra.exe", {2026, 3, 14}));
        TheStartupSettings() = StartupSettings{};
        registry_ = std::make_unique<ScanRegistry>(GetParam());
    }
    void TearDown() override { registry_.reset(); }

    // A product key with a real install folder and the usual values.
    void AddProduct(const std::string& key) {
        registry_->SetString(key, "InstallPath", platform::AnsiFromWide(folder_));
        registry_->SetString(key, "InstalledVer", "5.2");
        registry_->SetString(key, "InstalledBuild", "1200");
        registry_->SetString(key, "LanguageCode", "en");
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
    EXPECT_EQ(product.offeredBuild, 1200u);
    EXPECT_EQ(product.installFolder, folder_);
    EXPECT_EQ(product.buildDate.year, 2026);
    EXPECT_EQ(product.buildDate.month, 3);
    EXPECT_EQ(product.buildDate.day, 14);
    EXPECT_NE(product.packagePath.find(L"\\kvu_1_6_32_64.exe"), std::wstring::npos);
    EXPECT_TRUE(list.AnyLocationFound());
}

TEST_P(ScanTest, EnumerationPassesOverOddNamesAndStopsAtAForeignOne) {
    EXPECT_FALSE(Scan().AnyLocationFound()) << "no family key at all";
    registry_->AddKey(kKovra);
    EXPECT_TRUE(Scan().AnyLocationFound()) << "a family key without sub-keys is a location";
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

TEST_P(ScanTest, ProgramFileMustBeThereAndOfAtLeast16384Bytes) {
    // A folder with the wizard only, and one whose program is cut to 16383 bytes.
    const std::wstring wizardOnly = uitest::MakeTempFolder(L"zapdate-scan-wizard-only");
    const std::wstring small = uitest::MakeTempFolder(L"zapdate-scan-small");
    ASSERT_TRUE(demo::WriteProgramFile(wizardOnly + L"\\Zapdate.exe", {2026, 1, 1}));
    ASSERT_TRUE(demo::WriteProgramFile(small + L"\\kovra.exe", {2026, 1, 1}, 0));
    {
        const platform::UniqueHandle file(::CreateFileW((small + L"\\kovra.exe").c_str(),
                                                        GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                                        nullptr));
        ASSERT_TRUE(::SetFilePointer(file.Get(), 16383, nullptr, FILE_BEGIN) == 16383 &&
                    ::SetEndOfFile(file.Get()));
    }
    for (const std::wstring& folder : {wizardOnly, small}) {
        registry_ = std::make_unique<ScanRegistry>(GetParam());
        registry_->SetString(std::string(kKovra) + "\\00010006", "InstallPath",
                             platform::AnsiFromWide(folder));
        registry_->SetString(std::string(kKovra) + "\\00010006", "InstalledVer", "5.2");
        EXPECT_EQ(Scan(true).Count(), 0u);
        const InstalledProductList kept = Scan(false);
        ASSERT_EQ(kept.Count(), 1u);
        // A cut image still carries its date; the wizard's is not the product's.
        EXPECT_EQ(kept.At(0).buildDate.year, folder == small ? 2026 : 0);
    }
}

// Values of every registry type, present or not, with lengths around the reader's buffer: each
// is read as 8-bit text up to its first zero byte whatever its type, and one of more than 1025
// bytes counts as missing. Many cases against the in-memory twin, fewer against the real one.
TEST_P(ScanTest, GeneratedValuesOfEveryTypeAndLength) {
    struct Number {
        const char* text;
        uint32_t major, minor;
    };
    static const Number kVersions[] = {{"5.2", 5, 2}, {"5", 5, 0},       {"5.2.1", 5, 2},
                                       {"", 0, 0},    {" -1.x", ~0u, 0}, {"abc.7", 0, 7}};
    static const Number kBuilds[] = {{"1200", 1200, 0}, {"", 0, 0}, {" +7x", 7, 0}, {"-1", ~0u, 0}};
    static const char* const kLanguages[] = {"de", "e", "", "ru-RU"};
    static const DWORD kTypes[] = {REG_NONE,     REG_SZ,    REG_EXPAND_SZ,        REG_BINARY,
                                   REG_DWORD,    REG_QWORD, REG_DWORD_BIG_ENDIAN, REG_LINK,
                                   REG_MULTI_SZ, 0x12345};
    std::mt19937 random(20261209);
    const auto pick = [&](size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    const std::string key = std::string(kKovra) + "\\00010006";
    const std::string folder = platform::AnsiFromWide(folder_);
    // Writes the value, or not, as bytes of any type: the text, maybe its terminator, and filler
    // ('x' changes no number) up to a length around the buffer's. Returns what the scan reads.
    const auto write = [&](const char* name, const std::string& text) {
        std::optional<std::string> read;
        if (pick(8) == 0)
            return read;
        std::string bytes = text + (pick(3) != 0 ? std::string(1, '\0') : std::string());
        bytes.resize(pick(3) == 0 ? 1022 + pick(6) : bytes.size() + pick(3) * 4, 'x');
        const DWORD type = kTypes[pick(std::size(kTypes))];
        registry_->SetValue(key, name, bytes, type);
        // The real registry's 8-bit writer counts a string's missing terminator in, as Windows
        // does, when the byte after the data is zero (as behind a std::string's).
        const bool string = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        if (bytes.size() + (GetParam() && string && !bytes.empty() && bytes.back()) <= 1025)
            read = bytes.substr(0, bytes.find('\0'));
        return read;
    };
    for (int round = 0; round < (GetParam() ? 100 : 500) && !HasFailure(); ++round) {
        registry_ = std::make_unique<ScanRegistry>(GetParam());
        const Number& version = kVersions[pick(std::size(kVersions))];
        const Number& build = kBuilds[pick(std::size(kBuilds))];
        const bool inFolder =
            write("InstallPath", pick(5) != 0 ? folder : folder + "\\gone") == folder;
        const bool kept = write("InstalledVer", version.text).has_value() && inFolder;
        const bool buildRead = write("InstalledBuild", build.text).has_value();
        const auto language = write("LanguageCode", kLanguages[pick(std::size(kLanguages))]);
        InstalledProductList list(true); // the scan's reading of one key, without the search
        EXPECT_EQ(list.ReadInstalledProduct(registry_->Reader(), key, 1, 6), kept) << round;
        EXPECT_EQ(registry_->KeysLeftOpen(), 0);
        ASSERT_EQ(list.Count(), kept ? 1u : 0u) << "case " << round;
        if (!kept)
            continue;
        const InstalledProduct& product = list.At(0);
        EXPECT_EQ(product.versionMajor, version.major) << "case " << round;
        EXPECT_EQ(product.versionMinor, version.minor) << "case " << round;
        EXPECT_EQ(product.build, buildRead ? build.major : 0u) << "case " << round;
        EXPECT_EQ(product.language, language && language->size() >= 2 ? *language : "en")
            << "case " << round;
    }
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

#ifdef ZAPDATE_SCAN_SYSTEM_REGISTRY
INSTANTIATE_TEST_SUITE_P(SystemRegistry, ScanTest, ::testing::Values(true));

TEST(SystemRegistryScan, ReadsTheThirtyTwoBitViewOnly) {
    // A whole installation in the 64-bit view is not where the family's 32-bit installers write:
    // the scan must not see it, whichever build of the wizard runs.
    demo::RemoveAllProducts();
    const std::wstring folder = uitest::MakeTempFolder(L"zapdate-scan-64-test");
    ASSERT_TRUE(demo::MakeInstallFolder(folder, L"kovra.exe", {2026, 3, 14}));
    {
        platform::UniqueRegKey key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velk\\Kovra\\00010006", 0,
                                    nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, key.Put(),
                                    nullptr),
                  ERROR_SUCCESS);
        for (const std::string& value :
             {"InstallPath=" + platform::AnsiFromWide(folder), std::string("InstalledVer=5.2")}) {
            const size_t equals = value.find('=');
            ::RegSetValueExA(key.Get(), value.substr(0, equals).c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str() + equals + 1),
                             static_cast<DWORD>(value.size() - equals));
        }
    }
    InstalledProductList list(true);
    list.ScanInstalledProducts(TheSystemRegistryReader());
    EXPECT_EQ(list.Count(), 0u);
    platform::UniqueRegKey software;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                              software.Put()),
              ERROR_SUCCESS);
    ::RegDeleteTreeA(software.Get(), "Velk");
}
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
}
#endif

} // namespace
