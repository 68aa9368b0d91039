#include "config/cfg_core.h"
#include "config/cfg_storage_win32_reg.h"
#include "platform/unique_resource.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr DWORD kGroup = 0x100;
constexpr DWORD kRegistry = kCfgStorageRegistry | kGroup;
constexpr DWORD kInRegistry = kCfgStorageRegistry | kGroup;
constexpr wchar_t kExampleKey[] = L"SOFTWARE\\Example";

struct RegistryValue {
    LONG result = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    Bytes data;
};

RegistryValue Query(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
    RegistryValue value;
    platform::UniqueRegKey opened;
    value.result = ::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, opened.Put());
    if (value.result != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    value.result = ::RegQueryValueExW(opened.Get(), name, nullptr, &value.type, nullptr, &size);
    if (value.result != ERROR_SUCCESS)
        return value;
    value.data.resize(size);
    value.result =
        ::RegQueryValueExW(opened.Get(), name, nullptr, &value.type, value.data.data(), &size);
    return value;
}

void Write(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
           DWORD size) {
    platform::UniqueRegKey created;
    ASSERT_EQ(
        ::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, created.Put(), nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(created.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

uint64_t AsInteger(const Bytes& data) {
    uint64_t value = 0;
    std::memcpy(&value, data.data(), std::min(data.size(), sizeof value));
    return value;
}

CACfgStorageInfo PathInfo(const wchar_t* path) {
    CACfgStorageInfo info;
    info.path = path;
    return info;
}

class CfgRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean() {
        for (const REGSAM view : {REGSAM{KEY_WOW64_32KEY}, REGSAM{KEY_WOW64_64KEY}})
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, View(view).c_str());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ZapdateCfgTest");
    }

    // RegDeleteTree has no view argument: reach each view's key through its own handle.
    static std::wstring View(REGSAM view) {
        return view == KEY_WOW64_32KEY ? L"SOFTWARE\\Wow6432Node\\Example" : kExampleKey;
    }

    CACfgCore cfg_;
};

} // namespace

TEST_F(CfgRegistry, NameWithKeyPartReadsThatSubKeyUnderTheLocalMachine) {
    const wchar_t text[] = L"hello";
    Write(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Name", REG_SZ, text, sizeof text);
    ASSERT_TRUE(cfg_.AddStorage(kRegistry | kCfgLoadAtOnce, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    cfg_.BeginRead();
    DWORD type = 0;
    const void* buffer = nullptr;
    EXPECT_EQ(cfg_.GetValue("Sub\\Name", &type, &buffer, kInRegistry), 10u);
    EXPECT_EQ(type, kCfgTypeWideString);
    EXPECT_STREQ(static_cast<const wchar_t*>(buffer), L"hello");
    // A slash separates the same way.
    EXPECT_EQ(cfg_.GetValue("Sub/Name", nullptr, nullptr, kInRegistry), 10u);
    EXPECT_EQ(cfg_.GetValue("Sub\\Other", nullptr, nullptr, kInRegistry), 0u);
    cfg_.EndRead();
}

TEST_F(CfgRegistry, RootsAreRecognisedInUpperCaseOnly) {
    const wchar_t text[] = L"there";
    Write(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Name", REG_SZ, text, sizeof text);
    EXPECT_FALSE(cfg_.AddStorage(kRegistry | kCfgLoadAtOnce, PathInfo(L"hklm\\SOFTWARE\\Example")));
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"hklm\\SOFTWARE\\Example")));
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKCR\\SOFTWARE\\Example")));
    EXPECT_EQ(cfg_.GetValue("Sub\\Name", nullptr, nullptr, kInRegistry), 0u);
    // Nothing is written, and the save says so.
    EXPECT_FALSE(SetText(cfg_, "Sub\\New", "v", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"New").result,
              ERROR_FILE_NOT_FOUND);
}

TEST_F(CfgRegistry, CurrentUserRootAndTheBaseKeyItself) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKCU\\Software\\ZapdateCfgTest")));
    EXPECT_TRUE(SetText(cfg_, "Top", "t", kInRegistry));
    const RegistryValue value = Query(HKEY_CURRENT_USER, L"Software\\ZapdateCfgTest", L"Top");
    ASSERT_EQ(value.result, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(value.data.data()), L"t");
}

