#include "config/cfg_registry_path.h"

#include <gtest/gtest.h>

TEST(CfgRegistryPath, RootAndViewPrefixes) {
    auto location = ParseCfgRegistryPath("HKLM\\SOFTWARE\\Example", true);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(location->view, 0u);
    EXPECT_EQ(location->baseKey, L"SOFTWARE\\Example");

    location = ParseCfgRegistryPath("HKCU\\Software\\Velk\\", true);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->root, HKEY_CURRENT_USER);
    EXPECT_EQ(location->baseKey, L"Software\\Velk");

    // "32:" asks for the 32-bit view in every build; "64:" only means something on a 64-bit
    // system.
    for (const bool system64 : {false, true}) {
        location = ParseCfgRegistryPath("32:HKLM\\SOFTWARE", system64);
        ASSERT_TRUE(location);
        EXPECT_EQ(location->view, static_cast<REGSAM>(KEY_WOW64_32KEY));
    }
    EXPECT_EQ(ParseCfgRegistryPath("64:HKCU\\x", true)->view, static_cast<REGSAM>(KEY_WOW64_64KEY));
    EXPECT_EQ(ParseCfgRegistryPath("64:HKCU\\x", false)->view, 0u);
}

TEST(CfgRegistryPath, UnknownOrLowerCaseRootsAreRefused) {
    for (const char* path : {"hklm\\SOFTWARE", "Hkcu\\x", "32:hkcu\\x", "HKCR\\x", "HKLM", "",
                             "64:32:HKLM\\x", "HKLM/SOFTWARE"})
        EXPECT_FALSE(ParseCfgRegistryPath(path, true)) << path;
}

TEST(CfgRegistryPath, NameSplitsAtItsLastSeparator) {
    const struct {
        const wchar_t* base;
        const char* name;
        const wchar_t* key;
        const wchar_t* value;
    } cases[] = {
        {L"SOFTWARE\\Example", "Sub\\Name", L"SOFTWARE\\Example\\Sub", L"Name"},
        {L"Base", "a\\b/c", L"Base\\a\\b", L"c"},
        {L"Base", "Plain", L"Base", L"Plain"},
        {L"Base", "Sub\\", L"Base\\Sub", L""}, // the key's default value
    };
    for (const auto& c : cases) {
        const auto split = SplitCfgRegistryName(c.base, c.name);
        ASSERT_TRUE(split) << c.name;
        EXPECT_EQ(split->key, c.key) << c.name;
        EXPECT_EQ(split->value, c.value) << c.name;
    }
}

TEST(CfgRegistryPath, KeyPathAndValueNameEachStopAt255Characters) {
    EXPECT_TRUE(SplitCfgRegistryName(L"B", std::string(255, 'v')));
    EXPECT_FALSE(SplitCfgRegistryName(L"B", std::string(256, 'v')));
    EXPECT_TRUE(SplitCfgRegistryName(L"B", std::string(253, 'k') + "\\v"));
    EXPECT_FALSE(SplitCfgRegistryName(L"B", std::string(254, 'k') + "\\v"));
}
