#include "shell/resource_language.h"

#include "shell/delete_folder_tree.h"

#include "platform/resource_modules.h"
#include "platform/resource_strings.h"
#include "resources/resource_ids.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

namespace {

constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr LANGID kAustrian = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN);

// HKEY_CURRENT_USER of this process redirected to a private key while the object lives, so that
// the programs other tests start never see what this one writes there.
class PrivateUserKey {
public:
    PrivateUserKey() : name_(L"Software\\ZapdateTest" + std::to_wstring(::GetCurrentProcessId())) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          root_.Put(), nullptr);
        ::RegOverridePredefKey(HKEY_CURRENT_USER, root_.Get());
    }
    ~PrivateUserKey() {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
    }
    PrivateUserKey(const PrivateUserKey&) = delete;
    PrivateUserKey& operator=(const PrivateUserKey&) = delete;

private:
    const std::wstring name_;
    platform::UniqueRegKey root_;
};

} // namespace

TEST(ResourceLanguage, SatelliteFoldersAreTriedInTheirOrder) {
    const struct {
        std::vector<const wchar_t*> satellites;
        LANGID wanted;
        const wchar_t* expected; // empty: none
        LANGID language;
    } kCases[] = {{{L"de", L"de-DE", L"1031"}, kGerman, L"1031\\Zapdate.dll", kGerman},
                  {{L"de", L"de-DE"}, kGerman, L"de-DE\\Zapdate.dll", kGerman},
                  {{L"de"}, kGerman, L"de\\Zapdate.dll", kGerman},
                  // A folder of the same primary language serves another country.
                  {{L"de-DE", L"fr-FR"}, kAustrian, L"de-DE\\Zapdate.dll", kGerman},
                  // Folders with other names do not count, nor (below) one without the file.
                  {{L"german", L"103", L"fr-FR"}, kGerman, L"", 0}};
    for (const auto& c : kCases) {
        const std::wstring root = uitest::MakeTempFolder(L"zapdate-satellites") + L"\\";
        ::CreateDirectoryW((root + L"1031").c_str(), nullptr);
        for (const wchar_t* folder : c.satellites) {
            ::CreateDirectoryW((root + folder).c_str(), nullptr);
            platform::UniqueHandle(::CreateFileW((root + folder + L"\\Zapdate.dll").c_str(),
                                                 GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                                 nullptr));
        }
        const SatelliteChoice choice = FindSatellite(root + L"Zapdate.EXE", c.wanted);
        EXPECT_EQ(choice.path, *c.expected ? root + c.expected : L"") << c.expected;
        EXPECT_EQ(choice.language, c.language) << c.expected;
        DeleteFolderTree(root.substr(0, root.size() - 1));
    }
}

TEST(ResourceLanguage, LanguageValueCountsOnlyAsAFourByteDwordBelow65535) {
    const PrivateUserKey user;
    const LANGID system = ::GetUserDefaultUILanguage();
    EXPECT_EQ(ReadWantedLanguage(), system) << "no value";
    // A language that is not the system's, so that taking it shows.
    const uint64_t german = system == kGerman ? kAustrian : kGerman;
    const struct {
        DWORD type;
        uint64_t value;
        DWORD size;
        bool taken;
    } kCases[] = {{REG_DWORD, german, 4, true},   {REG_DWORD, 65534, 4, true},
                  {REG_DWORD, 65535, 4, false},   {REG_DWORD, german + 0x10000, 4, false},
                  {REG_DWORD, german, 2, false},  {REG_SZ, german, 4, false},
                  {REG_BINARY, german, 4, false}, {REG_QWORD, german, 8, false}};
    for (const auto& c : kCases) {
        platform::UniqueRegKey key;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Velk", 0, nullptr, 0, KEY_WRITE, nullptr,
                          key.Put(), nullptr);
        ::RegSetValueExW(key.Get(), L"Language", 0, c.type, reinterpret_cast<const BYTE*>(&c.value),
                         c.size);
        EXPECT_EQ(ReadWantedLanguage(), c.taken ? c.value : system) << c.type << " " << c.value;
    }
}

TEST(ResourceStrings, SatelliteFirstThenTheExecutableThenUnknownResource) {
    const std::wstring path = uitest::ProgramFolder() + L"test-satellites\\partial\\Zapdate.dll";
    const HMODULE satellite = ::LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(satellite, nullptr);
    platform::SetResourceModules(satellite, ::GetModuleHandleW(nullptr), kGerman);
    std::wstring text;
    ASSERT_TRUE(platform::LoadStringResource(IDS_CHOOSE_PRODUCTS, text));
    EXPECT_EQ(text, L"Teilweise \u00fcbersetzt");
    // Not in the satellite: the executable's English text.
    ASSERT_TRUE(platform::LoadStringResource(IDS_INSTALLED_PRODUCTS, text));
    EXPECT_EQ(text, L"Installed products");
    EXPECT_EQ(platform::FindResourceModule(RT_DIALOG, MAKEINTRESOURCEW(IDD_INTRO)),
              ::GetModuleHandleW(nullptr));
    EXPECT_EQ(platform::FindResourceModule(RT_DIALOG, MAKEINTRESOURCEW(IDD_END)), satellite);
    EXPECT_EQ(platform::FindResourceModule(RT_DIALOG, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(platform::ResourceString(4321), L"Unknown resource") << "a number no module holds";
    EXPECT_EQ(platform::ResourceStringA(4321), "Unknown resource");
    platform::SetResourceModules(nullptr, ::GetModuleHandleW(nullptr),
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}
