#pragma once
// An HTTP server inside the test process: it listens on 127.0.0.1 on a port the system picks,
// answers each connection with the next scripted reply and records what it was sent.

// Winsock must come before windows.h.
#include <winsock2.h>

#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/unique_resource.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

struct ScriptedReply {
    int status = 200;
    std::string reason = "OK";
    // Sent as given, after the status line; "Content-Length" is added unless omitted below.
    std::vector<std::pair<std::string, std::string>> headers = {
        {"Content-Type", "application/octet-stream"}};
    std::string body;
    bool sendContentLength = true;
    // Waits before the status line.
    DWORD delayMs = 0;
    // After this many body bytes, waits pauseMs (or until ResumePausedReplies) before sending
    // the rest.
    size_t pauseAfterBytes = std::string::npos;
    DWORD pauseMs = 0;
    // Closes the connection after this many body bytes (a reply cut short).
    size_t dropAfterBytes = std::string::npos;
    // After the first part (pauseAfterBytes), the rest goes in pieces of this size, one every
    // trickleIntervalMs: a line that slows down. ResumePausedReplies sends the rest at once.
    size_t trickleBytes = 0;
    DWORD trickleIntervalMs = 0;
    // Sends the body over and over until the client goes or the server stops.
    bool endless = false;
    // When set, sent instead of the status line and headers, exactly as given; the head may be
    // cut after headDropAfterBytes, or wait pauseMs after headPauseAfterBytes.
    std::string rawHead;
    size_t headDropAfterBytes = std::string::npos;
    size_t headPauseAfterBytes = std::string::npos;

    static ScriptedReply Status(int status, std::string reason, std::string body = {});
    static ScriptedReply Redirect(int status, std::string location);
    static ScriptedReply Binary(std::string body);
    static ScriptedReply Html(std::string body);
};

struct RecordedRequest {
    std::string method;
    std::string target; // as on the request line: path and query
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header of that name (without regard to case), or empty.
    std::string Header(const std::string& name) const;
};

class ScriptedHttpServer {
public:
    // Starts listening; IsRunning() tells whether it could.
    ScriptedHttpServer();
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    bool IsRunning() const { return running_; }
    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::string Url(const std::string& path) const;

    // Replies are used in the order given, one per request; when none is left a 500 answers.
    void Enqueue(ScriptedReply reply);
    // Forgets the replies not yet used.
    void ClearScript();

    // Resume ends one pause, the one under way or else the next one, and the rest is sent; drop
    // ends every pause, under way and to come, by closing the connection there.
    void ResumePausedReplies() { resume_.Set(); }
    void DropPausedReplies() { drop_.Set(); }

    std::vector<RecordedRequest> Requests() const;
    size_t RequestCount() const;
    // How many body bytes each finished reply sent, in order; waits up to `ms` until `count`
    // replies have finished.
    std::vector<size_t> BodyBytesSent(size_t count, DWORD ms) const;
    // How many finished replies saw the client close its end of the connection.
    size_t RepliesClosedByClient() const;

private:
    struct SocketTraits {
        static SOCKET Invalid() { return INVALID_SOCKET; }
        static bool IsValid(SOCKET s) { return s != INVALID_SOCKET; }
        static void Close(SOCKET s) { ::closesocket(s); }
    };
    using UniqueSocket = platform::UniqueResource<SocketTraits>;

    unsigned Serve();
    void HandleConnection(SOCKET connection);
    // The body bytes sent.
    size_t SendReply(SOCKET connection, const ScriptedReply& reply, bool headOnly);
    // Sends `data` with a pause or a cut at `pauseAt`/`dropAt`; false when the reply ends here.
    bool SendPart(SOCKET s, std::string_view data, size_t pauseAt, size_t dropAt, DWORD pauseMs,
                  size_t& sent);
    bool Trickle(SOCKET s, std::string_view rest, const ScriptedReply& reply, size_t& sent);
    // Waits `ms` or until a resume (true), a drop or the stop (false).
    bool Hold(DWORD ms, bool& resumed);
    ScriptedReply NextReply();

    bool winsockStarted_ = false;
    bool running_ = false;
    uint16_t port_ = 0;
    UniqueSocket listener_;
    platform::Event stop_{platform::Event::Reset::Manual, false};
    platform::Event resume_{platform::Event::Reset::Automatic, false};
    platform::Event drop_{platform::Event::Reset::Manual, false};
    mutable platform::CriticalSection lock_;
    std::deque<ScriptedReply> script_;
    ScriptedReply fallback_;
    std::vector<RecordedRequest> requests_;
    std::vector<size_t> bodyBytesSent_;
    size_t closedByClient_ = 0;
    platform::Event replyEnded_{platform::Event::Reset::Automatic, false};
    platform::UniqueHandle thread_;
};

} // namespace testsupport
