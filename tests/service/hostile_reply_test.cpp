// Hostile server replies from a fixed seed, through the scripted server: stalls and drops at every
// stage, lengths that lie either way or are no number, huge heads, long Locations, endless and
// circular redirects, replies that never end, garbage. Whatever comes, the transfer ends with one
// of its results and an error that fits it, keeps only bytes that were sent, writes nothing but
// its output file, and never hangs.

#include <winsock2.h>

#include "platform/text.h"
#include "platform/thread.h"
#include "service/http_transfer.h"
#include "tests/service/test_files.h"
#include "tests/support/scripted_http_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <iterator>
#include <random>

using service::CHttpTransfer;
using service::ErrorKind;
using service::TransferResult;
using testsupport::ScriptedReply;

namespace {

enum class Expect { Body, Fails, Cancelled, Anything };

struct HostileCase {
    std::string name;
    std::vector<ScriptedReply> replies;
    Expect expect = Expect::Anything;
    std::string file; // the whole file for Expect::Body, else what the file may start with
};

constexpr size_t kCancelAfter = 100000;

std::string Head(const std::string& status, const std::string& extra) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\n" + extra +
           "Connection: close\r\n\r\n";
}
std::string Length(size_t length) {
    return "Content-Length: " + std::to_string(length) + "\r\n";
}

class HostileReplies {
public:
    HostileCase Next(int index) {
        HostileCase c;
        const std::string body = servicetest::PatternBytes(Below(60000) + 1);
        ScriptedReply reply = ScriptedReply::Binary(body);
        c.file = body;
        c.expect = Expect::Body;
        const int stage = Below(3);
        switch (index % 9) {
        case 0: // a stall before the head, inside it or inside the body
            c.name = "stall";
            reply.rawHead = Head("200 OK", Length(body.size()));
            (stage == 0 ? reply.delayMs : reply.pauseMs) = 1 + Below(20);
            (stage == 1 ? reply.headPauseAfterBytes : reply.pauseAfterBytes) =
                Below(stage == 1 ? reply.rawHead.size() : body.size());
            break;
        case 1: // a drop before anything, inside the head or inside the body
            c.name = "drop";
            reply.rawHead = Head("200 OK", Length(body.size()));
            c.expect = stage == 1 ? Expect::Anything : Expect::Fails;
            (stage == 2 ? reply.dropAfterBytes : reply.headDropAfterBytes) =
                stage == 0 ? 0 : Below(stage == 1 ? reply.rawHead.size() : body.size());
            break;
        case 2: { // a length that says less than comes
            const size_t length = Below(body.size());
            c.name = "short length";
            reply.rawHead = Head("200 OK", Length(length));
            c.file = body.substr(0, length);
            break;
        }
        case 3: // a length that says more than comes
            c.name = "long length";
            reply.rawHead = Head("200 OK", Length(body.size() + 1 + Below(100000)));
            c.expect = Expect::Fails;
            break;
        case 4: { // a length that is no number
            static const char* const kLengths[] = {
                "-1",  "abc", "", " 12", "1e9", "0x10", "+5", "4294967295", "99999999999999999999",
                "\x01"};
            c.name = "odd length";
            reply.rawHead = Head(
                "200 OK",
                "Content-Length: " + std::string(kLengths[Below(std::size(kLengths))]) + "\r\n");
            c.expect = Expect::Anything;
            break;
        }
        case 5: { // 1 MB of headers, in one line or in 512
            c.name = "huge head";
            const size_t lines = stage == 0 ? 1 : 512;
            const std::string line = "X-Big: " + std::string((1 << 20) / lines, 'a') + "\r\n";
            std::string extra;
            for (size_t i = 0; i < lines; ++i)
                extra += line;
            reply.rawHead = Head("200 OK", extra + Length(body.size()));
            c.expect = Expect::Anything;
            break;
        }
        case 6: { // a Location of 100 KB
            c.name = "long location";
            const std::string prefix[] = {"http://127.0.0.1:1/", "/", ""};
            reply = ScriptedReply::Redirect(301, prefix[stage] + std::string(100000, 'L'));
            c.expect = Expect::Fails;
            break;
        }
        case 7: // a reply that never ends, with no length or one that lies
            c.name = "endless";
            reply.rawHead =
                Head("200 OK", stage == 0 ? std::string() : Length(200000 + Below(200000)));
            reply.endless = true;
            c.expect = Expect::Cancelled;
            c.file.clear();
            while (c.file.size() < kCancelAfter + 65536)
                c.file += body;
            break;
        default: { // garbage where the head should be
            c.name = "garbage";
            std::string junk(Below(3000), '\0');
            for (char& ch : junk)
                ch = static_cast<char>(Below(256));
            const std::string heads[] = {junk, "HTTP/1.1 99999 X\r\n\r\n" + junk,
                                         "HTTP/9.9 200\r\nContent-Length: 5\r\n\r\n"};
            reply.rawHead = heads[stage];
            // A head that is no head may be taken for the start of the body.
            c.file = reply.rawHead + body;
            c.expect = Expect::Anything;
            break;
        }
        }
        c.replies.push_back(std::move(reply));
        return c;
    }

