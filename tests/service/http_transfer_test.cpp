// The transport against the scripted server on loopback: what goes on the wire, how statuses,
// redirects, refused replies, lengths, cut-short bodies and cancels end, and what the progress
// says, also on a line that slows down.

#include <winsock2.h>

#include "platform/event.h"
#include "platform/resource_strings.h"
#include "platform/thread.h"
#include "resources/resource_ids.h"
#include "service/certificate_retry.h"
#include "service/http_transfer.h"
#include "tests/service/test_files.h"
#include "tests/support/scripted_http_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using service::CHttpTransfer;
using service::CRequestInfo;
using service::ErrorKind;
using service::TransferResult;
using servicetest::PatternBytes;
using servicetest::TempFile;
using testsupport::ScriptedHttpServer;
using testsupport::ScriptedReply;

namespace {

const std::wstring& Text(UINT id) {
    return platform::ResourceString(id);
}

struct ProgressCall {
    uint32_t total, received, rate, remaining, elapsed, last;
};

using Replies = std::function<std::vector<ScriptedReply>(const ScriptedHttpServer&)>;

Replies Fixed(std::vector<ScriptedReply> replies) {
    return [replies](const ScriptedHttpServer&) { return replies; };
}

// A head with this length (and what follows it in the same send) and a body of one byte.
ScriptedReply WithLength(const std::string& length) {
    ScriptedReply reply;
    reply.rawHead = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: "
                    "close\r\nContent-Length: " +
                    length + "\r\n\r\n";
    reply.body = "x";
    return reply;
}

std::vector<std::string> Targets(const std::string& path, int count, bool numbered) {
    std::vector<std::string> targets;
    for (int i = 0; i < count; ++i)
        targets.push_back(path + (numbered ? std::to_string(i) : "") + "?");
    return targets;
}

// One request and how it must end. `text` empty: not checked.
struct WireCase {
    const char* name;
    const char* verb;
    const char* path;
    const char* body;
    uint32_t expectBinary;
    Replies replies;
    std::vector<std::string> targets;
    TransferResult result;
    ErrorKind kind;
    std::wstring text;
    std::string file;
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

    // Runs a GET of `path` on a thread of its own.
    bool StartPerform(CHttpTransfer& transfer, const std::string& path) {
        performer_ = platform::StartThread([this, &transfer, request = Request("GET", path)] {
            result_ = transfer.Perform(output_.Path(), request);
            return 0u;
        });
        return performer_.IsValid();
    }

