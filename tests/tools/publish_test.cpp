// The maker's publishing tool: what "check" reports, what "hash" writes, and the signatures of
// "keygen" and "sign".

#include "catalogue/version_file.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "tests/support/ui_automation.h"
#include "tools/publish/file_bytes.h"
#include "tools/publish/signing_keys.h"
#include "tools/publish/version_file_check.h"
#include "tools/publish/version_file_hashes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr char kGlobal[] = "[global]\r\nversion=1\r\nurl=http://127.0.0.1/\r\n\r\n";
constexpr char kComplete[] = "name=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20261130\r\n"
                             "method=GET\r\nurl=http://127.0.0.1/dl/kovra.exe\r\nres_id=1\r\n"
                             "lang_id=en\r\n";

class Publish : public ::testing::Test {
protected:
    void SetUp() override { folder_ = uitest::MakeTempFolder(L"zapdate-publish-test"); }

    std::wstring Write(const std::wstring& name, const std::string& bytes) const {
        const std::wstring path = folder_ + L"\\" + name;
        std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
        return path;
    }
    std::string Read(const std::wstring& path) const {
        const auto bytes = publish::ReadFileBytes(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    std::wstring folder_;
};

// The complete section without the line that starts with `drop`, and with `add`.
std::string Section(const char* drop, const std::string& add) {
    std::string lines = kComplete;
    if (const size_t at = lines.find(drop); *drop != '\0' && at != std::string::npos)
        lines.erase(at, lines.find('\n', at) + 1 - at);
    return "[Kovra:1:6]\r\n" + lines + add + "\r\n";
}

} // namespace

TEST_F(Publish, CheckNamesEachProblemBySectionAndKey) {
    const std::string upperHash(64, 'A');
    struct Case {
        const char* drop;
        std::string add;
        const wchar_t* key; // nothing reported when null
        const wchar_t* says;
    } const cases[] = {
        {"", "param_01=a\r\nsha256=" + upperHash + "\r\nplatform=x64\r\n", nullptr, nullptr},
        {"method=", "method=POST\r\n", nullptr, nullptr},
        {"date=", "", L"date", L"missing; the section is incomplete"},
        {"version=", "version=7\r\n", L"version", L"\"7\" has no point"},
        {"date=", "date=2026113\r\n", L"date", L"shorter than the eight characters"},
        {"", "param_1=a\r\n", L"param_1", L"ignored"},
        {"", "PARAM_01=a\r\n", L"PARAM_01", L"ignored"},
        {"url=", "url=http://127.0.0.1\r\n", L"url", L"cannot be split"},
        {"url=", "url=http://127.0.0.1:99999/dl/k.exe\r\n", L"url", L"cannot be split"},
        {"method=", "method=get\r\n", L"method", L"neither GET nor POST"},
        {"", "sha256=" + upperHash.substr(1) + "\r\n", L"sha256", L"not 64 hexadecimal"},
        {"", "sha256=\r\n", L"sha256", L"not 64 hexadecimal"},
        {"", "param_long=" + std::string(1000, 'x') + "\r\n", L"section", L"more than the 1021"},
        {"", "\r\n[Kovra:1:6:copy]\r\n" + std::string(kComplete), L"section",
         L"never chosen: the earlier section [Kovra:1:6]"},
    };
    for (const Case& c : cases) {
        const std::string file = kGlobal + Section(c.drop, c.add);
        SCOPED_TRACE(file);
        const auto problems = publish::CheckVersionFile(Write(L"update.ini", file));
        if (c.key == nullptr) {
            EXPECT_TRUE(problems.empty())
                << platform::AnsiFromWide(publish::ProblemLine(problems[0]));
            continue;
        }
        ASSERT_EQ(problems.size(), 1u);
        const std::wstring line = publish::ProblemLine(problems[0]);
        EXPECT_EQ(problems[0].key, c.key) << platform::AnsiFromWide(line);
        EXPECT_NE(problems[0].text.find(c.says), std::wstring::npos)
            << platform::AnsiFromWide(line);
        EXPECT_EQ(line.rfind(L"[Kovra:1:6", 0), 0u) << platform::AnsiFromWide(line);
    }
    EXPECT_EQ(publish::CheckVersionFile(folder_ + L"\\missing.ini").size(), 1u);
}

TEST_F(Publish, HashWritesTheHashesAndLeavesEveryOtherByte) {
    ::CreateDirectoryW((folder_ + L"\\dl").c_str(), nullptr);
    Write(L"dl\\a.exe", "package a");
    Write(L"dl\\b.exe", "package b");
    const std::string a = platform::Sha256Text(*platform::Sha256OfFile(folder_ + L"\\dl\\a.exe"));
    const std::string b = platform::Sha256Text(*platform::Sha256OfFile(folder_ + L"\\dl\\b.exe"));
    const std::string head = "; kept\r\n[global]\r\nurl=http://h/dl/a.exe\r\n\r\n"
                             "[A:1:6]\r\nname = A\r\nurl=http://h:8080/dl/a.exe\r\n  SHA256 = ";
    const std::string middle = "\r\n; note\r\n\r\n[B:1:7]\nname=B\nurl=http://h/dl/b.exe\n";
    const std::string tail = "; b's note\n\n[C:1:8]\r\nurl=http://h/dl/none.exe";
    const std::wstring path = Write(L"update.ini", head + "00" + middle + tail);

    std::vector<std::wstring> notes;
    ASSERT_TRUE(publish::HashVersionFile(path, folder_, notes));
    EXPECT_EQ(Read(path), head + a + middle + "sha256=" + b + "\n" + tail);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind(L"[C:1:8] url:", 0), 0u) << platform::AnsiFromWide(notes[0]);
}

