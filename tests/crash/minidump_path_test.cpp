#include "crash/minidump.h"

#include <gtest/gtest.h>

#include <string>

TEST(MinidumpPath, EveryMissingFolderOfThePathIsCreated) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "crash_folder_test";
    EXPECT_TRUE(crash::CreateFolderPath((folder + "\\a\\b").c_str()));
    EXPECT_NE(::GetFileAttributesA((folder + "\\a\\b").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(crash::CreateFolderPath((folder + "/a/b/").c_str())); // exists, other separators
    for (const char* made : {"\\a\\b", "\\a", ""})
        ::RemoveDirectoryA((folder + made).c_str());
}

TEST(MinidumpPath, APathThatDoesNotFitIsRefusedRatherThanCut) {
    char path[MAX_PATH];
    const std::string deep = "C:\\" + std::string(250, 'x');
    EXPECT_FALSE(crash::PrepareKeptMinidumpPath(deep.c_str(), path));
    EXPECT_EQ(path[0], 0);
    ::RemoveDirectoryA(deep.c_str());
}