    // Its result, once it has ended. One that has not ended within a minute is a failure; the
    // server then drops what it holds back, so that the transfer ends before the test does.
    TransferResult EndOfPerform() {
        if (::WaitForSingleObject(performer_.Get(), 60000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the transfer did not end";
            server_.DropPausedReplies();
            ::WaitForSingleObject(performer_.Get(), INFINITE);
        }
        return result_;
    }

    ScriptedHttpServer server_;
    TempFile output_{L"transfer.bin"};
    platform::UniqueHandle performer_;
    std::atomic<TransferResult> result_{TransferResult::Failed};
};

TEST_F(HttpTransferTest, RequestsGoOutAndEndAsTheirRepliesSay) {
    const std::wstring cantConnect = Text(IDS_CANT_CONNECT);
    const std::string page = "<html><!-- VelkInfo: Your licence has expired. --><p>Sorry</p>"
                             "<!-- VelkInfo: Contact sales@velk.com --><!-- other --></html>";
    const std::string odd = "<!-- velkinfo: x --><!--VelkInfo: x --><!-- VelkInfo:  -->"
                            "<!-- a --><!-- VelkInfo: b <!-- VelkInfo: c --><!-- VelkInfo: open";
    const std::string late =
        "<!-- VelkInfo: seen -->" + std::string(131072 - 30, ' ') + "<!-- VelkInfo: too late -->";
    ScriptedReply noType = ScriptedReply::Binary("data");
    noType.headers.clear();
    ScriptedReply binary = ScriptedReply::Binary("MZ");
    binary.headers = {{"Content-Type", "application/octet-stream; name=a.exe"}};
    ScriptedReply cut = ScriptedReply::Binary(PatternBytes(40000));
    cut.dropAfterBytes = 10000;
    const auto status = [](int code) { return Fixed({ScriptedReply::Status(code, "S", "<p>")}); };
    const auto hops = [](int count, const char* last) {
        return [=](const ScriptedHttpServer& server) {
            std::vector<ScriptedReply> replies;
            for (int i = 1; i <= count; ++i)
                replies.push_back(
                    ScriptedReply::Redirect(301, server.Url("/hop" + std::to_string(i))));
            if (last)
                replies.push_back(ScriptedReply::Binary(last));
            return replies;
        };
    };
    const auto Done = TransferResult::Done;
    const auto Failed = TransferResult::Failed;
    const auto Ok = ErrorKind::NoConnection;
    // clang-format off
    const WireCase cases[] = {
        {"get", "GET", "/downloads/update.ini", "", 0, Fixed({ScriptedReply::Binary("file")}),
            {"/downloads/update.ini?"}, Done, Ok, cantConnect, "file"},
        {"get with parameters", "GET", "/dl/a.exe", "p=7&q=abc", 0,
            Fixed({ScriptedReply::Binary("x")}), {"/dl/a.exe?p=7&q=abc"}, Done, Ok, cantConnect,
            "x"},
        {"post", "POST", "/dl/get", "p=7&q=abc", 0, Fixed({ScriptedReply::Binary("package")}),
            {"/dl/get"}, Done, Ok, cantConnect, "package"},
        {"post without body", "POST", "/dl/get", "", 0, Fixed({ScriptedReply::Binary("p")}),
            {"/dl/get"}, Done, Ok, cantConnect, "p"},
        {"404", "GET", "/m", "", 0, status(404), {"/m?"}, Failed, ErrorKind::HttpStatus,
            L"Requested file not found.", ""},
        {"500", "GET", "/m", "", 0, status(500), {"/m?"}, Failed, ErrorKind::HttpStatus,
            L"The server encountered an unexpected condition that prevented it from fulfilling "
            L"the request.", ""},
        {"405", "GET", "/m", "", 0, status(405), {"/m?"}, Failed, ErrorKind::HttpStatus,
            cantConnect, ""},
        {"302 is not followed", "GET", "/a", "", 0,
            [](const ScriptedHttpServer& s) { return std::vector{ScriptedReply::Redirect(302,
            s.Url("/b")), ScriptedReply::Binary("must not be fetched")}; }, {"/a?"}, Failed, Ok,
            cantConnect, ""},
        {"no content type", "GET", "/a", "", 0, Fixed({noType}), {"/a?"}, Failed,
            ErrorKind::HttpStatus, cantConnect, ""},
        {"301 turns a post into a get with the same body", "POST", "/dl/get", "p=7", 0,
            [](const ScriptedHttpServer& s) { return std::vector{ScriptedReply::Redirect(301,
            s.Url("/moved/pkg.exe")), ScriptedReply::Binary("the package")}; }, {"/dl/get",
            "/moved/pkg.exe?p=7"}, Done, Ok, cantConnect, "the package"},
        {"secure location of a plain request keeps port and plain http", "GET", "/start", "", 0,
            Fixed({ScriptedReply::Redirect(301, "https://127.0.0.1/final.exe"),
            ScriptedReply::Binary("final")}), {"/start?", "/final.exe?"}, Done, Ok, cantConnect,
            "final"},
        {"relative locations", "GET", "/dl/files/a.exe", "k=1", 0,
            Fixed({ScriptedReply::Redirect(301, "../mirror/b.exe"), ScriptedReply::Redirect(301,
            "/root.exe#part"), ScriptedReply::Binary("done")}), {"/dl/files/a.exe?k=1",
            "/dl/mirror/b.exe?k=1", "/root.exe?k=1"}, Done, Ok, cantConnect, "done"},
        {"301 without location", "GET", "/a", "", 0, status(301), {"/a?"}, Failed, Ok, cantConnect,
            ""},
        {"99 redirects", "GET", "/hop0", "", 0, hops(99, "arrived"), Targets("/hop", 100, true),
            Done, Ok, cantConnect, "arrived"},
        {"a redirect in the 100th pass", "GET", "/hop0", "", 0, hops(100, nullptr), Targets("/hop",
            100, true), Failed, Ok, cantConnect, ""},
        {"refused with messages", "POST", "/dl/get", "p=7", 1, Fixed({ScriptedReply::Html(page)}),
            {"/dl/get"}, Failed, ErrorKind::Rejected,
            L"Your licence has expired.\nContact sales@velk.com\n", page},
        {"refused without messages", "POST", "/dl/get", "p=7", 1,
            Fixed({ScriptedReply::Html("<p>no</p>")}), {"/dl/get"}, Failed, ErrorKind::Rejected,
            Text(IDS_PACKAGE_REFUSED), "<p>no</p>"},
        {"markers match exactly, closings behind openings", "POST", "/p", "", 1,
            Fixed({ScriptedReply::Html(odd)}), {"/p"}, Failed, ErrorKind::Rejected,
            L"\nb <!-- VelkInfo: c\n", odd},
        {"messages of the first 128 KB", "POST", "/p", "", 1, Fixed({ScriptedReply::Html(late)}),
            {"/p"}, Failed, ErrorKind::Rejected, L"seen\n", late},
        {"utf-8 message", "POST", "/p", "", 1,
            Fixed({ScriptedReply::Html("<!-- VelkInfo: Gr\xC3\xBC\xC3\x9F" "e -->")}), {"/p"},
            Failed, ErrorKind::Rejected, L"Gr\u00FC\u00DFe\n", {}},
        {"windows message", "POST", "/p", "", 1,
            Fixed({ScriptedReply::Html("<!-- VelkInfo: caf\xE9 -->")}), {"/p"}, Failed,
            ErrorKind::Rejected, L"caf\u00E9\n", {}},
        {"only binary posts check the type: post", "POST", "/p", "p=7", 0,
            Fixed({ScriptedReply::Html("<p>")}), {"/p"}, Done, Ok, cantConnect, "<p>"},
        {"only binary posts check the type: get", "GET", "/p", "p=7", 1,
            Fixed({ScriptedReply::Html("<p>")}), {"/p?p=7"}, Done, Ok, cantConnect, "<p>"},
        {"binary type with parameters", "POST", "/p", "p=7", 1, Fixed({binary}), {"/p"}, Done, Ok,
            cantConnect, "MZ"},
        {"body cut short", "GET", "/a.exe", "", 0, Fixed({cut}), {"/a.exe?"}, Failed,
            ErrorKind::Transfer, L"The connection with the server has been terminated.",
            PatternBytes(10000)},
        {"4 GiB", "GET", "/big", "", 0, Fixed({WithLength("4294967296")}), {"/big?"}, Failed,
            ErrorKind::Transfer, Text(IDS_PACKAGE_TOO_LARGE), ""},
        {"4 GiB and a byte", "GET", "/big", "", 0, Fixed({WithLength("4294967297")}), {"/big?"},
            Failed, ErrorKind::Transfer, Text(IDS_PACKAGE_TOO_LARGE), ""},
        {"bytes beyond the length that came with the head", "GET", "/s", "", 0,
            Fixed({WithLength("5\r\n\r\n0123456789")}), {"/s?"}, Done, Ok, cantConnect, "01234"},
        {"beyond 64 bits", "GET", "/big", "", 0, Fixed({WithLength("184467440737095516160")}),
            {"/big?"}, Failed, ErrorKind::Transfer, Text(IDS_PACKAGE_TOO_LARGE), ""},
    };
    // clang-format on
    // One transfer for all: each request starts from a cleared error.
    CHttpTransfer transfer;
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        server_.ClearScript();
        for (ScriptedReply& reply : c.replies(server_))
            server_.Enqueue(std::move(reply));
        const size_t before = server_.RequestCount();
        CRequestInfo request = Request(c.verb, c.path, c.body);
        request.expectBinary = c.expectBinary;
        EXPECT_EQ(transfer.Perform(output_.Path(), request), c.result);
        EXPECT_TRUE(transfer.IdleEvent().IsSet());
        std::wstring text;
        EXPECT_EQ(transfer.GetError(text), c.kind);
        if (!c.text.empty()) {
            EXPECT_EQ(text, c.text);
        }
        if (!c.file.empty() || c.result != TransferResult::Failed) {
            EXPECT_TRUE(output_.Contents() == c.file);
        }
        const auto requests = server_.Requests();
        ASSERT_EQ(requests.size() - before, c.targets.size());
        for (size_t i = 0; i < c.targets.size(); ++i) {
            const auto& sent = requests[before + i];
            EXPECT_EQ(sent.target, c.targets[i]);
            EXPECT_EQ(sent.method, i == 0 ? c.verb : "GET");
            EXPECT_EQ(sent.body, i == 0 && std::string(c.verb) == "POST" ? c.body : "");
            EXPECT_EQ(sent.Header("Content-Type"), "application/x-www-form-urlencoded");
            EXPECT_EQ(sent.Header("User-Agent"), "Velk Update Wizard");
        }
    }
}

TEST_F(HttpTransferTest, MissingFolderUnreachablePortAndFtpFail) {
    CHttpTransfer transfer;
    std::wstring text;
    // An output file that cannot be created fails without network access.
    CRequestInfo request = Request("GET", "/x");
    EXPECT_EQ(transfer.Perform(output_.Path() + L"_missing\\f.bin", request),
              TransferResult::Failed);
    EXPECT_EQ(transfer.GetError(text), ErrorKind::OutputFile);
    EXPECT_NE(text, Text(IDS_CANT_CONNECT));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(server_.RequestCount(), 0u);
    // A port that was free a moment ago and has no listener now.
    request.port = [] { return ScriptedHttpServer().Port(); }();
    EXPECT_EQ(transfer.Perform(output_.Path(), request), TransferResult::Failed);
    // Whether the failed send leaves a status behind is WinInet's affair.
    const ErrorKind kind = transfer.GetError(text);
    EXPECT_TRUE(kind == ErrorKind::NoConnection || kind == ErrorKind::HttpStatus);
    EXPECT_EQ(text, Text(IDS_CANT_CONNECT));
    // The transport speaks only HTTP: an ftp request ends in a session error with its text.
    request.service = INTERNET_SERVICE_FTP;
    EXPECT_EQ(transfer.Perform(output_.Path(), request), TransferResult::Failed);
    EXPECT_EQ(transfer.GetError(text), ErrorKind::Session);
    EXPECT_FALSE(text.empty());
}

TEST_F(HttpTransferTest, ProgressAddsUpInChunksOfAtMost8192Bytes) {
    const std::string body = PatternBytes(100000);
    for (const bool withLength : {true, false}) {
        SCOPED_TRACE(withLength);
        ScriptedReply reply = ScriptedReply::Binary(body);
        reply.sendContentLength = withLength;
        server_.Enqueue(reply);
        std::vector<ProgressCall> calls;
        CHttpTransfer transfer([&](auto... figures) { calls.push_back({figures...}); });
        EXPECT_EQ(transfer.Perform(output_.Path(), Request("GET", "/big.exe")),
                  TransferResult::Done);
        EXPECT_TRUE(output_.Contents() == body);
        ASSERT_GE(calls.size(), 3u);
        // The first call clears the display.
        const ProgressCall& first = calls.front();
        EXPECT_EQ(first.total + first.received + first.rate + first.remaining + first.elapsed, 0u);
        for (size_t i = 1; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].total, withLength ? body.size() : 0u);
            EXPECT_GE(calls[i].received, calls[i - 1].received);
            EXPECT_LE(calls[i].received - calls[i - 1].received, 8192u);
            EXPECT_EQ(calls[i].last, 0u);
            if (!withLength) {
                EXPECT_EQ(calls[i].remaining, 0u);
            }
        }
        EXPECT_EQ(calls.back().received, body.size());
        EXPECT_EQ(calls.back().remaining, 0u);
        EXPECT_EQ(transfer.Received(), body.size());
    }
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
    EXPECT_TRUE(output_.Contents() == body.substr(0, receivedAtCancel));
}

