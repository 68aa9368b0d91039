#include "shell/resource_language.h"

#include "platform/resource_modules.h"
#include "platform/resource_strings.h"
#include "resources/resource_ids.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

namespace {

// An executable folder with satellites in the given sub-folders.
class SatelliteFolder {
public:
    explicit SatelliteFolder(const wchar_t* name) : root_(uitest::MakeTempFolder(name) + L"\\") {}
    ~SatelliteFolder() { Remove(root_); }

    std::wstring Executable() const { return root_ + L"Zapdate.EXE"; }
    void AddSatellite(const std::wstring& folder) const {
        ::CreateDirectoryW((root_ + folder).c_str(), nullptr);
        Touch(root_ + folder + L"\\Zapdate.dll");
    }
    void AddEmptyFolder(const std::wstring& folder) const {
        ::CreateDirectoryW((root_ + folder).c_str(), nullptr);
    }
    std::wstring Path(const std::wstring& relative) const { return root_ + relative; }

private:
    static void Touch(const std::wstring& path) {
        platform::UniqueHandle file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        platform::UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &entry));
        if (find) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(folder + name + L"\\");
                else
                    ::DeleteFileW((folder + name).c_str());
            } while (::FindNextFileW(find.Get(), &entry));
        }
        find.Reset();
        ::RemoveDirectoryW(folder.c_str());
    }

    std::wstring root_;
};

constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr LANGID kAustrian = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN);

} // namespace

TEST(ResourceLanguage, NumberFolderComesFirst) {
    SatelliteFolder app(L"lang-number");
    app.AddSatellite(L"de");
    app.AddSatellite(L"de-DE");
    app.AddSatellite(L"1031");
    const SatelliteChoice choice = FindSatellite(app.Executable(), kGerman);
    EXPECT_EQ(choice.path, app.Path(L"1031\\Zapdate.dll"));
    EXPECT_EQ(choice.language, kGerman);
}

TEST(ResourceLanguage, CultureNameBeforeTwoLetterCode) {
    SatelliteFolder app(L"lang-culture");
    app.AddSatellite(L"de");
    app.AddSatellite(L"de-DE");
    EXPECT_EQ(FindSatellite(app.Executable(), kGerman).path, app.Path(L"de-DE\\Zapdate.dll"));
}

TEST(ResourceLanguage, TwoLetterCodeFolder) {
    SatelliteFolder app(L"lang-iso");
    app.AddSatellite(L"de");
    EXPECT_EQ(FindSatellite(app.Executable(), kGerman).path, app.Path(L"de\\Zapdate.dll"));
}

TEST(ResourceLanguage, SamePrimaryLanguageFolderServesAnotherCountry) {
    SatelliteFolder app(L"lang-primary");
    app.AddSatellite(L"de-DE");
    app.AddSatellite(L"fr-FR");
    const SatelliteChoice choice = FindSatellite(app.Executable(), kAustrian);
    EXPECT_EQ(choice.path, app.Path(L"de-DE\\Zapdate.dll"));
    EXPECT_EQ(choice.language, kGerman);
}

TEST(ResourceLanguage, FoldersWithoutTheFileOrWithOtherNamesDoNotCount) {
    SatelliteFolder app(L"lang-none");
    app.AddEmptyFolder(L"1031");
    app.AddSatellite(L"german");
    app.AddSatellite(L"103");
    app.AddSatellite(L"fr-FR");
    EXPECT_TRUE(FindSatellite(app.Executable(), kGerman).path.empty());
}

TEST(ResourceStrings, NumberThatNoModuleHoldsIsUnknownResource) {
    EXPECT_EQ(platform::ResourceString(4321), L"Unknown resource");
    EXPECT_EQ(platform::ResourceStringA(4321), "Unknown resource");
}

TEST(ResourceStrings, TextsComeFromTheExecutable) {
    EXPECT_EQ(platform::ResourceString(IDS_WIZARD_TITLE), L"Velk Update Wizard");
    EXPECT_EQ(platform::ResourceString(IDS_USAGE),
              L"Usage: KovraUpdate.exe [-hiden] [<reseller id> <product id>]");
    EXPECT_EQ(platform::ResourceString(14404), L"Requested file not found.");
    EXPECT_EQ(platform::ResourceString(12029), L"The attempt to connect to the server failed.");
}

TEST(ResourceStrings, SatelliteFirstThenTheExecutable) {
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
    platform::SetResourceModules(nullptr, ::GetModuleHandleW(nullptr),
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}
