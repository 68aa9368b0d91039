// Real downloads from the nginx that the test fixture starts on loopback.

#include "platform/text.h"
#include "service/http_transfer.h"
#include "tests/service/test_files.h"
#include "tests/support/nginx_server.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

using service::CHttpTransfer;
using service::CRequestInfo;
using service::ErrorKind;
using service::TransferResult;
using servicetest::ReadWholeFile;
using servicetest::TempFile;

namespace {

class NginxDownload : public ::testing::Test {
protected:
    void SetUp() override {
        const std::optional<testsupport::NginxServer> server = testsupport::FindNginx();
        if (!server)
            GTEST_SKIP() << "no nginx fixture (run through CTest)";
        server_ = *server;
    }

    CRequestInfo Get(const std::string& path) const {
        CRequestInfo request;
        request.host = "127.0.0.1";
        request.port = server_.port;
        request.path = path;
        return request;
    }

    std::string Served(const std::wstring& relative) const {
        return ReadWholeFile(server_.root + relative);
    }

    testsupport::NginxServer server_;
    TempFile output_{L"nginx.bin"};
};

TEST_F(NginxDownload, PackageArrivesByteForByteAlsoOverASelfSignedCertificate) {
    const std::string expected = Served(L"/packages/kovra_setup.exe");
    ASSERT_GT(expected.size(), 300000u);
    for (const bool secure : {false, true}) {
        uint32_t lastTotal = 0, lastReceived = 0;
        CHttpTransfer transfer(
            [&](uint32_t total, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
                lastTotal = total;
                lastReceived = received;
            });
        // The query that every GET carries does not disturb a static server.
        CRequestInfo request = Get("/packages/kovra_setup.exe");
        request.body = "p=7&q=abc";
        // The certificate is accepted on the one retry with relaxed checks.
        request.secure = secure;
        request.port = secure ? server_.securePort : server_.port;
        ASSERT_EQ(transfer.Perform(output_.Path(), request), TransferResult::Done) << secure;
        EXPECT_TRUE(output_.Contents() == expected);
        EXPECT_EQ(lastTotal, expected.size());
        EXPECT_EQ(lastReceived, expected.size());
    }
}

TEST_F(NginxDownload, FolderRedirectIsFollowedAndAMissingFileGivesItsText) {
    // nginx answers "/folder" with a 301 to "http://127.0.0.1:<port>/folder/".
    CHttpTransfer transfer;
    ASSERT_EQ(transfer.Perform(output_.Path(), Get("/folder")), TransferResult::Done);
    EXPECT_EQ(output_.Contents(), Served(L"/folder/index.html"));
    EXPECT_EQ(transfer.Perform(output_.Path(), Get("/packages/missing.exe")),
              TransferResult::Failed);
    std::wstring text;
    EXPECT_EQ(transfer.GetError(text), ErrorKind::HttpStatus);
    EXPECT_EQ(text, L"Requested file not found.");
}

} // namespace