TEST_F(CfgRegistry, SignedTwoByteMinusTwoIsSavedAsDwordAfterSignExtension) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    const int16_t minusTwo = -2;
    EXPECT_TRUE(cfg_.SetValue("Sub\\Signed", &minusTwo, 2, kCfgTypeSigned, kInRegistry));
    const RegistryValue value = Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Signed");
    ASSERT_EQ(value.result, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(value.data.size(), 4u);
    EXPECT_EQ(AsInteger(value.data), 0xFFFFFFFEu);
}

TEST_F(CfgRegistry, IntegersTakeDwordUpToFourBytesAndQwordAbove) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    const uint64_t six = 0x0000A1B2C3D4E5F6ull;
    EXPECT_TRUE(cfg_.SetValue("Six", &six, 6, kCfgTypeUnsigned, kInRegistry));
    const uint8_t high = 0xFF;
    EXPECT_TRUE(cfg_.SetValue("Byte", &high, 1, kCfgTypeUnsigned, kInRegistry));
    const int64_t minusFive = -5;
    EXPECT_TRUE(cfg_.SetValue("Five", &minusFive, 5, kCfgTypeSigned, kInRegistry));

    RegistryValue value = Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Six");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_QWORD));
    ASSERT_EQ(value.data.size(), 8u);
    EXPECT_EQ(AsInteger(value.data), six);
    value = Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Byte");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(AsInteger(value.data), 0xFFu);
    value = Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Five");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(AsInteger(value.data), static_cast<uint64_t>(minusFive));

    // Nine bytes have no registry form: that value fails, and nothing is written for it.
    const unsigned char nine[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(cfg_.SetValue("Nine", nine, 9, kCfgTypeUnsigned, kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Nine").result, ERROR_FILE_NOT_FOUND);
    // It can never be saved, so it does not fail every later save as well.
    EXPECT_TRUE(cfg_.SetValue("Byte", &high, 1, kCfgTypeUnsigned, kInRegistry));
}

TEST_F(CfgRegistry, WideStringRoundTrip) {
    const std::wstring text = L"Gr\u00fc\u00dfe \u2603 \u4e2d\u6587";
    {
        CACfgCore writer;
        ASSERT_TRUE(writer.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
        EXPECT_TRUE(writer.SetValue("Sub\\Wide", text.c_str(), text.size() * sizeof(wchar_t),
                                    kCfgTypeWideString, kInRegistry));
    }
    const RegistryValue value = Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Wide");
    ASSERT_EQ(value.result, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value.data.data())), text);

    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    cfg_.BeginRead();
    DWORD type = 0;
    const void* buffer = nullptr;
    EXPECT_EQ(cfg_.GetValue("Sub\\Wide", &type, &buffer, kInRegistry),
              text.size() * sizeof(wchar_t));
    EXPECT_EQ(type, kCfgTypeWideString);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(buffer)), text);
    cfg_.EndRead();
}

