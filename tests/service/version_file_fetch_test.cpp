// The version-file fetch against a scripted server named by the host override.

#include <winsock2.h>

#include "platform/resource_strings.h"
#include "resources/resource_ids.h"
#include "service/version_file_fetch.h"
#include "tests/service/test_files.h"
#include "tests/support/scripted_http_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class VersionFileFetch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.IsRunning());
        wchar_t folder[MAX_PATH];
        const DWORD length = ::GetTempPathW(MAX_PATH, folder);
        folder_ = std::wstring(folder, length) + L"zapdate_fetch_" +
                  std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        const std::string host = "127.0.0.1:" + std::to_string(server_.Port());
        ::SetEnvironmentVariableA(service::kUpdateHostVariable, host.c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA(service::kUpdateHostVariable, nullptr);
        ::DeleteFileW(service::VersionFilePath(folder_).c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }

    testsupport::ScriptedHttpServer server_;
    std::wstring folder_;
};

TEST_F(VersionFileFetch, StoresTheFileInTheUpdateFolder) {
    const std::string ini = "[global]\r\nversion=3\r\nurl=http://update.velk.com/\r\n";
    server_.Enqueue(testsupport::ScriptedReply::Html(ini));
    service::CHttpTransfer transfer;
    std::wstring path;
    std::vector<std::pair<uint32_t, std::wstring>> progress;
    EXPECT_TRUE(service::FetchVersionFile(
        transfer, folder_, path,
        [&](uint32_t code, const std::wstring& text) { progress.emplace_back(code, text); }));
    EXPECT_EQ(path, folder_ + L"\\kv__path.tmp");
    EXPECT_EQ(servicetest::ReadWholeFile(path), ini);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].first, 2u);
    EXPECT_EQ(progress[0].second, platform::ResourceString(IDS_GATHERING_INFORMATION));
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/downloads/update.ini?");
    EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0].Header("Host"), "127.0.0.1:" + std::to_string(server_.Port()));
}

TEST_F(VersionFileFetch, FailsWhenTheServerHasNoFile) {
    server_.Enqueue(testsupport::ScriptedReply::Status(404, "Not Found"));
    service::CHttpTransfer transfer;
    std::wstring path;
    EXPECT_FALSE(service::FetchVersionFile(transfer, folder_, path, {}));
    EXPECT_EQ(path, folder_ + L"\\kv__path.tmp");
}

} // namespace
