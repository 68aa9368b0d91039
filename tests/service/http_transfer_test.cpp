// The transport against the scripted server on loopback: what goes on the wire, how statuses,
// redirects, refused replies, cut-short bodies and cancels end, and what the progress says.

#include <winsock2.h>

#include "platform/event.h"
#include "platform/resource_strings.h"
#include "platform/thread.h"
#include "resources/resource_ids.h"
#include "service/http_transfer.h"
#include "tests/service/test_files.h"
#include "tests/support/scripted_http_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using service::CHttpTransfer;
using service::CRequestInfo;
using service::ErrorKind;
using service::TransferResult;
using servicetest::PatternBytes;
using servicetest::TempFile;
using testsupport::RecordedRequest;
using testsupport::ScriptedHttpServer;
using testsupport::ScriptedReply;

namespace {

const std::wstring& CantConnect() {
    return platform::ResourceString(IDS_CANT_CONNECT);
}

// A loopback port that was free a moment ago and has no listener now.
uint16_t FreePort() {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(s);
    return ntohs(address.sin_port);
}

struct ProgressCall {
    uint32_t total, received, rate, remaining, elapsed, last;
};

class HttpTransferTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.IsRunning()); }

    CRequestInfo Request(const std::string& verb, const std::string& path,
                         const std::string& body = {}) const {
        CRequestInfo request;
        request.verb = verb;
        request.host = "127.0.0.1";
        request.port = server_.Port();
        request.path = path;
        request.body = body;
        return request;
    }

    RecordedRequest OnlyRequest() const {
        const auto requests = server_.Requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RecordedRequest{} : requests.front();
    }

    std::wstring ErrorText(const CHttpTransfer& transfer, ErrorKind& kind) const {
        std::wstring text;
        kind = transfer.GetError(text);
        return text;
    }

    // Runs `request` through `transfer` into the output file and checks its end: the result,
    // and for a failure the error kind and, where given, its text.
    void ExpectRun(CHttpTransfer& transfer, const CRequestInfo& request, TransferResult result,
                   ErrorKind kind = ErrorKind::NoConnection, const wchar_t* text = nullptr) {
        EXPECT_EQ(transfer.Perform(output_.Path(), request), result) << request.path;
        if (result != TransferResult::Failed)
            return;
        ErrorKind got;
        const std::wstring message = ErrorText(transfer, got);
        EXPECT_EQ(got, kind) << request.path;
        if (text) {
            EXPECT_EQ(message, text) << request.path;
        }
    }
    void ExpectRun(const CRequestInfo& request, TransferResult result,
                   ErrorKind kind = ErrorKind::NoConnection, const wchar_t* text = nullptr) {
        CHttpTransfer transfer;
        ExpectRun(transfer, request, result, kind, text);
    }

    ScriptedHttpServer server_;
    TempFile output_{L"transfer.bin"};
};

TEST_F(HttpTransferTest, GetWithoutBodyEndsInQuestionMarkAndCarriesTheFormHeader) {
    server_.Enqueue(ScriptedReply::Binary("version file"));
    CHttpTransfer transfer;
    EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/downloads/update.ini")),
              TransferResult::Done);
    const RecordedRequest request = OnlyRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/downloads/update.ini?");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Header("User-Agent"), "Velk Update Wizard");
    EXPECT_TRUE(request.body.empty());
    EXPECT_EQ(output_.Contents(), "version file");
    ErrorKind kind;
    EXPECT_EQ(ErrorText(transfer, kind), CantConnect());
    EXPECT_EQ(kind, ErrorKind::NoConnection);
    EXPECT_TRUE(transfer.IdleEvent().IsSet());
}

TEST_F(HttpTransferTest, GetSendsItsParametersAsTheQuery) {
    server_.Enqueue(ScriptedReply::Binary("x"));
    ExpectRun(Request("GET", "/dl/a.exe", "p=7&q=abc"), TransferResult::Done);
    const RecordedRequest request = OnlyRequest();
    EXPECT_EQ(request.target, "/dl/a.exe?p=7&q=abc");
    EXPECT_TRUE(request.body.empty());
}

TEST_F(HttpTransferTest, PostSendsItsParametersAsTheFormBody) {
    server_.Enqueue(ScriptedReply::Binary("package"));
    ExpectRun(Request("POST", "/dl/get", "p=7&q=abc"), TransferResult::Done);
    const RecordedRequest request = OnlyRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/dl/get");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, "p=7&q=abc");
    EXPECT_EQ(output_.Contents(), "package");
}