TEST_F(Publish, HashThenCheckOnTheDemoSiteReportsNothing) {
    uitest::Process site =
        uitest::Launch(L"\"" + uitest::ProgramFolder() + L"demo_site.exe\" --root \"" + folder_ +
                       L"\" --port 8080");
    ASSERT_EQ(uitest::WaitForExit(site, 60000), 0);
    const std::wstring versionFile = folder_ + L"\\downloads\\update.ini";
    std::vector<std::wstring> notes;
    ASSERT_TRUE(publish::HashVersionFile(versionFile, folder_, notes));
    for (const auto& problem : publish::CheckVersionFile(versionFile))
        ADD_FAILURE() << platform::AnsiFromWide(publish::ProblemLine(problem));
    VersionFile parsed;
    ASSERT_TRUE(parsed.LoadVersionFile(versionFile));
    size_t hashed = 0;
    for (const OfferedBuild& build : parsed.Builds()) {
        if (!build.sha256)
            continue;
        ++hashed;
        const std::wstring package =
            folder_ + platform::WideFromAnsi(build.url.substr(build.url.find("/dl/")));
        EXPECT_EQ(*build.sha256, platform::Sha256Text(*platform::Sha256OfFile(package)));
    }
    EXPECT_EQ(hashed + notes.size(), parsed.Builds().size()) << "every package is hashed";
    EXPECT_GT(hashed, 0u);
}

TEST_F(Publish, SignatureHoldsOnlyForTheSignedBytesAndItsKey) {
    const std::wstring privateKey = folder_ + L"\\maker.private";
    const std::wstring publicKey = folder_ + L"\\maker.public";
    std::wstring error;
    ASSERT_TRUE(publish::MakeKeyPair(privateKey, publicKey, error))
        << platform::AnsiFromWide(error);
    const std::string kept = Read(privateKey);
    const std::wstring otherPublic = folder_ + L"\\other.public";
    EXPECT_FALSE(publish::MakeKeyPair(privateKey, otherPublic, error)) << "never replaces a key";
    EXPECT_EQ(Read(privateKey), kept);
    ASSERT_TRUE(publish::MakeKeyPair(folder_ + L"\\other.private", otherPublic, error));

    const std::wstring file = Write(L"update.ini", kGlobal);
    ASSERT_TRUE(publish::SignFile(file, privateKey, error)) << platform::AnsiFromWide(error);
    EXPECT_EQ(Read(file + L".sig").size(), 64u);
    EXPECT_TRUE(publish::VerifyFileSignature(file, publicKey, error));
    EXPECT_FALSE(publish::VerifyFileSignature(file, otherPublic, error));
    EXPECT_FALSE(publish::SignFile(file, publicKey, error)) << "a public key cannot sign";

    const std::string signature = Read(file + L".sig");
    Write(L"update.ini.sig", signature.substr(0, 63));
    EXPECT_FALSE(publish::VerifyFileSignature(file, publicKey, error)) << "cut short";
    Write(L"update.ini.sig", signature);
    Write(L"update.ini", std::string(kGlobal) + " ");
    EXPECT_FALSE(publish::VerifyFileSignature(file, publicKey, error)) << "one byte more";
}
