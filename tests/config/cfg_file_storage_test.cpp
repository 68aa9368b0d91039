#include "config/cfg_core.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr DWORD kGroup = 0x100;
constexpr DWORD kTextFile = kCfgStorageFile | kCfgFormatText | kGroup;
constexpr DWORD kBinaryFile = kCfgStorageFile | kCfgFormatBinary | kGroup;
constexpr DWORD kInFile = kCfgStorageFile | kGroup;
constexpr DWORD kTextBlock = kCfgStorageMemory | kCfgFormatText | kGroup;
constexpr DWORD kBinaryBlock = kCfgStorageMemory | kCfgFormatBinary | kGroup;
constexpr DWORD kInBlock = kCfgStorageMemory | kGroup;

CACfgStorageInfo FileInfo(const std::wstring& path) {
    CACfgStorageInfo info;
    info.path = path.c_str();
    return info;
}

CACfgStorageInfo BlockInfo(Bytes& block) {
    CACfgStorageInfo info;
    info.memory = block.data();
    info.memorySize = block.size();
    return info;
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Opens a file so that nobody else may read, write or replace it.
platform::UniqueHandle LockFile(const std::wstring& path) {
    return platform::UniqueHandle(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
}

class CfgFileStorage : public ::testing::Test {
protected:
    ScratchFolder folder_;
    const std::wstring file_ = folder_.File(L"settings.cfg");
};

} // namespace

TEST_F(CfgFileStorage, TextLinesAreReadWithTheFirstEqualsSignAsSeparator) {
    WriteWholeFile(file_, BytesOf("a=b=c\r\n=x\r\nx=\r\nplain line\r\nlast=1"));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    DWORD type = 0;
    EXPECT_EQ(ValueText(cfg, "a", &type), "b=c");
    EXPECT_EQ(type, kCfgTypeString);
    EXPECT_EQ(ValueText(cfg, "x"), "");
    EXPECT_EQ(ValueText(cfg, ""), "");
    EXPECT_EQ(ValueText(cfg, "plain line"), "");
    EXPECT_EQ(ValueText(cfg, "last"), "1");
}

TEST_F(CfgFileStorage, SeparatorsInsideValuesAndNamesSurviveSaveAndLoad) {
    const std::string tricky = "line one\nline two\r\nthree=four\rend";
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
        EXPECT_TRUE(SetText(cfg, "tricky", tricky, kInFile));
        EXPECT_TRUE(SetText(cfg, "key=with\nbreak", "v", kInFile));
    }
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    EXPECT_EQ(ValueText(reader, "tricky"), tricky);
    EXPECT_EQ(ValueText(reader, "key=with\nbreak"), "v");
}

TEST_F(CfgFileStorage, BinaryFileRoundTrip) {
    const std::string data("\0\x01\n\r=\xfe", 6);
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kBinaryFile, FileInfo(file_)));
        EXPECT_TRUE(SetText(cfg, "raw", data, kInFile, kCfgTypeBinary));
    }
    EXPECT_EQ(ReadWholeFile(file_),
              (Bytes{3, 0, 0, 0, 6, 0, 0, 0, 'r', 'a', 'w', 0, 1, '\n', '\r', '=', 0xfe}));
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kBinaryFile, FileInfo(file_)));
    EXPECT_EQ(ValueText(reader, "raw"), data);
}

TEST_F(CfgFileStorage, AMissingFileIsAnEmptyConfigurationThatTheFirstSaveCreates) {
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    EXPECT_FALSE(FileExists(file_));
    EXPECT_TRUE(SetText(cfg, "k", "v", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(file_)), "k=v\r\n");
}

TEST_F(CfgFileStorage, EmptyConfigurationLeavesTheFileUntouched) {
    const Bytes content = BytesOf("; nothing but a comment\r\n");
    WriteWholeFile(file_, content);
    const std::wstring absent = folder_.File(L"absent.cfg");
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
        ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(absent)));
        // Belongs to no storage, so both have nothing to write.
        EXPECT_TRUE(SetText(cfg, "elsewhere", "v", kCfgStorageFile | 0x800));
    }
    EXPECT_EQ(ReadWholeFile(file_), content);
    EXPECT_FALSE(FileExists(absent));
}

TEST_F(CfgFileStorage, ValuesNeverReadAreKeptWhenAnotherIsSaved) {
    WriteWholeFile(file_, BytesOf("old=1\r\n"));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
    EXPECT_TRUE(SetText(cfg, "new", "2", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(file_)), "new=2\r\nold=1\r\n");
}

TEST_F(CfgFileStorage, TheLastValueSetBackToItsDefaultLeavesTheFile) {
    WriteWholeFile(file_, BytesOf("only=1\r\n"));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    EXPECT_TRUE(SetText(cfg, "only", "", kInFile));
    EXPECT_TRUE(ReadWholeFile(file_).empty());
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    EXPECT_EQ(ValueText(reader, "only"), "");
}

TEST_F(CfgFileStorage, CreatesItsFolderOnlyWhenAsked) {
    const std::wstring nested = folder_.Path() + L"\\one\\two\\settings.cfg";
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(nested)));
        EXPECT_FALSE(SetText(cfg, "k", "v", kInFile));
    }
    EXPECT_FALSE(FileExists(nested));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgCreateFolder, FileInfo(nested)));
    EXPECT_TRUE(SetText(cfg, "k", "v", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(nested)), "k=v\r\n");
}