TEST_F(HttpTransferTest, PostWithoutBodySendsTheHeaderAndNoData) {
    server_.Enqueue(ScriptedReply::Binary("package"));
    ExpectRun(Request("POST", "/dl/get"), TransferResult::Done);
    const RecordedRequest request = OnlyRequest();
    EXPECT_EQ(request.target, "/dl/get");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_TRUE(request.body.empty());
    const std::string length = request.Header("Content-Length");
    EXPECT_TRUE(length.empty() || length == "0") << length;
}

TEST_F(HttpTransferTest, OutputFileThatCannotBeCreatedFailsWithoutNetworkAccess) {
    server_.Enqueue(ScriptedReply::Binary("x"));
    CHttpTransfer transfer;
    const std::wstring path = output_.Path() + L"_missing_folder\\file.bin";
    EXPECT_EQ(transfer.Perform(path, Request("GET", "/x")), TransferResult::Failed);
    ErrorKind kind;
    const std::wstring text = ErrorText(transfer, kind);
    EXPECT_EQ(kind, ErrorKind::OutputFile);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, CantConnect());
    EXPECT_EQ(server_.RequestCount(), 0u);
    EXPECT_TRUE(transfer.IdleEvent().IsSet());
}

TEST_F(HttpTransferTest, UnreachablePortFailsWithTheConnectionText) {
    CHttpTransfer transfer;
    CRequestInfo request = Request("GET", "/x");
    request.port = FreePort();
    EXPECT_EQ(transfer.Perform(output_.Path(), request), TransferResult::Failed);
    ErrorKind kind;
    EXPECT_EQ(ErrorText(transfer, kind), L"Can't connect with Velk Update Service");
    // Whether the failed send leaves a status behind is WinInet's affair.
    EXPECT_TRUE(kind == ErrorKind::NoConnection || kind == ErrorKind::HttpStatus);
}

TEST_F(HttpTransferTest, FtpRequestFailsBeforeAnythingIsSent) {
    // The transport speaks only HTTP; an ftp address ends in a session error with its text.
    CHttpTransfer transfer;
    CRequestInfo request = Request("GET", "/pub/a.exe");
    request.service = INTERNET_SERVICE_FTP;
    request.port = FreePort();
    EXPECT_EQ(transfer.Perform(output_.Path(), request), TransferResult::Failed);
    ErrorKind kind;
    const std::wstring text = ErrorText(transfer, kind);
    EXPECT_EQ(kind, ErrorKind::Session);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(server_.RequestCount(), 0u);
}

// Statuses.

TEST_F(HttpTransferTest, ErrorStatusesGiveTheirTextsAndUnknownOnesTheConnectionText) {
    struct Case {
        int status;
        const wchar_t* text;
    } cases[] = {
        {404, L"Requested file not found."},
        {403, L"Requested file not found."},
        {500, L"The server encountered an unexpected condition that prevented it from "
              L"fulfilling the request."},
        {503, L"The service is temporarily overloaded."},
        {405, L"Can't connect with Velk Update Service"},
        {300, L"The server couldn't decide what to return."},
    };
    CHttpTransfer transfer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        server_.Enqueue(ScriptedReply::Status(c.status, "Status", "<html>error page</html>"));
        ExpectRun(transfer, Request("GET", "/missing.exe"), TransferResult::Failed,
                  ErrorKind::HttpStatus, c.text);
        // The error page is not taken for the file.
        EXPECT_EQ(output_.Contents(), "") << c.status;
    }
}

TEST_F(HttpTransferTest, ErrorOfOneRequestIsResetByTheNext) {
    server_.Enqueue(ScriptedReply::Status(404, "Not Found"));
    server_.Enqueue(ScriptedReply::Binary("ok"));
    CHttpTransfer transfer;
    ExpectRun(transfer, Request("GET", "/a"), TransferResult::Failed, ErrorKind::HttpStatus);
    ExpectRun(transfer, Request("GET", "/a"), TransferResult::Done);
    ErrorKind kind;
    EXPECT_EQ(ErrorText(transfer, kind), CantConnect());
    EXPECT_EQ(kind, ErrorKind::NoConnection);
}

