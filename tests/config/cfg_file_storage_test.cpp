#include "config/cfg_core.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace std::string_literals;

constexpr DWORD kTextFile = kCfgStorageFile | kCfgFormatText | kGroup;
constexpr DWORD kBinaryFile = kCfgStorageFile | kCfgFormatBinary | kGroup;
constexpr DWORD kInFile = kCfgStorageFile | kGroup;

// Opens a file so that nobody else may read, write or replace it.
platform::UniqueHandle LockFile(const std::wstring& path) {
    return platform::UniqueHandle(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
}

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

TEST_F(CfgFileStorage, BinaryFileHoldsLittleEndianLengthsNameAndData) {
    ASSERT_TRUE(cfg_.AddStorage(kBinaryFile, PathInfo(file_)));
    EXPECT_TRUE(SetText(cfg_, "raw", "\0\1\n\xfe"s, kInFile, kCfgTypeBinary));
    ExpectOnlyTheFile("\3\0\0\0\4\0\0\0raw\0\1\n\xfe"s);
}

TEST_F(CfgFileStorage, AMissingFileFailsALoadAtOnceAndIsCreatedByTheFirstSaveWithValues) {
    EXPECT_FALSE(cfg_.AddStorage(kTextFile | kCfgLoadAtOnce, PathInfo(file_)));
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    EXPECT_EQ(ValueText(cfg_, "k"), "");
    EXPECT_TRUE(SetText(cfg_, "elsewhere", "v", kCfgStorageFile | 0x800)); // nothing to write
    EXPECT_TRUE(FilesIn(folder_.path).empty());
    EXPECT_TRUE(SetText(cfg_, "k", "v", kInFile));
    ExpectOnlyTheFile("k=v\r\n");
}

TEST_F(CfgFileStorage, CreatesItsFolderOnlyWhenAsked) {
    const std::wstring nested = folder_.path + L"\\one\\two\\settings.cfg";
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(nested)));
    EXPECT_FALSE(SetText(cfg_, "k", "v", kInFile));
    EXPECT_TRUE(FilesIn(folder_.path).empty());
    ASSERT_TRUE(cfg_.RemoveStorages());
    ASSERT_TRUE(cfg_.AddStorage(kTextFile | kCfgCreateFolder, PathInfo(nested)));
    EXPECT_TRUE(SetText(cfg_, "k", "v", kInFile));
    EXPECT_EQ(TextOf(ReadWholeFile(nested)), "k=v\r\n");
}

TEST_F(CfgFileStorage, LockedFileIsNeitherReadHalfNorReplacedAndChangesWaitForIt) {
    WriteWholeFile(file_, "precious=1\r\n");
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    platform::UniqueHandle lock = LockFile(file_);
    EXPECT_EQ(ValueText(cfg_, "precious"), "");
    EXPECT_FALSE(SetText(cfg_, "other", "2", kInFile));
    lock.Reset();
    ExpectOnlyTheFile("precious=1\r\n");
    // Free again: the next save reads what it could not read, and writes what waited.
    EXPECT_TRUE(SetText(cfg_, "more", "3", kInFile));
    ExpectOnlyTheFile("more=3\r\nother=2\r\nprecious=1\r\n");
    lock = LockFile(file_);
    EXPECT_FALSE(SetText(cfg_, "precious", "changed", kInFile));
    lock.Reset();
    ExpectOnlyTheFile("more=3\r\nother=2\r\nprecious=1\r\n");
    EXPECT_TRUE(SetText(cfg_, "more", "4", kInFile));
    ExpectOnlyTheFile("more=4\r\nother=2\r\nprecious=changed\r\n");
}

TEST_F(CfgFileStorage, SaveReplacesTheFileInsteadOfRewritingItInPlace) {
    WriteWholeFile(file_, "k=old\r\n");
    // A second name for the same data: had the save written into the old file, it would change.
    const std::wstring link = folder_.File(L"old-data.lnk");
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), file_.c_str(), nullptr));
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    EXPECT_TRUE(SetText(cfg_, "k", "new and longer", kInFile));
    EXPECT_EQ(TextOf(ReadWholeFile(file_)), "k=new and longer\r\n");
    EXPECT_EQ(TextOf(ReadWholeFile(link)), "k=old\r\n");
}

TEST_F(CfgFileStorage, ReadOnlyOrHugeFileIsNeverOverwritten) {
    WriteWholeFile(file_, "k=v\r\n");
    ASSERT_TRUE(::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(cfg_.AddStorage(kTextFile, PathInfo(file_)));
    EXPECT_FALSE(SetText(cfg_, "k", "new", kInFile));
    ExpectOnlyTheFile("k=v\r\n");
    ASSERT_TRUE(::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL));
    // A sparse 3 GiB file: its size alone refuses it, before anything is read.
    std::filesystem::resize_file(file_, 3ull << 30);
    CACfgCore huge;
    EXPECT_FALSE(huge.AddStorage(kBinaryFile | kCfgLoadAtOnce, PathInfo(file_)));
    ASSERT_TRUE(huge.AddStorage(kBinaryFile, PathInfo(file_)));
    EXPECT_FALSE(SetText(huge, "probe", "1", kInFile));
    EXPECT_EQ(std::filesystem::file_size(file_), 3ull << 30);
}

TEST_F(CfgFileStorage, FileThatDoesNotDecodeWholeIsReadButNeverOverwritten) {
    const struct {
        DWORD format;
        std::string content;
        const char* name;
        const char* value;
    } cases[] = {
        {kBinaryFile, "\1\0\0\0\1\0\0\0a1\1\0\0\0\x7f\0\0\0b1"s, "a", "1"}, // bad after good
        {kBinaryFile, "name=value\r\n", "name", ""},                        // a text file
        {kTextFile, "[section]\r\nname=value\r\n", "name", "value"},        // another format
    };
    for (const auto& c : cases) {
        WriteWholeFile(file_, c.content);
        {
            CACfgCore cfg;
            ASSERT_TRUE(cfg.AddStorage(c.format | kCfgLoadAtOnce, PathInfo(file_))) << c.content;
            EXPECT_EQ(ValueText(cfg, c.name), c.value) << c.content;
            EXPECT_FALSE(SetText(cfg, "new", "1", kInFile)) << c.content;
        }
        ExpectOnlyTheFile(c.content); // also after the pending change was tried once more
    }
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
