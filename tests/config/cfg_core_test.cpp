#include "config/cfg_core.h"
#include "config/cfg_binary_format.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Two memory images in two groups; values choose theirs by the same bits.
constexpr DWORD kGroupA = 0x100;
constexpr DWORD kGroupB = 0x200;
constexpr DWORD kTextA = kCfgStorageMemory | kCfgFormatText | kGroupA;
constexpr DWORD kTextB = kCfgStorageMemory | kCfgFormatText | kGroupB;
constexpr DWORD kInA = kCfgStorageMemory | kGroupA;
constexpr DWORD kInB = kCfgStorageMemory | kGroupB;

CACfgStorageInfo BufferInfo(Bytes& buffer) {
    CACfgStorageInfo info;
    info.buffer = &buffer;
    return info;
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(CfgCore, SetValueSavesIntoEveryStorageOfItsGroupOnly) {
    Bytes a, b;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(a)));
    ASSERT_TRUE(cfg.AddStorage(kTextB, BufferInfo(b)));
    EXPECT_EQ(cfg.GetStorageFlags(), kTextA | kTextB);
    EXPECT_TRUE(SetText(cfg, "one", "1", kInA));
    EXPECT_TRUE(SetText(cfg, "two", "2", kInB));
    EXPECT_EQ(Text(a), "one=1\r\n");
    EXPECT_EQ(Text(b), "two=2\r\n");
    // A value of neither group is kept in memory only.
    EXPECT_TRUE(SetText(cfg, "three", "3", kCfgStorageMemory | 0x400));
    EXPECT_EQ(ValueText(cfg, "three"), "3");
    EXPECT_EQ(Text(a), "one=1\r\n");
}

TEST(CfgCore, ValuesLoadOnDemandFromTheFirstStorageHoldingThem) {
    Bytes a = BytesOf("shared=from a\nonlyA=x\n");
    Bytes b = BytesOf("shared=from b\nonlyB=y\n");
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(a)));
    ASSERT_TRUE(cfg.AddStorage(kTextB, BufferInfo(b)));
    DWORD type = 99;
    EXPECT_EQ(ValueText(cfg, "shared", &type), "from a");
    EXPECT_EQ(type, kCfgTypeString);
    EXPECT_EQ(ValueText(cfg, "onlyB"), "y");
    EXPECT_EQ(ValueText(cfg, "missing"), "");
    // The mask chooses which storages are asked.
    CACfgCore masked;
    ASSERT_TRUE(masked.AddStorage(kTextA, BufferInfo(a)));
    ASSERT_TRUE(masked.AddStorage(kTextB, BufferInfo(b)));
    EXPECT_EQ(ValueText(masked, "shared", nullptr, kInB), "from b");
}

TEST(CfgCore, LoadAtOnceReadsTheImageOrRefusesTheStorage) {
    Bytes good = BytesOf("k=v\n");
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA | kCfgLoadAtOnce, BufferInfo(good)));
    good.clear(); // the content was read when the storage was added
    EXPECT_EQ(ValueText(cfg, "k"), "v");

    Bytes huge(17u << 20, 'x');
    EXPECT_FALSE(cfg.AddStorage(kTextB | kCfgLoadAtOnce, BufferInfo(huge)));
    EXPECT_EQ(cfg.GetStorageFlags(), kTextA | kCfgLoadAtOnce);
}

TEST(CfgCore, StorageNeedsAKindItCanMakeAndExactlyOneFormat) {
    Bytes buffer;
    CACfgCore cfg;
    EXPECT_FALSE(cfg.AddStorage(kCfgStorageMemory | kGroupA, BufferInfo(buffer)));
    EXPECT_FALSE(cfg.AddStorage(kTextA | kCfgFormatBinary, BufferInfo(buffer)));
    EXPECT_FALSE(cfg.AddStorage(kTextA, CACfgStorageInfo{}));
    CACfgStorageInfo badSeparators = BufferInfo(buffer);
    badSeparators.separators[0] = '\n';
    EXPECT_FALSE(cfg.AddStorage(kTextA, badSeparators));
    // The file kind is tried first but has no path, so the memory image is taken.
    EXPECT_TRUE(cfg.AddStorage(kTextA | kCfgStorageFile, BufferInfo(buffer)));
    EXPECT_TRUE(SetText(cfg, "k", "v", kInA));
    EXPECT_EQ(Text(buffer), "k=v\r\n");
}