TEST_F(HttpTransferTest, FoundIsNotFollowedAndFailsWithTheConnectionText) {
    server_.Enqueue(ScriptedReply::Redirect(302, server_.Url("/elsewhere")));
    server_.Enqueue(ScriptedReply::Binary("must not be fetched"));
    ExpectRun(Request("GET", "/a"), TransferResult::Failed, ErrorKind::NoConnection,
              CantConnect().c_str());
    EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(HttpTransferTest, ReplyWithoutContentTypeFails) {
    ScriptedReply reply = ScriptedReply::Binary("data");
    reply.headers.clear();
    server_.Enqueue(reply);
    ExpectRun(Request("GET", "/a"), TransferResult::Failed, ErrorKind::HttpStatus,
              CantConnect().c_str());
}

// Redirects.

TEST_F(HttpTransferTest, MovedPermanentlyIsFollowedAsGetWithTheSameBody) {
    server_.Enqueue(ScriptedReply::Redirect(301, server_.Url("/moved/pkg.exe")));
    server_.Enqueue(ScriptedReply::Binary("the package"));
    ExpectRun(Request("POST", "/dl/get", "p=7"), TransferResult::Done);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "p=7");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].target, "/moved/pkg.exe?p=7");
    EXPECT_TRUE(requests[1].body.empty());
    // Only the final reply's body lands in the file.
    EXPECT_EQ(output_.Contents(), "the package");
}

TEST_F(HttpTransferTest, SecureLocationOfAPlainRequestKeepsPortAndPlainHttp) {
    // No port named: the request's own port stays, and so does plain HTTP, so the next pass
    // reaches this server again.
    server_.Enqueue(ScriptedReply::Redirect(301, "https://127.0.0.1/final.exe"));
    server_.Enqueue(ScriptedReply::Binary("final"));
    ExpectRun(Request("GET", "/start"), TransferResult::Done);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/final.exe?");
    EXPECT_EQ(output_.Contents(), "final");
}

TEST_F(HttpTransferTest, RelativeLocationsAreResolvedAgainstTheRequest) {
    server_.Enqueue(ScriptedReply::Redirect(301, "../mirror/b.exe"));
    server_.Enqueue(ScriptedReply::Redirect(301, "/root.exe#part"));
    server_.Enqueue(ScriptedReply::Binary("done"));
    ExpectRun(Request("GET", "/dl/files/a.exe", "k=1"), TransferResult::Done);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].target, "/dl/files/a.exe?k=1");
    EXPECT_EQ(requests[1].target, "/dl/mirror/b.exe?k=1");
    EXPECT_EQ(requests[2].target, "/root.exe?k=1");
}