TEST_F(HttpTransferTest, LineThatSlowsDownAfterAFastStartKeepsProgressAndCancelCurrent) {
    // A fast burst, then 1000 bytes every 10 ms: reads take what has come.
    constexpr size_t kBurst = 4u << 20;
    constexpr size_t kTrickle = 1u << 20;
    const std::string body = PatternBytes(kBurst + kTrickle);
    ScriptedReply reply = ScriptedReply::Binary(body);
    reply.pauseAfterBytes = kBurst;
    reply.trickleBytes = 1000;
    reply.trickleIntervalMs = 10;
    server_.Enqueue(reply);
    platform::Event trickling(platform::Event::Reset::Manual, false);
    std::atomic<int> trickleReports{0};
    CHttpTransfer transfer(
        [&](uint32_t, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
            if (received > kBurst && ++trickleReports == 3)
                trickling.Set();
        });
    ASSERT_TRUE(StartPerform(transfer, "/slowing.exe"));
    ASSERT_TRUE(trickling.Wait(60000)) << "no progress while the line trickles";
    transfer.RequestCancel();
    ASSERT_EQ(EndOfPerform(), TransferResult::Cancelled);
    const std::string contents = output_.Contents();
    EXPECT_GT(contents.size(), kBurst);
    EXPECT_TRUE(contents == body.substr(0, contents.size()));
    // The transfer went as soon as the cancel came: the server sent little of the trickle.
    const std::vector<size_t> sent = server_.BodyBytesSent(1, 60000);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_LT(sent[0], kBurst + kTrickle / 2);
}