TEST(CfgCore, RemoveStoragesStopsMirroring) {
    Bytes buffer;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_TRUE(cfg.RemoveStorages());
    EXPECT_EQ(cfg.GetStorageFlags(), 0u);
    EXPECT_TRUE(SetText(cfg, "k", "v", kInA));
    EXPECT_TRUE(buffer.empty());
}

TEST(CfgCore, DefaultsAreReadButNotSaved) {
    Bytes buffer;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA | kCfgSetDefault));
    EXPECT_EQ(ValueText(cfg, "colour"), "blue");
    EXPECT_TRUE(SetText(cfg, "colour", "red", kInA));
    EXPECT_EQ(Text(buffer), "colour=red\r\n");
    // Back at the default, the value counts as not set and leaves the image.
    EXPECT_TRUE(SetText(cfg, "other", "x", kInA));
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA));
    EXPECT_EQ(ValueText(cfg, "colour"), "blue");
    EXPECT_EQ(Text(buffer), "other=x\r\n");
}

TEST(CfgCore, ADefaultSetBeforeReadingDoesNotHideTheStoredValue) {
    Bytes buffer = BytesOf("colour=green\n");
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA | kCfgSetDefault));
    EXPECT_EQ(ValueText(cfg, "colour"), "green");
}

TEST(CfgCore, AStorageAddedAfterALookupIsStillAsked) {
    Bytes buffer = BytesOf("colour=green\n");
    CACfgCore cfg;
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA | kCfgSetDefault));
    EXPECT_EQ(ValueText(cfg, "colour"), "blue");
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_EQ(ValueText(cfg, "colour"), "green");
}

TEST(CfgCore, StoredValuesNeverReplaceWhatTheCallerSet) {
    Bytes buffer = BytesOf("colour=green\nsize=10\n");
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    cfg.SetDeferred(true);
    EXPECT_TRUE(SetText(cfg, "colour", "red", kInA));
    // Set back to its default (nothing): the old stored value must not come back either.
    EXPECT_TRUE(SetText(cfg, "size", "", kInA));
    EXPECT_EQ(ValueText(cfg, "colour"), "red");
    EXPECT_EQ(ValueText(cfg, "size"), "");
    cfg.SetDeferred(false);
    EXPECT_TRUE(SetText(cfg, "new", "1", kInA));
    EXPECT_EQ(Text(buffer), "colour=red\r\nnew=1\r\n");
}

TEST(CfgCore, DeferredAndSuppressedSavesWaitForALaterSave) {
    Bytes buffer;
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
        cfg.SetDeferred(true);
        EXPECT_TRUE(cfg.IsDeferred());
        EXPECT_TRUE(SetText(cfg, "deferred", "1", kInA));
        EXPECT_TRUE(buffer.empty());
        cfg.SetDeferred(false);
        EXPECT_TRUE(SetText(cfg, "quiet", "2", kInA | kCfgNoSave));
        EXPECT_TRUE(buffer.empty());
        // Setting a default suppresses the save as well, and is nothing to save.
        EXPECT_TRUE(SetText(cfg, "fallback", "3", kInA | kCfgSetDefault));
        EXPECT_TRUE(buffer.empty());
    }
    // The destructor saved what was pending.
    EXPECT_EQ(Text(buffer), "deferred=1\r\nquiet=2\r\n");
    // Destroyed while still deferred, it saves nothing.
    Bytes untouched;
    {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(untouched)));
        cfg.SetDeferred(true);
        EXPECT_TRUE(SetText(cfg, "k", "v", kInA));
    }
    EXPECT_TRUE(untouched.empty());
}