    // Redirects that go on past the limit, each to a new place or round in a circle.
    HostileCase Redirects(bool circular) {
        HostileCase c{circular ? "circular redirects" : "endless redirects", {}, Expect::Fails, {}};
        for (int i = 0; i < 100; ++i) {
            const std::string to = circular ? (i % 2 ? "/a" : "/b") : "/r" + std::to_string(rng_());
            c.replies.push_back(ScriptedReply::Redirect(301, to));
        }
        return c;
    }

private:
    size_t Below(size_t limit) { return limit == 0 ? 0 : rng_() % limit; }

    std::mt19937 rng_{15};
};

// The names in `folder`.
std::vector<std::wstring> FolderNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().wstring());
    return names;
}

constexpr size_t kWorkers = 10;

std::wstring OutputName(size_t worker) {
    return L"reply" + std::to_wstring(worker) + L".bin";
}

// Runs every `kWorkers`th case from `first` on, against a server of its own.
void RunCases(const std::vector<HostileCase>& cases, size_t first, const std::wstring& folder) {
    testsupport::ScriptedHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    const std::wstring output = folder + L"\\" + OutputName(first);
    std::atomic<bool> cancelling{false};
    CHttpTransfer* self = nullptr;
    CHttpTransfer transfer(
        [&](uint32_t, uint32_t received, uint32_t, uint32_t, uint32_t, uint32_t) {
            if (cancelling && received > kCancelAfter)
                self->RequestCancel();
        });
    self = &transfer;
    service::CRequestInfo request;
    request.host = "127.0.0.1";
    request.port = server.Port();
    request.path = "/hostile";
    for (size_t i = first; i < cases.size(); i += kWorkers) {
        const HostileCase& c = cases[i];
        SCOPED_TRACE(std::to_string(i) + " " + c.name);
        server.ClearScript();
        for (const ScriptedReply& reply : c.replies)
            server.Enqueue(reply);
        cancelling = c.expect == Expect::Cancelled;
        std::atomic<TransferResult> result{TransferResult::Done};
        const platform::UniqueHandle worker = platform::StartThread([&] {
            result = transfer.Perform(output, request);
            return 0u;
        });
        ASSERT_TRUE(worker.IsValid());
        if (::WaitForSingleObject(worker.Get(), 60000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the transfer hangs";
            transfer.RequestCancel();
            ::WaitForSingleObject(worker.Get(), INFINITE);
            continue;
        }
        std::wstring text;
        const ErrorKind kind = transfer.GetError(text);
        const std::string file = servicetest::ReadWholeFile(output);
        switch (result.load()) {
        case TransferResult::Done:
            EXPECT_EQ(kind, ErrorKind::NoConnection);
            break;
        case TransferResult::Failed:
            EXPECT_FALSE(text.empty());
            EXPECT_NE(kind, static_cast<ErrorKind>(3));
            EXPECT_LE(static_cast<uint32_t>(kind), 6u);
            break;
        default:
            EXPECT_EQ(c.expect, Expect::Cancelled);
        }
        if (c.expect == Expect::Body) {
            EXPECT_EQ(result.load(), TransferResult::Done);
            EXPECT_TRUE(file == c.file) << file.size() << " of " << c.file.size();
        } else {
            EXPECT_TRUE(c.file.compare(0, file.size(), file) == 0) << "bytes never sent";
        }
        if (c.expect == Expect::Fails || c.expect == Expect::Cancelled) {
            EXPECT_EQ(result.load(), c.expect == Expect::Fails ? TransferResult::Failed
                                                               : TransferResult::Cancelled);
        }
        for (const std::wstring& name : FolderNames(folder))
            EXPECT_EQ(name.rfind(L"reply", 0), 0u) << "a file of its own";
    }
    ::DeleteFileW(output.c_str());
}

TEST(HostileReplies, EveryReplyEndsTheTransferWithAResultThatFits) {
    const servicetest::TempFile folder(L"hostile");
    ASSERT_TRUE(::CreateDirectoryW(folder.Path().c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    for (const std::wstring& name : FolderNames(folder.Path()))
        ::DeleteFileW((folder.Path() + L"\\" + name).c_str());
    HostileReplies generator;
    std::vector<HostileCase> cases;
    // The long cases first, each to a worker of its own.
    for (const bool circular : {false, true})
        cases.push_back(generator.Redirects(circular));
    for (int i = 0; i < 216; ++i)
        cases.push_back(generator.Next(i));
    // Most of a case is waiting for the other end: several run at once.
    std::vector<platform::UniqueHandle> workers;
    for (size_t first = 0; first < kWorkers; ++first) {
        workers.push_back(platform::StartThread([&, first] {
            RunCases(cases, first, folder.Path());
            return 0u;
        }));
    }
    for (const platform::UniqueHandle& worker : workers)
        ::WaitForSingleObject(worker.Get(), INFINITE);
    const std::vector<std::wstring> left = FolderNames(folder.Path());
    EXPECT_TRUE(left.empty()) << platform::AnsiFromWide(left.front());
    ::RemoveDirectoryW(folder.Path().c_str());
}

} // namespace
