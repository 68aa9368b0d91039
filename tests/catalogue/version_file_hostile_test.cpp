// Version files as a broken or hostile server might send them: the parser reads what it can and
// never crashes, hangs or reads outside its buffers.

#include "catalogue/version_file.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

class HostileVersionFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = uitest::MakeTempFolder(L"zapdate-hostile-version-test"); }

    std::wstring Write(const std::string& bytes) {
        const std::wstring path = folder_ + L"\\update.ini";
        std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

    std::wstring folder_;
};

// Bytes that lean towards the file's own syntax, so the parser's paths are all taken.
std::string RandomIniText(std::mt19937& random, size_t length) {
    static const char kAlphabet[] =
        "[]=:;\r\n\t Kovra0123456789nameversionbuilddateurl_\x01\xff\x80";
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string text(length, ' ');
    for (char& c : text)
        c = kAlphabet[pick(random)];
    return text;
}

TEST_F(HostileVersionFileTest, RandomTextNeverBreaksTheParser) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 40; ++round) {
        const std::wstring path = Write(RandomIniText(random, 64 + round * 97));
        VersionFile file;
        file.LoadVersionFile(path);
        GlobalInfo info;
        file.ReadGlobalInfo(info);
        for (const OfferedBuild& build : file.Builds()) {
            OfferedBuild again;
            file.ParseSection(build.sectionName, again);
            EXPECT_LE(build.month, 99u);
            EXPECT_LE(build.day, 99u);
        }
    }
}

TEST_F(HostileVersionFileTest, OverflowingNumbersAndEndlessLinesAreSurvived) {
    std::string text = "[Kovra:99999999999999999999:-5]\r\n"
                       "version=4294967296.99999999999\r\nbuild=-1\r\n"
                       "date=99999999\r\nname=";
    text += std::string(100000, 'x');
    text += "\r\nurl=" + std::string(70000, '/') + "\r\n";
    VersionFile file;
    ASSERT_TRUE(file.LoadVersionFile(Write(text)));
    ASSERT_EQ(file.Builds().size(), 1u);
    const OfferedBuild& build = file.Builds()[0];
    EXPECT_EQ(build.name, L"") << "an overlong section is unreadable and keeps only its name's ids";
    EXPECT_EQ(build.familyTag, L"Kovra");
}

TEST_F(HostileVersionFileTest, NulBytesAndLoneCarriageReturnsDoNotConfuseTheSections) {
    std::string text = "[Tessel:1:22]\rname=Tessel\r\n";
    text += std::string("[Kovra:1:6]\r\nname=Ko\0vra\r\nbuild=12\r\n", 37);
    VersionFile file;
    file.LoadVersionFile(Write(text));
    for (const OfferedBuild& build : file.Builds())
        EXPECT_LE(build.name.size(), 16u);
}

TEST_F(HostileVersionFileTest, LongSectionNameListStillReadsWhole) {
    std::string text;
    const std::string longName(200, 'n');
    for (int i = 0; i < 2000; ++i)
        text += "[" + longName + ":1:" + std::to_string(i) + "]\r\n";
    VersionFile file;
    ASSERT_TRUE(file.LoadVersionFile(Write(text)));
    EXPECT_EQ(file.Builds().size(), 2000u);
}

} // namespace