TEST_F(HttpTransferTest, MovedPermanentlyWithoutLocationFails) {
    server_.Enqueue(ScriptedReply::Status(301, "Moved Permanently"));
    CHttpTransfer transfer;
    EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/a")), TransferResult::Failed);
    EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(HttpTransferTest, NinetyNineRedirectsAreFollowed) {
    for (int i = 0; i < 99; ++i)
        server_.Enqueue(ScriptedReply::Redirect(301, "/hop" + std::to_string(i + 1)));
    server_.Enqueue(ScriptedReply::Binary("arrived"));
    ExpectRun(Request("GET", "/hop0"), TransferResult::Done);
    EXPECT_EQ(server_.RequestCount(), 100u);
    EXPECT_EQ(server_.Requests().back().target, "/hop99?");
    EXPECT_EQ(output_.Contents(), "arrived");
}

TEST_F(HttpTransferTest, RedirectInTheHundredthPassFails) {
    server_.SetFallback(ScriptedReply::Redirect(301, server_.Url("/again")));
    ExpectRun(Request("GET", "/again"), TransferResult::Failed, ErrorKind::NoConnection,
              CantConnect().c_str());
    EXPECT_EQ(server_.RequestCount(), 100u);
}

// Replies that the server refuses to serve as a package.

TEST_F(HttpTransferTest, BinaryPostAnsweredWithAPageFailsWithTheServerMessages) {
    const std::string page = "<html><body><!-- VelkInfo: Your licence has expired. -->"
                             "<p>Sorry</p><!-- VelkInfo: Contact sales@velk.com -->"
                             "<!-- other comment --></body></html>";
    server_.Enqueue(ScriptedReply::Html(page));
    CRequestInfo request = Request("POST", "/dl/get", "p=7");
    request.expectBinary = 1;
    ExpectRun(request, TransferResult::Failed, ErrorKind::Rejected,
              L"Your licence has expired.\nContact sales@velk.com\n");
    // The page was read completely.
    EXPECT_EQ(output_.Contents(), page);
}

TEST_F(HttpTransferTest, BinaryPostAnsweredWithAPageWithoutMessagesGetsTheFixedText) {
    server_.Enqueue(ScriptedReply::Html("<html>nothing for you</html>"));
    CRequestInfo request = Request("POST", "/dl/get", "p=7");
    request.expectBinary = 1;
    ExpectRun(request, TransferResult::Failed, ErrorKind::Rejected,
              platform::ResourceString(IDS_PACKAGE_REFUSED).c_str());
}

TEST_F(HttpTransferTest, OnlyBinaryPostsCheckTheContentType) {
    CHttpTransfer transfer;
    CRequestInfo post = Request("POST", "/dl/get", "p=7");
    CRequestInfo get = Request("GET", "/dl/get", "p=7");
    get.expectBinary = 1;
    server_.Enqueue(ScriptedReply::Html("<html>page</html>"));
    ExpectRun(transfer, post, TransferResult::Done);
    server_.Enqueue(ScriptedReply::Html("<html>page</html>"));
    ExpectRun(transfer, get, TransferResult::Done);
    ScriptedReply binary = ScriptedReply::Binary("MZ");
    binary.headers = {{"Content-Type", "application/octet-stream; name=a.exe"}};
    server_.Enqueue(binary);
    post.expectBinary = 1;
    ExpectRun(transfer, post, TransferResult::Done);
    EXPECT_EQ(output_.Contents(), "MZ");
}

// Bodies, progress and cancel.

TEST_F(HttpTransferTest, BodyCutShortFails) {
    ScriptedReply reply = ScriptedReply::Binary(PatternBytes(40000));
    reply.dropAfterBytes = 10000;
    server_.Enqueue(reply);
    ExpectRun(Request("GET", "/a.exe"), TransferResult::Failed, ErrorKind::Transfer,
              L"The connection with the server has been terminated.");
    // What arrived is kept.
    const std::string contents = output_.Contents();
    EXPECT_LE(contents.size(), 10000u);
    EXPECT_TRUE(contents == PatternBytes(40000).substr(0, contents.size()));
}

TEST_F(HttpTransferTest, ProgressAddsUpToTheSizeInChunksOfAtMost8192Bytes) {
    const std::string body = PatternBytes(100000);
    server_.Enqueue(ScriptedReply::Binary(body));
    std::vector<ProgressCall> calls;
    bool idleDuringCalls = false;
    CHttpTransfer* self = nullptr;
    CHttpTransfer transfer(
        [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f) {
            calls.push_back({a, b, c, d, e, f});
            idleDuringCalls = idleDuringCalls || self->IdleEvent().IsSet();
        });
    self = &transfer;
    EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/big.exe")), TransferResult::Done);
    EXPECT_TRUE(output_.Contents() == body);
    ASSERT_GE(calls.size(), 3u);
    // The first call clears the display.
    const ProgressCall& first = calls.front();
    EXPECT_EQ(first.total + first.received + first.rate + first.remaining + first.elapsed, 0u);
    uint64_t added = 0;
    for (size_t i = 1; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].total, body.size());
        EXPECT_GE(calls[i].received, calls[i - 1].received);
        EXPECT_LE(calls[i].received - calls[i - 1].received, 8192u);
        EXPECT_EQ(calls[i].last, 0u);
        added += calls[i].received - calls[i - 1].received;
    }
    EXPECT_EQ(added, body.size());
    EXPECT_EQ(calls.back().received, body.size());
    EXPECT_EQ(calls.back().remaining, 0u);
    EXPECT_EQ(transfer.Received(), body.size());
    EXPECT_EQ(transfer.Total(), body.size());
    EXPECT_FALSE(idleDuringCalls);
}

