// The version file as the system's profile functions read it: sections, keys, limits.

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

constexpr char kCompleteBuild[] = "[Kovra:1:6]\r\n"
                                  "name=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20260401\r\n"
                                  "method=GET\r\nurl=http://127.0.0.1/dl/kovra.exe\r\n"
                                  "res_id=1\r\nlang_id=en\r\n";

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

TEST_F(VersionFileTest, CompleteBuildHasEveryField) {
    const VersionFile file = Load(std::string(kCompleteBuild) + "platform=WTL\r\nparam_01=a\r\n"
                                                                "param_1=b\r\nPARAM_02=c\r\n"
                                                                "param_10=x=y\r\nobsolete=1\r\n");
    ASSERT_EQ(file.Builds().size(), 1u);
    const OfferedBuild& build = file.Builds()[0];
    EXPECT_EQ(build.sectionName, L"Kovra:1:6");
    EXPECT_EQ(build.familyTag, L"Kovra");
    EXPECT_EQ(build.resId, 1u);
    EXPECT_EQ(build.offeredProductId, 6u);
    EXPECT_EQ(build.name, L"Kovra");
    EXPECT_EQ(build.major, 5u);
    EXPECT_EQ(build.minor, 3u);
    EXPECT_EQ(build.build, 1250u);
    EXPECT_EQ(build.year, 2026u);
    EXPECT_EQ(build.month, 4u);
    EXPECT_EQ(build.day, 1u);
    EXPECT_EQ(build.method, "GET");
    EXPECT_EQ(build.url, "http://127.0.0.1/dl/kovra.exe");
    EXPECT_EQ(build.langId, "en");
    EXPECT_TRUE(build.wtlVariant);
    ASSERT_EQ(build.params.size(), 2u);
    EXPECT_EQ(build.params[0].first, L"01");
    EXPECT_EQ(build.params[0].second, L"a");
    EXPECT_EQ(build.params[1].first, L"10");
    EXPECT_EQ(build.params[1].second, L"x=y");
    OfferedBuild again;
    EXPECT_TRUE(file.ParseSection(L"Kovra:1:6", again));
}

TEST_F(VersionFileTest, KeysMatchWithoutCaseAndValuesAreTrimmed) {
    const VersionFile file =
        Load("[Kovra:1:6]\r\n  Name = Kovra  \r\nBUILD=\t7 \r\ndate=20240517xyz\r\n");
    const OfferedBuild& build = file.Builds().at(0);
    EXPECT_EQ(build.name, L"Kovra");
    EXPECT_EQ(build.build, 7u);
    // A date takes its first eight characters.
    EXPECT_EQ(build.year, 2024u);
    EXPECT_EQ(build.month, 5u);
    EXPECT_EQ(build.day, 17u);
    EXPECT_EQ(build.resId, 1u);
    EXPECT_EQ(build.offeredProductId, 6u);
}

TEST_F(VersionFileTest, BadValuesArePassedOverAndTheScanGoesOn) {
    const VersionFile file = Load("[Kovra:1:6]\r\nversion=7\r\ndate=2024051\r\nno equals\r\n"
                                  "name=Kovra\r\nplatform=x64\r\nres_id=12\r\n");
    const OfferedBuild& build = file.Builds().at(0);
    EXPECT_EQ(build.major, 0u);
    EXPECT_EQ(build.year, 0u);
    EXPECT_EQ(build.name, L"Kovra");
    EXPECT_FALSE(build.wtlVariant);
    EXPECT_EQ(build.resId, 12u) << "res_id overwrites the name's value";
    OfferedBuild again;
    EXPECT_FALSE(file.ParseSection(L"Kovra:1:6", again));
}

TEST_F(VersionFileTest, SectionNamesOfOtherShapesAddNothing) {
    const VersionFile file =
        Load("[Kovra]\r\nname=a\r\n[Kovra:1]\r\nname=b\r\n[  global]\r\nversion=1\r\n"
             "[ Tessel:x:22:9]\r\nname=c\r\n[GLOBAL]\r\nname=d\r\n[::]\r\nname=e\r\n");
    EXPECT_TRUE(file.HasGlobalSection());
    // The system trims blanks inside the brackets and merges "GLOBAL" into "global".
    ASSERT_EQ(file.Builds().size(), 2u);
    EXPECT_EQ(file.Builds()[0].sectionName, L"Tessel:x:22:9");
    EXPECT_EQ(file.Builds()[0].familyTag, L"Tessel");
    EXPECT_EQ(file.Builds()[0].resId, 0u) << "no digits read as 0";
    EXPECT_EQ(file.Builds()[0].offeredProductId, 22u);
    EXPECT_EQ(file.Builds()[1].familyTag, L"");
    EXPECT_EQ(file.Builds()[1].offeredProductId, 0u);
}

TEST_F(VersionFileTest, OverlongSectionKeepsOnlyTheValuesOfItsName) {
    std::string text = "[Kovra:1:6]\r\nname=Kovra\r\n";
    while (text.size() < 1200)
        text += "comment_key=0123456789012345678901234567890123456789\r\n";
    const VersionFile file = Load(text);
    const OfferedBuild& build = file.Builds().at(0);
    EXPECT_EQ(build.name, L"");
    EXPECT_EQ(build.resId, 1u);
    EXPECT_EQ(build.offeredProductId, 6u);
}

TEST_F(VersionFileTest, BuildsKeepFileOrderAndCommentsAndBlankLinesAreSkipped) {
    const VersionFile file = Load("; a comment\r\n\r\n[Tessel:1:22]\r\n; name=hidden\r\n"
                                  "name=Tessel\r\n\r\n[Kovra:1:6]\r\nname=Kovra\r\n");
    ASSERT_EQ(file.Builds().size(), 2u);
    EXPECT_EQ(file.Builds()[0].name, L"Tessel");
    EXPECT_EQ(file.Builds()[1].name, L"Kovra");
}

TEST_F(VersionFileTest, UnicodeFileReadsLikeAnAnsiOne) {
    const std::wstring text = L"[Kovra:1:6]\r\nname=Ковра\r\nbuild=5\r\n";
    const std::wstring path = folder_ + L"\\unicode.ini";
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write("\xFF\xFE", 2);
    out.write(reinterpret_cast<const char*>(text.data()),
              static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
    out.close();
    VersionFile file;
    ASSERT_TRUE(file.LoadVersionFile(path));
    EXPECT_EQ(file.Builds().at(0).name, L"Ковра");
    EXPECT_EQ(file.Builds().at(0).build, 5u);
}

TEST_F(VersionFileTest, ManySectionNamesGrowTheBuffer) {
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "[Kovra:1:" + std::to_string(i) + "]\r\nbuild=" + std::to_string(i) + "\r\n";
    const VersionFile file = Load(text);
    ASSERT_EQ(file.Builds().size(), 3000u);
    EXPECT_EQ(file.Builds()[2999].offeredProductId, 2999u);
    EXPECT_EQ(file.Builds()[2999].build, 2999u);
}

} // namespace
