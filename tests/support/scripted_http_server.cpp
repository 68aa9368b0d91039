#include "tests/support/scripted_http_server.h"

#include "platform/thread.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace testsupport {
namespace {

constexpr size_t kMaxHeaderBytes = 64 * 1024;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        const int sent = ::send(s, data, static_cast<int>(std::min<size_t>(size, 65536)), 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

// Receives until the blank line that ends the headers; false on a closed connection.
bool ReceiveHead(SOCKET s, std::string& received, size_t& headEnd) {
    char buffer[4096];
    for (;;) {
        headEnd = received.find("\r\n\r\n");
        if (headEnd != std::string::npos)
            return true;
        if (received.size() > kMaxHeaderBytes)
            return false;
        const int got = ::recv(s, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return false;
        received.append(buffer, static_cast<size_t>(got));
    }
}

RecordedRequest ParseHead(const std::string& head) {
    RecordedRequest request;
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t first = requestLine.find(' ');
    const size_t last = requestLine.rfind(' ');
    request.method = requestLine.substr(0, first);
    if (first != std::string::npos && last > first) {
        request.target = requestLine.substr(first + 1, last - first - 1);
        request.version = requestLine.substr(last + 1);
    }
    while (lineEnd != std::string::npos && lineEnd + 2 < head.size()) {
        const size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        size_t valueStart = colon + 1;
        while (valueStart < line.size() && line[valueStart] == ' ')
            ++valueStart;
        request.headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
    }
    return request;
}

} // namespace

ScriptedReply ScriptedReply::Status(int status, std::string reason, std::string body) {
    ScriptedReply reply;
    reply.status = status;
    reply.reason = std::move(reason);
    reply.headers = {{"Content-Type", "text/html"}};
    reply.body = std::move(body);
    return reply;
}

ScriptedReply ScriptedReply::Redirect(int status, std::string location) {
    ScriptedReply reply =
        Status(status, status == 301 ? "Moved Permanently" : "Found", "<html>moved</html>");
    reply.headers.emplace_back("Location", std::move(location));
    return reply;
}

ScriptedReply ScriptedReply::Binary(std::string body) {
    ScriptedReply reply;
    reply.body = std::move(body);
    return reply;
}

ScriptedReply ScriptedReply::Html(std::string body) {
    ScriptedReply reply = Status(200, "OK", std::move(body));
    reply.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    return reply;
}

std::string RecordedRequest::Header(const std::string& name) const {
    const std::string wanted = Lower(name);
    for (const auto& [key, value] : headers) {
        if (Lower(key) == wanted)
            return value;
    }
    return {};
}

ScriptedHttpServer::ScriptedHttpServer()
    : fallback_(ScriptedReply::Status(500, "Internal Server Error", "no reply scripted")) {
    WSADATA data;
    winsockStarted_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!winsockStarted_)
        return;
    listener_.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener_)
        return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_.Get(), SOMAXCONN) != 0 ||
        ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = platform::StartThread([this] { return Serve(); });
    running_ = thread_.IsValid();
}

ScriptedHttpServer::~ScriptedHttpServer() {
    stop_.Set();
    if (thread_)
        ::WaitForSingleObject(thread_.Get(), 10000);
    thread_.Reset();
    listener_.Reset();
    if (winsockStarted_)
        ::WSACleanup();
}

std::string ScriptedHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void ScriptedHttpServer::Enqueue(ScriptedReply reply) {
    platform::ScopedLock lock(lock_);
    script_.push_back(std::move(reply));
}

void ScriptedHttpServer::ClearScript() {
    platform::ScopedLock lock(lock_);
    script_.clear();
}

std::vector<RecordedRequest> ScriptedHttpServer::Requests() const {
    platform::ScopedLock lock(lock_);
    return requests_;
}

size_t ScriptedHttpServer::RequestCount() const {
    platform::ScopedLock lock(lock_);
    return requests_.size();
}

ScriptedReply ScriptedHttpServer::NextReply() {
    platform::ScopedLock lock(lock_);
    if (script_.empty())
        return fallback_;
    ScriptedReply reply = std::move(script_.front());
    script_.pop_front();
    return reply;
}

unsigned ScriptedHttpServer::Serve() {
    // Polls the listener so that the destructor's stop request is seen within 50 ms.
    while (!stop_.IsSet()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_.Get(), &readable);
        timeval wait = {0, 50 * 1000};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        UniqueSocket connection(::accept(listener_.Get(), nullptr, nullptr));
        if (connection)
            HandleConnection(connection.Get());
    }
    return 0;
}