TEST_F(HttpTransferTest, ReplyWithoutLengthGivesTotalAndRemainingZero) {
    ScriptedReply reply = ScriptedReply::Binary(PatternBytes(30000));
    reply.sendContentLength = false;
    server_.Enqueue(reply);
    std::vector<ProgressCall> calls;
    CHttpTransfer transfer(
        [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f) {
            calls.push_back({a, b, c, d, e, f});
        });
    EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/stream")), TransferResult::Done);
    EXPECT_TRUE(output_.Contents() == PatternBytes(30000));
    ASSERT_FALSE(calls.empty());
    for (const ProgressCall& call : calls) {
        EXPECT_EQ(call.total, 0u);
        EXPECT_EQ(call.remaining, 0u);
    }
    EXPECT_EQ(calls.back().received, 30000u);
}

TEST_F(HttpTransferTest, CancelFromTheProgressCallbackStopsAfterTheCurrentChunk) {
    const std::string body = PatternBytes(200000);
    server_.Enqueue(ScriptedReply::Binary(body));
    uint32_t receivedAtCancel = 0;
    CHttpTransfer* self = nullptr;
    CHttpTransfer transfer(
        [&](uint32_t, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
            if (received > 0 && receivedAtCancel == 0) {
                receivedAtCancel = received;
                self->RequestCancel();
            }
        });
    self = &transfer;
    EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/big.exe")),
              TransferResult::Cancelled);
    ASSERT_GT(receivedAtCancel, 0u);
    EXPECT_EQ(transfer.Received(), receivedAtCancel);
    EXPECT_EQ(output_.Contents().size(), receivedAtCancel);
    EXPECT_TRUE(output_.Contents() == body.substr(0, receivedAtCancel));
    EXPECT_TRUE(transfer.IdleEvent().IsSet());
}

TEST_F(HttpTransferTest, CancelFromAnotherThreadDropsTheChunkInFlight) {
    // The server pauses after the first part; the cancel comes while the transfer waits for the
    // rest, so the chunk that then arrives is the one in flight.
    const std::string body = PatternBytes(64000);
    ScriptedReply reply = ScriptedReply::Binary(body);
    // On a chunk boundary: WinInet may wait for a full buffer before it returns.
    reply.pauseAfterBytes = 2 * 8192;
    reply.pauseMs = 1000;
    server_.Enqueue(reply);
    platform::Event firstPart(platform::Event::Reset::Manual, false);
    CHttpTransfer transfer(
        [&](uint32_t, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
            if (received >= 16000)
                firstPart.Set();
        });
    std::atomic<TransferResult> result{TransferResult::Done};
    const CRequestInfo request = Request("GET", "/big.exe");
    platform::UniqueHandle worker = platform::StartThread([&] {
        result = transfer.Perform(output_.Path(), request);
        return 0u;
    });
    ASSERT_TRUE(worker.IsValid());
    ASSERT_TRUE(firstPart.Wait(10000));
    ::Sleep(300);
    transfer.RequestCancel();
    ASSERT_EQ(::WaitForSingleObject(worker.Get(), 20000), WAIT_OBJECT_0);
    EXPECT_EQ(result.load(), TransferResult::Cancelled);
    const std::string contents = output_.Contents();
    EXPECT_EQ(contents.size(), 2u * 8192);
    EXPECT_TRUE(contents == body.substr(0, contents.size()));
    // The chunk read after the cancel counts as received but is not written.
    EXPECT_GT(transfer.Received(), 2u * 8192);
    EXPECT_LT(transfer.Received(), body.size());
}

TEST_F(HttpTransferTest, ErrorTextCanBeReadWhileARequestRuns) {
    ScriptedReply reply = ScriptedReply::Binary(PatternBytes(20000));
    reply.pauseAfterBytes = 1000;
    reply.pauseMs = 300;
    server_.Enqueue(reply);
    CHttpTransfer transfer;
    const CRequestInfo request = Request("GET", "/slow.exe");
    platform::UniqueHandle worker = platform::StartThread([&] {
        transfer.Perform(output_.Path(), request);
        return 0u;
    });
    ASSERT_TRUE(worker.IsValid());
    for (int i = 0; i < 20 && ::WaitForSingleObject(worker.Get(), 10) == WAIT_TIMEOUT; ++i) {
        std::wstring text;
        EXPECT_EQ(transfer.GetError(text), ErrorKind::NoConnection);
        EXPECT_EQ(text, CantConnect());
    }
    ASSERT_EQ(::WaitForSingleObject(worker.Get(), 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(transfer.IdleEvent().IsSet());
}

} // namespace
