// The scan of installed products: the enumeration rules, the values, the names and the edge
// cases of bad data, against the in-memory registry and the real one.

#include "catalogue/installed_product_list.h"
#include "platform/text.h"
#include "shell/startup_settings.h"
#include "tests/catalogue/scan_registry.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <tuple>

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

    // A product key with a real install folder (or `folder`) and the usual values.
    void AddProduct(const std::string& key, const std::wstring& folder = {}) {
        registry_->SetString(key, "InstallPath",
                             platform::AnsiFromWide(folder.empty() ? folder_ : folder));
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

// The ids of another edition on the command line become the key's (raw 4 maps to 6).
TEST_P(ScanTest, ReadsAProductWithAllItsFieldsAndTakesItsIdsForTheCommandLines) {
    AddProduct(std::string(kKovra) + "\\00010004");
    StartupSettings& settings = TheStartupSettings();
    std::tie(settings.resellerId, settings.productId, settings.mappedProductId) =
        std::tuple(1u, 3u, 6u);
    const InstalledProductList list = Scan();
    EXPECT_EQ(std::tie(settings.productId, settings.mappedProductId), std::tuple(6u, 6u));
    ASSERT_EQ(list.Count(), 1u);
    const InstalledProduct& p = list.At(0);
    EXPECT_EQ(std::tie(p.displayName, p.offeredName, p.installFolder),
              std::tuple(L"Kovra", L"Kovra", folder_));
    EXPECT_EQ(std::tie(p.productId, p.installCode, p.resellerId, p.offeredBuild),
              std::tuple(6u, 1u, 1u, 1200u));
    EXPECT_EQ(std::tie(p.buildDate.year, p.buildDate.month, p.buildDate.day),
              std::tuple(2026, 3, 14));
    EXPECT_NE(p.packagePath.find(L"\\kvu_1_6_32_64.exe"), std::wstring::npos);
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

// A key's name gives edition, CD flag, reseller and id; the id maps through the range table and
// only updatable ids stay. In name order, the order in which the registry enumerates them.
TEST_P(ScanTest, KeyNamesGiveTheNameAndIdsAndOnlyUpdatableIdsStay) {
    const struct {
        const char* key;
        const wchar_t* name;
        uint32_t resellerId, productId;
    } kKept[] = {{"Kovra\\00010002", L"Kovra", 1, 6}, // 2 maps to 6
                 {"Kovra\\14010006", L"Kovra [CD Version]", 1, 6},
                 {"Kovra\\20000006", L"Kovra [Home]", 0, 6},
                 {"Kovra\\34000006", L"Kovra [Business, CD Version]", 0, 6},
                 {"Tessel\\00010011", L"Tessel", 1, 22}}; // 17 maps to 22
    AddProduct(std::string(kKovra) + "\\000100FF");       // maps to itself, not updatable
    for (const auto& k : kKept)
        AddProduct(std::string("SOFTWARE\\Velk\\") + k.key);
    const InstalledProductList list = Scan();
    ASSERT_EQ(list.Count(), std::size(kKept));
    for (size_t i = 0; i < list.Count(); ++i) {
        const InstalledProduct& p = list.At(i);
        EXPECT_EQ(
            std::tie(p.displayName, p.resellerId, p.productId, p.keyProductId),
            std::tuple(kKept[i].name, kKept[i].resellerId, kKept[i].productId, kKept[i].productId));
    }
}

TEST_P(ScanTest, ProgramFileMustBeThereAndOfAtLeast16384Bytes) {
    // A folder with the wizard only, and one whose program is cut to 16383 bytes.
    const std::wstring wizardOnly = uitest::MakeTempFolder(L"zapdate-scan-wizard-only");
    const std::wstring small = uitest::MakeTempFolder(L"zapdate-scan-small");
    ASSERT_TRUE(demo::WriteProgramFile(wizardOnly + L"\\Zapdate.exe", {2026, 1, 1}));
    ASSERT_TRUE(demo::WriteProgramFile(small + L"\\kovra.exe", {2026, 1, 1}, 0));
    std::filesystem::resize_file(small + L"\\kovra.exe", 16383);
    for (const std::wstring& folder : {wizardOnly, small}) {
        registry_ = std::make_unique<ScanRegistry>(GetParam());
        AddProduct(std::string(kKovra) + "\\00010006", folder);
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
    const auto pick = [&](size_t n) { return size_t{random()} % n; };
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
        SCOPED_TRACE(round);
        EXPECT_EQ(list.ReadInstalledProduct(registry_->Reader(), key, 1, 6), kept);
        EXPECT_EQ(registry_->KeysLeftOpen(), 0);
        ASSERT_EQ(list.Count(), kept ? 1u : 0u);
        if (kept) {
            const InstalledProduct& p = list.At(0);
            EXPECT_EQ(std::tie(p.versionMajor, p.versionMinor, p.build, p.language),
                      std::tuple(version.major, version.minor, buildRead ? build.major : 0u,
                                 language && language->size() >= 2 ? *language : "en"));
        }
    }
}

#ifdef ZAPDATE_SCAN_SYSTEM_REGISTRY
INSTANTIATE_TEST_SUITE_P(SystemRegistry, ScanTest, ::testing::Values(true));

// A whole installation in the 64-bit view is not where the family's 32-bit installers write:
// the scan must not see it, whichever build of the wizard runs.
TEST_P(ScanTest, ReadsTheThirtyTwoBitViewOnly) {
    registry_ = std::make_unique<ScanRegistry>(true, KEY_WOW64_64KEY);
    AddProduct(std::string(kKovra) + "\\00010006");
    EXPECT_EQ(Scan().Count(), 0u);
}
#else
INSTANTIATE_TEST_SUITE_P(InMemoryRegistry, ScanTest, ::testing::Values(false));

// The change count tells the selection whether the choice may have changed since it paired.
TEST(InstalledProductListChoice, SelectionAndChangeCount) {
    InstalledProductList list(true);
    list.Append({});
    list.Append({});
    EXPECT_FALSE(list.SetSelected(2, true));
    EXPECT_TRUE(list.SetSelected(1, true));
    list.SetAllSelected(true);
    EXPECT_EQ(list.ChangeCount(), 1u) << "choosing all counts when the chosen are counted";
    EXPECT_EQ(list.CountSelected(), 2u);
    EXPECT_EQ(list.ChangeCount(), 2u);
    list.SetAllSelected(false);
    EXPECT_EQ(list.CountSelected(), 0u);
    EXPECT_EQ(list.ChangeCount(), 2u);
}
#endif

} // namespace