TEST_F(HttpTransferTest, CancelLeavesAReadThatASilentLineHoldsToEndOnItsOwn) {
    // A fast burst that ends inside a big read, then silence until the server is told.
    constexpr size_t kRead = 4u << 20;
    ScriptedReply reply = ScriptedReply::Binary(PatternBytes(kRead + (1u << 20)));
    reply.pauseAfterBytes = kRead + 8192;
    reply.pauseMs = INFINITE;
    server_.Enqueue(reply);
    // Two reports of the same count: the transfer waits for a read that waits for the line.
    platform::Event waiting(platform::Event::Reset::Manual, false);
    uint32_t last = 0;
    auto transfer = std::make_unique<CHttpTransfer>([&](auto, uint32_t received, auto...) {
        if (received >= kRead && received == std::exchange(last, received))
            waiting.Set();
    });
    ASSERT_TRUE(StartPerform(*transfer, "/held.exe"));
    EXPECT_TRUE(waiting.Wait(60000)) << "no progress while a read waits";
    transfer->RequestCancel();
    EXPECT_EQ(EndOfPerform(), TransferResult::Cancelled);
    EXPECT_TRUE(server_.BodyBytesSent(0, 0).empty()) << "the server was still holding";
    EXPECT_TRUE(output_.Contents() == reply.body.substr(0, transfer->Received()));
    // The transfer serves the next request and goes while the read it left still waits; when
    // the server closes at last, the read ends and its thread closes the connection.
    ScriptedHttpServer other;
    other.Enqueue(ScriptedReply::Binary("next"));
    CRequestInfo request = Request("GET", "/next.exe");
    request.port = other.Port();
    EXPECT_EQ(transfer->Perform(output_.Path(), request), TransferResult::Done);
    transfer.reset();
    server_.DropPausedReplies();
    EXPECT_EQ(server_.BodyBytesSent(1, 60000).size(), 1u);
    EXPECT_EQ(server_.RepliesClosedByClient(), 1u);
}

TEST(CertificateRetry, ACertificateErrorIsRetriedExactlyOnce) {
    const struct {
        DWORD first;
        bool relaxes;
        DWORD second;
        int sends;
    } cases[] = {
        // Flags that never read back complete still give a single retry.
        {ERROR_INTERNET_INVALID_CA, true, ERROR_INTERNET_INVALID_CA, 2},
        {ERROR_INTERNET_SEC_CERT_DATE_INVALID, true, 0, 2},
        {ERROR_INTERNET_SEC_CERT_CN_INVALID, false, 0, 1},
        {ERROR_INTERNET_CANNOT_CONNECT, true, 0, 1},
        {0, true, 0, 1},
    };
    for (const auto& c : cases) {
        int sends = 0;
        const DWORD error = service::SendWithCertificateRetry(
            [&]() -> DWORD {
                ++sends;
                return sends == 1 ? c.first : sends == 2 ? c.second : 0;
            },
            [&] { return c.relaxes; });
        EXPECT_EQ(sends, c.sends) << c.first;
        EXPECT_EQ(error, c.sends == 1 ? c.first : c.second) << c.first;
    }
}

} // namespace