TEST(CfgCore, ReadBuffersHoldTheirValuesUntilEndRead) {
    CACfgCore cfg;
    ASSERT_TRUE(SetText(cfg, "a", "first", 0));
    ASSERT_TRUE(SetText(cfg, "b", "second", 0));
    cfg.BeginRead();
    const void* a = nullptr;
    const void* b = nullptr;
    ASSERT_EQ(cfg.GetValue("a", nullptr, &a, 0xFFFFFF), 5u);
    ASSERT_EQ(cfg.GetValue("b", nullptr, &b, 0xFFFFFF), 6u);
    // Changing a value does not touch a buffer already handed out.
    ASSERT_TRUE(SetText(cfg, "a", "changed", 0));
    EXPECT_STREQ(static_cast<const char*>(a), "first");
    EXPECT_STREQ(static_cast<const char*>(b), "second");
    cfg.EndRead();
    // An EndRead too many does no harm.
    cfg.EndRead();
    EXPECT_EQ(ValueText(cfg, "a"), "changed");
}

TEST(CfgCore, StringsAreKeptWithoutTheirTerminator) {
    CACfgCore cfg;
    ASSERT_TRUE(cfg.SetValue("s", "abc", 4, kCfgTypeString, 0));
    ASSERT_TRUE(cfg.SetValue("w", L"xy", 6, kCfgTypeWideString, 0));
    cfg.BeginRead();
    const void* s = nullptr;
    const void* w = nullptr;
    DWORD type = 0;
    EXPECT_EQ(cfg.GetValue("s", &type, &s, 0xFFFFFF), 3u);
    EXPECT_EQ(type, kCfgTypeString);
    EXPECT_EQ(cfg.GetValue("w", &type, &w, 0xFFFFFF), 4u);
    EXPECT_EQ(type, kCfgTypeWideString);
    EXPECT_STREQ(static_cast<const char*>(s), "abc");
    EXPECT_STREQ(static_cast<const wchar_t*>(w), L"xy");
    cfg.EndRead();
}

TEST(CfgCore, EmptyOrMissingNamesAreRefused) {
    CACfgCore cfg;
    EXPECT_FALSE(SetText(cfg, "", "v", 0));
    EXPECT_FALSE(cfg.SetValue(nullptr, "v", 1, kCfgTypeString, 0));
    EXPECT_FALSE(cfg.SetValue("n", nullptr, 1, kCfgTypeString, 0));
    EXPECT_EQ(cfg.GetValue(nullptr, nullptr, nullptr, 0xFFFFFF), 0u);
}

TEST(CfgCore, BinaryImageKeepsEveryByte) {
    Bytes buffer;
    const std::string data("\0\x01\x02\x03\n\r=\xff", 8);
    {
        CACfgCore cfg;
        ASSERT_TRUE(
            cfg.AddStorage(kCfgStorageMemory | kCfgFormatBinary | kGroupA, BufferInfo(buffer)));
        EXPECT_TRUE(SetText(cfg, "raw", data, kInA, kCfgTypeBinary));
    }
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kCfgStorageMemory | kCfgFormatBinary | kGroupA | kCfgLoadAtOnce,
                                  BufferInfo(buffer)));
    DWORD type = 99;
    EXPECT_EQ(ValueText(reader, "raw", &type), data);
    EXPECT_EQ(type, kCfgTypeBinary);
}

TEST(CfgCore, TextImageRefusesBytesItCannotCarryButSavesTheRest) {
    Bytes buffer;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_TRUE(SetText(cfg, "good", "v", kInA));
    const unsigned value = 1; // its first byte is an escape byte
    EXPECT_FALSE(cfg.SetValue("number", &value, sizeof value, kCfgTypeUnsigned, kInA));
    EXPECT_EQ(Text(buffer), "good=v\r\n");
}
