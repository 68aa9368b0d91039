// The version file as the system's profile functions read it: the global section, the limits.
// The generated files of version_file_hostile_test.cpp cover the keys and section names.

#include "catalogue/version_file.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class VersionFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = uitest::MakeTempFolder(L"zapdate-version-file-test"); }

    // Writes 8-bit text as the service sends it.
    std::wstring Write(const std::string& text, const wchar_t* name = L"update.ini") {
        const std::wstring path = folder_ + L"\\" + name;
        std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
        return path;
    }

    VersionFile Load(const std::string& text, bool expected = true) {
        VersionFile file;
        EXPECT_EQ(file.LoadVersionFile(Write(text)), expected);
        return file;
    }

    std::wstring folder_;
};

TEST_F(VersionFileTest, OnlyAGlobalSectionLoadsWithoutBuilds) {
    const VersionFile file = Load("[global]\r\nversion=3\r\nurl=http://example.test/\r\n");
    EXPECT_TRUE(file.HasGlobalSection());
    EXPECT_TRUE(file.Builds().empty());
    GlobalInfo info;
    ASSERT_TRUE(file.ReadGlobalInfo(info));
    EXPECT_EQ(info.version, 3u);
    EXPECT_EQ(info.url, L"http://example.test/");
    // The global keys are exact: "Version" is not "version".
    EXPECT_FALSE(Load("[global]\r\nVersion=3\r\nurl=x\r\n").ReadGlobalInfo(info));
    EXPECT_EQ(info.url, L"x");
}

TEST_F(VersionFileTest, MissingOrEmptyFileDoesNotLoad) {
    VersionFile missing;
    EXPECT_FALSE(missing.LoadVersionFile(folder_ + L"\\absent.ini"));
    Load("", false);
    Load("no sections here\r\nkey=value\r\n", false);
}

TEST_F(VersionFileTest, SectionOfMoreThan1021CharactersIsUnreadable) {
    // The lines as the reader gives them, each with its terminating zero.
    const std::vector<std::string> lines = {"name=Kovra",    "version=5.3", "build=1250",
                                            "date=20260401", "method=GET",  "url=http://x/",
                                            "res_id=1",      "lang_id=en"};
    size_t length = 0;
    for (const std::string& line : lines)
        length += line.size() + 1;
    for (const size_t total : {1021u, 1022u}) {
        std::string text = "[Kovra:2:6]\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
        text += "pad=" + std::string(total - length - 5, 'p') + "\r\n";
        VersionFile file; // a file of its own per case: the reader keeps recent files cached
        ASSERT_TRUE(file.LoadVersionFile(Write(text, total == 1021 ? L"a.ini" : L"b.ini")));
        OfferedBuild build;
        EXPECT_EQ(file.ParseSection(L"Kovra:2:6", build), total == 1021) << total;
        EXPECT_EQ(file.Builds().at(0).name, total == 1021 ? L"Kovra" : L"") << total;
        EXPECT_EQ(file.Builds().at(0).resId, total == 1021 ? 1u : 2u) << total;
    }
}

TEST_F(VersionFileTest, ManySectionNamesGrowTheBuffer) {
    std::string text;
    for (int i = 0; i < 1200; ++i)
        text += "[Kovra:1:" + std::to_string(i) + "]\r\nbuild=" + std::to_string(i) + "\r\n";
    const VersionFile file = Load(text);
    ASSERT_EQ(file.Builds().size(), 1200u);
    EXPECT_EQ(file.Builds()[1199].offeredProductId, 1199u);
    EXPECT_EQ(file.Builds()[1199].build, 1199u);
}

} // namespace
