#include "config/cfg_core.h"
#include "config/cfg_registry_path.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

constexpr DWORD kRegistry = kCfgStorageRegistry | kGroup;
constexpr wchar_t kExample[] = L"HKLM\\SOFTWARE\\Example";
constexpr wchar_t kKey[] = L"SOFTWARE\\Example";
constexpr wchar_t kSubKey[] = L"SOFTWARE\\Example\\Sub";

// The value's type and bytes; REG_NONE when it is not there.
std::pair<DWORD, Bytes> Query(const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
    platform::UniqueRegKey opened;
    DWORD type = REG_NONE, size = 0;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | view, opened.Put()) !=
            ERROR_SUCCESS ||
        ::RegQueryValueExW(opened.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {REG_NONE, {}};
    Bytes data(size);
    ::RegQueryValueExW(opened.Get(), name, nullptr, nullptr, data.data(), &size);
    return {type, data};
}

class CfgRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    // RegDeleteTree has no view argument: each view's key is reached by its own path.
    static void Clean() {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Example");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
    }

    CACfgCore cfg_;
};

} // namespace

// A name's key part is a key below the base key. Integers take a DWORD up to 4 bytes and a QWORD
// above, after sign extension; strings are written as wide text. Read back, integers are
// unsigned and strings wide, without their terminator.
TEST_F(CfgRegistry, ValuesAreWrittenWithTheirRegistryTypeAndReadBack) {
    const struct {
        const char* name;
        DWORD type;
        std::string data;
        const wchar_t* key;
        const wchar_t* value;
        DWORD registryType;
        std::string stored;
    } cases[] = {
        {"Sub\\Name", kCfgTypeWideString, "h\0i\0"s, kSubKey, L"Name", REG_SZ, "h\0i\0\0\0"s},
        {"Sub/Text", kCfgTypeString, "t", kSubKey, L"Text", REG_SZ, "t\0\0\0"s},
        {"Two", kCfgTypeSigned, "\376\377", kKey, L"Two", REG_DWORD, "\376\377\377\377"},
        {"One", kCfgTypeUnsigned, "\377", kKey, L"One", REG_DWORD, "\377\0\0\0"s},
        {"Six", kCfgTypeUnsigned, "123456", kKey, L"Six", REG_QWORD, "123456\0\0"s},
        {"Five", kCfgTypeSigned, "\373\377\377\377\377", kKey, L"Five", REG_QWORD,
         std::string(1, '\373') + std::string(7, '\377')},
    };
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(kExample)));
    CACfgCore reader;
    ASSERT_TRUE(reader.AddStorage(kRegistry | kCfgLoadAtOnce, PathInfo(kExample)));
    for (const auto& c : cases) {
        EXPECT_TRUE(SetText(cfg_, c.name, c.data, kRegistry, c.type)) << c.name;
        EXPECT_EQ(Query(c.key, c.value), (std::pair{c.registryType, BytesOf(c.stored)})) << c.name;
        const bool text = c.registryType == REG_SZ;
        DWORD type = 0;
        EXPECT_EQ(ValueText(reader, c.name, &type),
                  text ? c.stored.substr(0, c.stored.size() - 2) : c.stored);
        EXPECT_EQ(type, text ? kCfgTypeWideString : kCfgTypeUnsigned) << c.name;
    }
    // Nine bytes have no registry form: that save fails once, and nothing is written for it.
    EXPECT_FALSE(SetText(cfg_, "Nine", "123456789", kRegistry, kCfgTypeUnsigned));
    EXPECT_EQ(Query(kKey, L"Nine").first, DWORD{REG_NONE});
    EXPECT_TRUE(SetText(cfg_, "One", "1", kRegistry, kCfgTypeUnsigned));
}

TEST_F(CfgRegistry, StorageThatReachesNothingLoadsAtOnceButReadsAndWritesNothing) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(kExample)));
    ASSERT_TRUE(SetText(cfg_, "Sub\\Name", "there", kRegistry));
    const std::pair<const wchar_t*, const char*> cases[] = {{L"hklm\\SOFTWARE\\Example", nullptr},
                                                            {L"HKCR\\SOFTWARE\\Example", nullptr},
                                                            {kExample, "no-such-machine.invalid"}};
    for (const auto& [path, machine] : cases) {
        const CACfgStorageInfo info{.path = path, .machine = machine};
        CACfgCore cfg;
        ASSERT_TRUE(cfg.AddStorage(kRegistry | kCfgLoadAtOnce, info));
        EXPECT_EQ(ValueText(cfg, "Sub\\Name"), "");
        EXPECT_FALSE(SetText(cfg, "Sub\\New", "v", kRegistry)); // nothing written, and said so
        EXPECT_EQ(Query(kSubKey, L"New").first, DWORD{REG_NONE});
    }
}

// Back at its default a value is deleted from its key; where no key is, none is made for that.
TEST_F(CfgRegistry, ValueSetBackToItsDefaultIsDeletedFromTheKey) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(kExample)));
    EXPECT_TRUE(SetText(cfg_, "Sub\\Mode", "expert", kRegistry));
    EXPECT_TRUE(SetText(cfg_, "Sub\\Mode", "", kRegistry));
    EXPECT_EQ(Query(kSubKey, L"Mode").first, DWORD{REG_NONE});
    EXPECT_TRUE(SetText(cfg_, "Gone\\Mode", "", kRegistry));
    platform::UniqueRegKey key;
    EXPECT_EQ(
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Gone", 0, KEY_READ, key.Put()),
        ERROR_FILE_NOT_FOUND);
}

// "32:" asks for the 32-bit view everywhere; "64:" for the 64-bit one, or none on a 32-bit system.
TEST_F(CfgRegistry, ThirtyTwoAndSixtyFourPrefixesChooseTheRegistryView) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(std::wstring(L"32:") + kExample)));
    EXPECT_TRUE(SetText(cfg_, "View", "32", kRegistry));
    EXPECT_NE(Query(kKey, L"View", KEY_WOW64_32KEY).first, DWORD{REG_NONE});
    EXPECT_EQ(Query(kKey, L"View", KEY_WOW64_64KEY).first, DWORD{REG_NONE});
    EXPECT_EQ(ParseCfgRegistryPath("64:HKCU\\x", true)->view, REGSAM{KEY_WOW64_64KEY});
    EXPECT_EQ(ParseCfgRegistryPath("64:HKCU\\x", false)->view, 0u);
    EXPECT_EQ(ParseCfgRegistryPath("32:HKCU\\x", false)->view, REGSAM{KEY_WOW64_32KEY});
    EXPECT_FALSE(ParseCfgRegistryPath("64:32:HKLM\\x", true));
}
