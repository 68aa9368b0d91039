#include "config/cfg_core.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace std::string_literals;

constexpr DWORD kTextFile = kCfgStorageFile | kCfgFormatText | kGroup;
constexpr DWORD kBinaryFile = kCfgStorageFile | kCfgFormatBinary | kGroup;
constexpr DWORD kInFile = kCfgStorageFile | kGroup;

class CfgFileStorage : public ::testing::Test {
protected:
    void ExpectOnlyTheFile(const std::string& content) {
        EXPECT_EQ(TextOf(ReadWholeFile(file_)), content);
        EXPECT_EQ(FilesIn(folder_.path), std::vector<std::wstring>{L"settings.cfg"});
    }

    ScratchFolder folder_;
    const std::wstring file_ = folder_.File(L"settings.cfg");
    CACfgCore cfg_;
};

} // namespace

// A binary file holds little-endian lengths of name and data, then name and data.
TEST_F(CfgFileStorage, AMissingFileFailsALoadAtOnceAndIsCreatedByTheFirstSaveWithValues) {
    EXPECT_FALSE(cfg_.AddStorage(kBinaryFile | kCfgLoadAtOnce, PathInfo(file_)));
    ASSERT_TRUE(cfg_.AddStorage(kBinaryFile, PathInfo(file_)));
    EXPECT_EQ(ValueText(cfg_, "k"), "");
    EXPECT_TRUE(SetText(cfg_, "elsewhere", "v", kCfgStorageFile | 0x800)); // nothing to write
    EXPECT_TRUE(FilesIn(folder_.path).empty());
    EXPECT_TRUE(SetText(cfg_, "raw", "\0\1\n\xfe"s, kInFile, kCfgTypeBinary));
    ExpectOnlyTheFile("\3\0\0\0\4\0\0\0raw\0\1\n\xfe"s);
    // A missing folder is made only when asked for.
    const std::wstring nested = folder_.path + L"\\one\\two\\settings.cfg";
    for (const DWORD create : {DWORD{0}, kCfgCreateFolder}) {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextFile | create, PathInfo(nested)));
        EXPECT_EQ(SetText(cfg, "k", "v", kInFile), create != 0);
    }
    EXPECT_EQ(TextOf(ReadWholeFile(nested)), "k=v\r\n");
}

// The save writes a new file and puts it in the old one's place: a hard link to the old file
// keeps the old data, and a locked file is neither read half nor replaced.
TEST_F(CfgFileStorage, LockedFileIsNeitherReadHalfNorReplacedAndChangesWaitForIt) {
    WriteWholeFile(file_, "precious=1\r\n");
    const std::wstring link = folder_.File(L"old-data.lnk");
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), file_.c_str(), nullptr));
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    // Open so that nobody else may read, write or replace it.
    platform::UniqueHandle lock(::CreateFileW(file_.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(ValueText(cfg_, "precious"), "");
    EXPECT_FALSE(SetText(cfg_, "other", "2", kInFile));
    lock.Reset();
    EXPECT_EQ(TextOf(ReadWholeFile(file_)), "precious=1\r\n");
    // Free again: the next save reads what it could not read, and writes what waited.
    EXPECT_TRUE(SetText(cfg_, "more", "3", kInFile));
    EXPECT_EQ(TextOf(ReadWholeFile(file_)), "more=3\r\nother=2\r\nprecious=1\r\n");
    EXPECT_EQ(TextOf(ReadWholeFile(link)), "precious=1\r\n");
}

TEST_F(CfgFileStorage, FileThatDoesNotDecodeWholeIsReadOnlyOrHugeIsNeverOverwritten) {
    const struct {
        DWORD format;
        std::string content;
        const char* name;
        const char* value;
        DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    } cases[] = {
        {kBinaryFile, "\1\0\0\0\1\0\0\0a1\1\0\0\0\x7f\0\0\0b1"s, "a", "1"}, // bad after good
        {kBinaryFile, "name=value\r\n", "name", ""},                        // a text file
        {kTextFile, "[section]\r\nname=value\r\n", "name", "value"},        // another format
        {kTextFile, "name=value\r\n", "name", "value", FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        WriteWholeFile(file_, c.content);
        ASSERT_TRUE(::SetFileAttributesW(file_.c_str(), c.attributes));
        {
            CACfgCore cfg;
            ASSERT_TRUE(cfg.AddStorage(c.format | kCfgLoadAtOnce, PathInfo(file_))) << c.content;
            EXPECT_EQ(ValueText(cfg, c.name), c.value) << c.content;
            EXPECT_FALSE(SetText(cfg, "new", "1", kInFile)) << c.content;
        }
        ExpectOnlyTheFile(c.content); // also after the pending change was tried once more
        ::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // A sparse 3 GiB file: its size alone refuses it, before anything is read.
    std::filesystem::resize_file(file_, 3ull << 30);
    EXPECT_FALSE(cfg_.AddStorage(kBinaryFile | kCfgLoadAtOnce, PathInfo(file_)));
    ASSERT_TRUE(cfg_.AddStorage(kBinaryFile, PathInfo(file_)));
    EXPECT_FALSE(SetText(cfg_, "probe", "1", kInFile));
    EXPECT_EQ(std::filesystem::file_size(file_), 3ull << 30);
}

TEST_F(CfgFileStorage, TemporariesOfSavesCutShortAreDeletedByTheNextSave) {
    // Process ids are multiples of four: no process with this one is running.
    const std::wstring left = L"settings.cfg.7ffffff1.1f.tmp";
    const std::wstring running =
        platform::FormatWide(L"settings.cfg.%lx.2.tmp", ::GetCurrentProcessId());
    for (const std::wstring& name : {left, running, std::wstring(L"settings.cfg.backup.tmp")})
        WriteWholeFile(folder_.File(name.c_str()), "x");
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    EXPECT_TRUE(SetText(cfg_, "k", "v", kInFile));
    EXPECT_EQ(FilesIn(folder_.path),
              (std::vector<std::wstring>{L"settings.cfg", running, L"settings.cfg.backup.tmp"}));
}

// A fixed memory block takes only the records that fit whole, zero-fills the rest and says that
// some did not fit; nothing is written beyond it.
TEST(CfgMemoryBlock, TakesWholeRecordsOnlyAndNothingBeyondItsEnd) {
    Bytes region =
        BytesOf(std::string(16, '\xCD') + std::string(16, '\0') + std::string(16, '\xCD'));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kCfgStorageMemory | kCfgFormatText | kGroup,
                               {.memory = region.data() + 16, .memorySize = 16}));
    EXPECT_TRUE(SetText(cfg, "a", "1", kCfgStorageMemory | kGroup));
    EXPECT_FALSE(SetText(cfg, "b", "longer than the rest", kCfgStorageMemory | kGroup));
    EXPECT_FALSE(SetText(cfg, "c", "3", kCfgStorageMemory | kGroup));
    EXPECT_EQ(TextOf(Bytes(region.begin() + 16, region.end() - 16)),
              "a=1\r\nc=3\r\n" + std::string(6, '\0'));
    EXPECT_EQ(std::count(region.begin(), region.end(), 0xCD), 32);
}
