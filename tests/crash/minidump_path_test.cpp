#include "crash/minidump.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

std::string FreshFolder(const char* name) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    // Leftovers of an earlier run: the three levels this test makes.
    ::RemoveDirectoryA((folder + "\\a\\b").c_str());
    ::RemoveDirectoryA((folder + "\\a").c_str());
    ::RemoveDirectoryA(folder.c_str());
    return folder;
}

} // namespace

TEST(MinidumpPath, EveryMissingFolderOfThePathIsCreated) {
    const std::string folder = FreshFolder("crash_folder_test");
    EXPECT_TRUE(crash::CreateFolderPath((folder + "\\a\\b").c_str()));
    EXPECT_NE(::GetFileAttributesA((folder + "\\a\\b").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(crash::CreateFolderPath((folder + "/a/b/").c_str())); // exists, other separators
    FreshFolder("crash_folder_test");
}

TEST(MinidumpPath, KeptDumpsAreNamedByTheLocalTimeAndEmbeddedOnesAreTemporary) {
    const std::string folder = FreshFolder("crash_kept_test");
    char path[MAX_PATH];
    ASSERT_TRUE(crash::PrepareKeptMinidumpPath((folder + "\\a\\b").c_str(), path));
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    const std::string name = std::string(path).substr(folder.size() + 5);
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(minidump_\d{8}_\d{6}\.dmp)"))) << name;
    EXPECT_EQ(name.substr(9, 4), std::to_string(now.wYear));
    FreshFolder("crash_kept_test");
    // The embedded dump goes to the temporary folder instead.
    ASSERT_TRUE(crash::TemporaryMinidumpPath(path));
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(std::string(path), std::string(temp) + "minidump.dmp");
}

TEST(MinidumpPath, APathThatDoesNotFitIsRefusedRatherThanCut) {
    char path[MAX_PATH];
    const std::string deep = "C:\\" + std::string(250, 'x');
    EXPECT_FALSE(crash::PrepareKeptMinidumpPath(deep.c_str(), path));
    EXPECT_EQ(path[0], 0);
}