TEST_F(CfgFileStorage, FailedReplacementLeavesTheOldFileWholeAndNoTemporaryBehind) {
    const Bytes original = BytesOf("first=1\r\nsecond=2\r\n");
    WriteWholeFile(file_, original);
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    {
        platform::UniqueHandle lock = LockFile(file_);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(SetText(cfg, "first", "changed", kInFile));
    }
    EXPECT_EQ(ReadWholeFile(file_), original);
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::wstring>{L"settings.cfg"});
    // The change is still pending and goes out with the next save.
    EXPECT_TRUE(SetText(cfg, "third", "3", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(file_)), "first=changed\r\nsecond=2\r\nthird=3\r\n");
}

TEST_F(CfgFileStorage, SaveReplacesTheFileInsteadOfRewritingItInPlace) {
    const Bytes original = BytesOf("k=old\r\n");
    WriteWholeFile(file_, original);
    // A second name for the same data: had the save written into the old file, this would
    // change as well.
    const std::wstring link = folder_.File(L"old-data.lnk");
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), file_.c_str(), nullptr));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    EXPECT_TRUE(SetText(cfg, "k", "new and longer", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(file_)), "k=new and longer\r\n");
    EXPECT_EQ(ReadWholeFile(link), original);
}

TEST_F(CfgFileStorage, ChangeOfAFailedSaveIsSavedWhenTheConfigurationEnds) {
    WriteWholeFile(file_, BytesOf("k=v\r\n"));
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
        platform::UniqueHandle lock = LockFile(file_);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(SetText(cfg, "k", "pending", kInFile));
    }
    EXPECT_EQ(Text(ReadWholeFile(file_)), "k=pending\r\n");
}

TEST_F(CfgFileStorage, ReadOnlyFileIsNotReplaced) {
    const Bytes original = BytesOf("k=v\r\n");
    WriteWholeFile(file_, original);
    ASSERT_TRUE(::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
    EXPECT_FALSE(SetText(cfg, "k", "new", kInFile));
    EXPECT_EQ(ReadWholeFile(file_), original);
    EXPECT_EQ(FilesIn(folder_.Path()).size(), 1u);
}

TEST_F(CfgFileStorage, TemporaryThatCannotBeCreatedFailsTheSave) {
    const Bytes original = BytesOf("k=v\r\n");
    WriteWholeFile(file_, original);
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    // The folder is gone: neither the temporary nor the file can be written.
    ASSERT_TRUE(::DeleteFileW(file_.c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(folder_.Path().c_str()));
    EXPECT_FALSE(SetText(cfg, "k", "new", kInFile));
    EXPECT_FALSE(FileExists(folder_.Path()));
    ::CreateDirectoryW(folder_.Path().c_str(), nullptr);
}

TEST_F(CfgFileStorage, FileThatCouldNotBeReadIsNeverOverwritten) {
    const Bytes original = BytesOf("precious=1\r\n");
    WriteWholeFile(file_, original);
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
    {
        platform::UniqueHandle lock = LockFile(file_);
        ASSERT_TRUE(lock);
        EXPECT_EQ(ValueText(cfg, "precious"), "");
        EXPECT_FALSE(SetText(cfg, "other", "2", kInFile));
    }
    EXPECT_EQ(ReadWholeFile(file_), original);
    // Readable again: the next save reads it first and keeps what it held.
    EXPECT_TRUE(SetText(cfg, "other", "3", kInFile));
    EXPECT_EQ(Text(ReadWholeFile(file_)), "other=3\r\nprecious=1\r\n");
}

TEST_F(CfgFileStorage, OversizedFileIsRefusedAndKept) {
    Bytes huge(17u << 20, 'x');
    huge[0] = 'k';
    huge[1] = '=';
    WriteWholeFile(file_, huge);
    CACfgCore cfg;
    EXPECT_FALSE(cfg.AddStorage(kTextFile | kCfgLoadAtOnce, FileInfo(file_)));
    ASSERT_TRUE(cfg.AddStorage(kTextFile, FileInfo(file_)));
    EXPECT_EQ(ValueText(cfg, "k"), "");
    EXPECT_FALSE(SetText(cfg, "k", "v", kInFile));
    EXPECT_EQ(ReadWholeFile(file_).size(), huge.size());
}

TEST(CfgMemoryBlock, TextImageIsTruncatedToWholeLinesAndZeroFilled) {
    Bytes block(24, 0xAA);
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextBlock, BlockInfo(block)));
    EXPECT_TRUE(SetText(cfg, "a", "1", kInBlock));
    // "b" does not fit whole: left out, and the save says so; "c" still fits after it.
    EXPECT_TRUE(SetText(cfg, "b", std::string(30, 'x'), kInBlock | kCfgNoSave));
    EXPECT_FALSE(SetText(cfg, "c", "3", kInBlock));
    Bytes expected = BytesOf("a=1\r\nc=3\r\n");
    expected.resize(block.size(), 0);
    EXPECT_EQ(block, expected);

    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kTextBlock | kCfgLoadAtOnce, BlockInfo(block)));
    EXPECT_EQ(ValueText(reader, "a"), "1");
    EXPECT_EQ(ValueText(reader, "c"), "3");
    EXPECT_EQ(ValueText(reader, "b"), "");
}

TEST(CfgMemoryBlock, BinaryImageTakesWholeRecordsAndReadsBack) {
    Bytes block(30, 0xAA);
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kBinaryBlock, BlockInfo(block)));
    EXPECT_TRUE(SetText(cfg, "a", "12", kInBlock, kCfgTypeBinary));
    EXPECT_FALSE(SetText(cfg, "b", std::string(20, 'y'), kInBlock, kCfgTypeBinary));
    Bytes expected{1, 0, 0, 0, 2, 0, 0, 0, 'a', '1', '2'};
    expected.resize(block.size(), 0);
    EXPECT_EQ(block, expected);

    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kBinaryBlock | kCfgLoadAtOnce, BlockInfo(block)));
    EXPECT_EQ(ValueText(reader, "a"), "12");
}
