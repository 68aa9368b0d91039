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
    auto split = SplitCfgRegistryName(L"SOFTWARE\\Example", "Sub\\Name");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->key, L"SOFTWARE\\Example\\Sub");
    EXPECT_EQ(split->value, L"Name");

    split = SplitCfgRegistryName(L"Base", "a\\b/c");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->key, L"Base\\a\\b");
    EXPECT_EQ(split->value, L"c");

    split = SplitCfgRegistryName(L"Base", "Plain");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->key, L"Base");
    EXPECT_EQ(split->value, L"Plain");

    // A trailing separator names the key's default value.
    split = SplitCfgRegistryName(L"Base", "Sub\\");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->key, L"Base\\Sub");
    EXPECT_EQ(split->value, L"");
}

TEST(CfgRegistryPath, KeyPathAndValueNameEachStopAt255Characters) {
    EXPECT_TRUE(SplitCfgRegistryName(L"B", std::string(255, 'v')));
    EXPECT_FALSE(SplitCfgRegistryName(L"B", std::string(256, 'v')));
    EXPECT_TRUE(SplitCfgRegistryName(L"B", std::string(253, 'k') + "\\v"));
    EXPECT_FALSE(SplitCfgRegistryName(L"B", std::string(254, 'k') + "\\v"));
}