void ScriptedHttpServer::HandleConnection(SOCKET connection) {
    // A client that neither sends nor closes must not hold the server for ever.
    const DWORD timeoutMs = 5000;
    for (const int option : {SO_RCVTIMEO, SO_SNDTIMEO})
        ::setsockopt(connection, SOL_SOCKET, option, reinterpret_cast<const char*>(&timeoutMs),
                     sizeof(timeoutMs));
    // Each part goes out at once, not after the client's acknowledgement of the one before.
    const BOOL noDelay = TRUE;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                 sizeof(noDelay));
    std::string received;
    size_t headEnd = 0;
    if (!ReceiveHead(connection, received, headEnd))
        return;
    RecordedRequest request = ParseHead(received.substr(0, headEnd));
    const size_t bodyLength = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
    std::string body = received.substr(headEnd + 4);
    char buffer[4096];
    while (body.size() < bodyLength) {
        const int got = ::recv(connection, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        body.append(buffer, static_cast<size_t>(got));
    }
    request.body = std::move(body);
    {
        platform::ScopedLock lock(lock_);
        requests_.push_back(request);
    }

    const ScriptedReply reply = NextReply();
    const size_t sent = SendReply(connection, reply, request.method == "HEAD");
    // However the reply ended, the client reads everything sent before it sees the end; then
    // it is expected to close its end: a client that keeps it open holds a connection it no
    // longer uses.
    ::shutdown(connection, SD_SEND);
    int got = 0;
    while ((got = ::recv(connection, buffer, sizeof(buffer), 0)) > 0) {
    }
    const bool closedByClient = got == 0 || ::WSAGetLastError() != WSAETIMEDOUT;
    {
        platform::ScopedLock lock(lock_);
        bodyBytesSent_.push_back(sent);
        closedByClient_ += closedByClient ? 1 : 0;
    }
    replyEnded_.Set();
}

size_t ScriptedHttpServer::SendReply(SOCKET connection, const ScriptedReply& reply, bool headOnly) {
    if (reply.delayMs && stop_.Wait(reply.delayMs))
        return 0;
    std::string head = reply.rawHead;
    if (head.empty()) {
        head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
        for (const auto& [name, value] : reply.headers)
            head += name + ": " + value + "\r\n";
        if (reply.sendContentLength)
            head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
    }
    size_t sent = 0;
    if (!SendPart(connection, head, reply.headPauseAfterBytes, reply.headDropAfterBytes,
                  reply.pauseMs, sent) ||
        headOnly)
        return 0;
    sent = 0;
    const std::string_view body = reply.body;
    do {
        if (reply.trickleBytes == 0) {
            if (!SendPart(connection, body, reply.pauseAfterBytes, reply.dropAfterBytes,
                          reply.pauseMs, sent))
                return sent;
            continue;
        }
        const size_t first = std::min(reply.pauseAfterBytes, body.size());
        if (!SendPart(connection, body.substr(0, first), std::string::npos, std::string::npos, 0,
                      sent) ||
            !Trickle(connection, body.substr(first), reply, sent))
            return sent;
    } while (reply.endless && !body.empty() && !stop_.IsSet());
    return sent;
}

bool ScriptedHttpServer::SendPart(SOCKET s, std::string_view data, size_t pauseAt, size_t dropAt,
                                  DWORD pauseMs, size_t& sent) {
    const size_t sendable = std::min(dropAt, data.size());
    const size_t first = std::min(pauseAt, sendable);
    if (!SendAll(s, data.data(), first))
        return false;
    sent += first;
    if (first < sendable) {
        bool resumed = false;
        if (!Hold(pauseMs, resumed) || !SendAll(s, data.data() + first, sendable - first))
            return false;
        sent += sendable - first;
    }
    return sendable == data.size();
}

bool ScriptedHttpServer::Trickle(SOCKET s, std::string_view rest, const ScriptedReply& reply,
                                 size_t& sent) {
    while (!rest.empty()) {
        bool resumed = false;
        if (!Hold(reply.trickleIntervalMs, resumed))
            return false;
        const size_t piece = resumed ? rest.size() : std::min(reply.trickleBytes, rest.size());
        if (!SendAll(s, rest.data(), piece))
            return false;
        sent += piece;
        rest.remove_prefix(piece);
    }
    return true;
}

bool ScriptedHttpServer::Hold(DWORD ms, bool& resumed) {
    const HANDLE ends[] = {resume_.Get(), stop_.Get(), drop_.Get()};
    const DWORD end = ::WaitForMultipleObjects(3, ends, FALSE, ms);
    resumed = end == WAIT_OBJECT_0;
    return resumed || end == WAIT_TIMEOUT;
}

size_t ScriptedHttpServer::RepliesClosedByClient() const {
    platform::ScopedLock lock(lock_);
    return closedByClient_;
}

std::vector<size_t> ScriptedHttpServer::BodyBytesSent(size_t count, DWORD ms) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        {
            platform::ScopedLock lock(lock_);
            if (bodyBytesSent_.size() >= count || ::GetTickCount() - start >= ms)
                return bodyBytesSent_;
        }
        replyEnded_.Wait(50);
    }
}

} // namespace testsupport