TEST_F(CfgRegistry, ValueSetBackToItsDefaultIsDeletedFromTheKey) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    EXPECT_TRUE(SetText(cfg_, "Sub\\Mode", "standard", kInRegistry | kCfgSetDefault));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Mode").result,
              ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(SetText(cfg_, "Sub\\Mode", "expert", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Mode").result, ERROR_SUCCESS);
    EXPECT_TRUE(SetText(cfg_, "Sub\\Mode", "standard", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Sub", L"Mode").result,
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ValueText(cfg_, "Sub\\Mode"), "standard");
    // Deleting where no key is creates none.
    EXPECT_TRUE(SetText(cfg_, "Gone\\Mode", "", kInRegistry));
    platform::UniqueRegKey key;
    EXPECT_EQ(
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Example\\Gone", 0, KEY_READ, key.Put()),
        ERROR_FILE_NOT_FOUND);
}

TEST_F(CfgRegistry, NamesOverTheLimitAreRefused) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    const std::string longest(255, 'n');
    EXPECT_TRUE(SetText(cfg_, longest.c_str(), "ok", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, std::wstring(255, L'n').c_str()).result,
              ERROR_SUCCESS);
    const std::string tooLong(256, 'n');
    EXPECT_FALSE(SetText(cfg_, tooLong.c_str(), "no", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, std::wstring(256, L'n').c_str()).result,
              ERROR_FILE_NOT_FOUND);
    // "SOFTWARE\Example\" and 239 more characters of key path make 256.
    const std::string longKey = std::string(239, 'k') + "\\Name";
    CACfgCore other;
    ASSERT_TRUE(other.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    EXPECT_FALSE(SetText(other, longKey.c_str(), "no", kInRegistry));
    EXPECT_EQ(other.GetValue(tooLong.c_str(), nullptr, nullptr, kInRegistry), 0u);
}

TEST_F(CfgRegistry, DeferredChangesAreWrittenByTheNextSave) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    cfg_.SetDeferred(true);
    EXPECT_TRUE(SetText(cfg_, "Early", "1", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Early").result, ERROR_FILE_NOT_FOUND);
    cfg_.SetDeferred(false);
    EXPECT_TRUE(SetText(cfg_, "Late", "2", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Early").result, ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Late").result, ERROR_SUCCESS);
}

TEST_F(CfgRegistry, ThirtyTwoAndSixtyFourPrefixesChooseTheRegistryView) {
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"32:HKLM\\SOFTWARE\\Example")));
    EXPECT_TRUE(SetText(cfg_, "View", "32", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"View", KEY_WOW64_32KEY).result,
              ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"View", KEY_WOW64_64KEY).result,
              ERROR_FILE_NOT_FOUND);

    CACfgCore wide;
    ASSERT_TRUE(wide.AddStorage(kRegistry, PathInfo(L"64:HKLM\\SOFTWARE\\Example")));
    EXPECT_TRUE(SetText(wide, "View64", "64", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"View64", KEY_WOW64_64KEY).result,
              ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"View64", KEY_WOW64_32KEY).result,
              ERROR_FILE_NOT_FOUND);
}

TEST_F(CfgRegistry, StoredIntegerLoadsAsUnsigned) {
    const DWORD number = 1234;
    Write(HKEY_LOCAL_MACHINE, kExampleKey, L"Count", REG_DWORD, &number, sizeof number);
    ASSERT_TRUE(cfg_.AddStorage(kRegistry, PathInfo(L"HKLM\\SOFTWARE\\Example")));
    cfg_.BeginRead();
    DWORD type = 0;
    const void* buffer = nullptr;
    ASSERT_EQ(cfg_.GetValue("Count", &type, &buffer, kInRegistry), 4u);
    EXPECT_EQ(type, kCfgTypeUnsigned);
    EXPECT_EQ(*static_cast<const DWORD*>(buffer), number);
    cfg_.EndRead();
}

TEST_F(CfgRegistry, UnreachableRemoteMachineGivesAnInertStorage) {
    CACfgStorageInfo info = PathInfo(L"HKLM\\SOFTWARE\\Example");
    info.machine = "no-such-machine.invalid";
    CfgValueTree tree;
    const CACfgStorageWin32Reg storage(tree, kRegistry, info.path, info.machine);
    EXPECT_TRUE(storage.IsInert());
    EXPECT_FALSE(cfg_.AddStorage(kRegistry | kCfgLoadAtOnce, info));
}

TEST_F(CfgRegistry, RemoteNameOfThisMachineReachesItsRegistry) {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof name;
    ASSERT_TRUE(::GetComputerNameA(name, &length));
    const std::string machine = std::string("\\\\") + name;
    CACfgStorageInfo info = PathInfo(L"HKLM\\SOFTWARE\\Example");
    info.machine = machine.c_str();
    ASSERT_TRUE(cfg_.AddStorage(kRegistry | kCfgLoadAtOnce, info));
    EXPECT_TRUE(SetText(cfg_, "Remote", "r", kInRegistry));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, kExampleKey, L"Remote").result, ERROR_SUCCESS);
}
