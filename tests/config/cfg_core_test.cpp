#include "config/cfg_core.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

// Two memory images in two groups; values choose theirs by the same bits.
constexpr DWORD kTextA = kCfgStorageMemory | kCfgFormatText | kGroup;
constexpr DWORD kTextB = kCfgStorageMemory | kCfgFormatText | 0x200;
constexpr DWORD kInA = kCfgStorageMemory | kGroup;
constexpr DWORD kInB = kCfgStorageMemory | 0x200;

TEST(CfgCore, SetValueSavesIntoEveryStorageOfItsGroupOnly) {
    Bytes a, b;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(a)));
    ASSERT_TRUE(cfg.AddStorage(kTextB, BufferInfo(b)));
    EXPECT_EQ(cfg.GetStorageFlags(), kTextA | kTextB);
    EXPECT_TRUE(SetText(cfg, "one", "1", kInA));
    EXPECT_TRUE(SetText(cfg, "two", "2", kInB));
    EXPECT_TRUE(SetText(cfg, "three", "3", kCfgStorageMemory | 0x400)); // in memory only
    EXPECT_EQ(ValueText(cfg, "three"), "3");
    EXPECT_EQ(TextOf(a) + "|" + TextOf(b), "one=1\r\n|two=2\r\n");
    EXPECT_TRUE(cfg.RemoveStorages());
    EXPECT_EQ(cfg.GetStorageFlags(), 0u);
    EXPECT_TRUE(SetText(cfg, "four", "4", kInA));
    EXPECT_EQ(TextOf(a), "one=1\r\n");
}

TEST(CfgCore, ValuesLoadOnDemandFromTheFirstStorageTheMaskAllows) {
    Bytes a = BytesOf("shared=from a\nonlyA=x\n"), b = BytesOf("shared=from b\nonlyB=y\n");
    for (const DWORD mask : {DWORD{0xFFFFFF}, kInB}) {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(a)));
        ASSERT_TRUE(cfg.AddStorage(kTextB, BufferInfo(b)));
        DWORD type = 99;
        EXPECT_EQ(ValueText(cfg, "shared", &type, mask), mask == kInB ? "from b" : "from a");
        EXPECT_EQ(type, kCfgTypeString);
        EXPECT_EQ(ValueText(cfg, "onlyA", nullptr, mask), mask == kInB ? "" : "x");
        EXPECT_EQ(ValueText(cfg, "onlyB", nullptr, mask), "y");
    }
}

TEST(CfgCore, DefaultsAreReadButNotSavedAndHideNoStoredValue) {
    Bytes buffer, stored = BytesOf("colour=green\n");
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA | kCfgSetDefault));
    EXPECT_EQ(ValueText(cfg, "colour"), "blue");
    EXPECT_TRUE(SetText(cfg, "colour", "red", kInA));
    EXPECT_EQ(TextOf(buffer), "colour=red\r\n");
    // Back at the default, the value counts as not set and leaves the image.
    EXPECT_TRUE(SetText(cfg, "other", "x", kInA));
    EXPECT_TRUE(SetText(cfg, "colour", "blue", kInA));
    EXPECT_EQ(ValueText(cfg, "colour"), "blue");
    EXPECT_EQ(TextOf(buffer), "other=x\r\n");
    EXPECT_TRUE(SetText(cfg, "other", "", kInA)); // the last value leaves an empty image
    EXPECT_TRUE(buffer.empty());
    // A default read before a storage was added does not hide that storage's value.
    CACfgCore late;
    EXPECT_TRUE(SetText(late, "colour", "blue", kInB | kCfgSetDefault));
    EXPECT_EQ(ValueText(late, "colour"), "blue");
    ASSERT_TRUE(late.AddStorage(kTextB, BufferInfo(stored)));
    EXPECT_EQ(ValueText(late, "colour"), "green");
}

// While saving is deferred or suppressed, changes wait for a later save; the destructor saves
// what is pending unless saving is still deferred. Values loaded meanwhile never replace what the
// caller set.
TEST(CfgCore, DeferredAndSuppressedSavesWaitAndStoredValuesNeverReplaceWhatTheCallerSet) {
    Bytes buffer = BytesOf("colour=green\nsize=10\n"), untouched;
    for (Bytes* target : {&buffer, &untouched}) {
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(*target)));
        cfg.SetDeferred(true);
        EXPECT_TRUE(cfg.IsDeferred());
        EXPECT_TRUE(SetText(cfg, "colour", "red", kInA));
        EXPECT_TRUE(SetText(cfg, "size", "", kInA)); // back to its default: nothing
        EXPECT_EQ(ValueText(cfg, "colour") + ValueText(cfg, "size"), "red");
        cfg.SetDeferred(target == &untouched);
        EXPECT_TRUE(SetText(cfg, "quiet", "2", kInA | kCfgNoSave));
        EXPECT_TRUE(SetText(cfg, "fallback", "3", kInA | kCfgSetDefault)); // nothing to save
        EXPECT_EQ(TextOf(*target), target == &buffer ? "colour=green\nsize=10\n" : "");
    }
    EXPECT_EQ(TextOf(buffer), "colour=red\r\nquiet=2\r\n");
    EXPECT_TRUE(untouched.empty());
}

// Read buffers hold their values until the outer EndRead; strings are kept without their
// terminator, and a value fails alone.
TEST(CfgCore, ValuesAndTheirReadBuffers) {
    Bytes buffer;
    CACfgCore cfg;
    ASSERT_TRUE(cfg.AddStorage(kTextA, BufferInfo(buffer)));
    const void* first = nullptr;
    ASSERT_TRUE(SetText(cfg, "a", "first", 0));
    cfg.BeginRead();
    ASSERT_EQ(cfg.GetValue("a", nullptr, &first, 0xFFFFFF), 5u);
    ASSERT_TRUE(SetText(cfg, "a", "changed", 0));
    EXPECT_EQ(ValueText(cfg, "a"), "changed"); // a read of its own inside
    EXPECT_STREQ(static_cast<const char*>(first), "first");
    cfg.EndRead();
    cfg.EndRead(); // one too many does no harm
    ASSERT_TRUE(cfg.SetValue("s", "abc", 4, kCfgTypeString, kInA));
    EXPECT_FALSE(cfg.SetValue(nullptr, "v", 1, kCfgTypeString, 0));
    EXPECT_FALSE(cfg.SetValue("n", nullptr, 1, kCfgTypeString, 0));
    // A text image cannot carry an escape byte (the first of 1): that value fails, not the rest.
    const unsigned one = 1;
    EXPECT_FALSE(cfg.SetValue("number", &one, sizeof one, kCfgTypeUnsigned, kInA));
    EXPECT_EQ(TextOf(buffer), "s=abc\r\n");
}
