#include "service/http_transfer.h"

#include "platform/resource_strings.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "service/certificate_retry.h"
#include "service/internet_handle.h"
#include "service/network_error_text.h"
#include "service/redirect_location.h"
#include "service/server_messages.h"
#include "service/transfer_timing.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace service {
namespace {

constexpr int kMaxPasses = 100;
// Progress, the cancel and the writes go chunk by chunk, whatever size the reads have.
constexpr DWORD kChunkSize = 8192;
// The largest read. Under Wine a read returns only with a full buffer, and every call costs a
// fixed amount: a quarter of this size halves a fast line's speed. The price is paid once, when a
// fast line suddenly slows down: the count shown then stands still until this read is full (the
// time shown and the cancel do not wait for it).
constexpr DWORD kMaxReadSize = 128 * kChunkSize;
// Reads are written together in blocks of this size.
constexpr DWORD kBlockSize = 512 * kChunkSize;
// How long the transfer waits for a read before it looks at the cancel again.
constexpr DWORD kReadSliceMs = 100;
constexpr DWORD kContext = 1;

constexpr DWORD kRequestFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT |
    INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS |
    INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
    INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kRequestFlags == 0x8060F100);

// Unknown authority, wrong name, wrong date, and 0x80000 that the maker's servers always needed.
constexpr DWORD kRelaxedSecurityFlags = SECURITY_FLAG_IGNORE_UNKNOWN_CA |
                                        SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                        SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | 0x00080000;
static_assert(kRelaxedSecurityFlags == 0x00083100);

constexpr char kFormHeader[] = "Content-type: application/x-www-form-urlencoded";
constexpr char kBinaryContentType[] = "application/octet-stream";

// One header of the reply as text, or nothing when the reply has none.
std::optional<std::string> QueryHeader(HINTERNET request, DWORD query, DWORD bufferSize) {
    std::string value(bufferSize, '\0');
    DWORD size = bufferSize;
    if (!::HttpQueryInfoA(request, query, value.data(), &size, nullptr)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return std::nullopt;
        // `size` now holds the length the value needs.
        value.assign(size + 1, '\0');
        size = static_cast<DWORD>(value.size());
        if (!::HttpQueryInfoA(request, query, value.data(), &size, nullptr))
            return std::nullopt;
    }
    value.resize(size);
    return value;
}

// Relaxes the request's certificate checks; false when they were relaxed already (or cannot be).
bool RelaxCertificateChecks(HINTERNET request) {
    DWORD flags = 0;
    DWORD size = sizeof(flags);
    if (!::InternetQueryOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size))
        return false;
    if ((flags & kRelaxedSecurityFlags) == kRelaxedSecurityFlags)
        return false;
    flags |= kRelaxedSecurityFlags;
    return ::InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof(flags)) !=
           FALSE;
}

// Sends the form header and `body` (none when empty), with one retry for a certificate that the
// system does not trust. False when the send failed in the end.
bool SendRequest(HINTERNET request, std::string body) {
    const DWORD length = static_cast<DWORD>(body.size());
    const auto send = [&]() -> DWORD {
        return ::HttpSendRequestA(request, kFormHeader, sizeof(kFormHeader) - 1,
                                  length ? body.data() : nullptr, length)
                   ? 0
                   : ::GetLastError();
    };
    return SendWithCertificateRetry(send, [&] { return RelaxCertificateChecks(request); }) == 0;
}

// The announced length of the body; nothing when the value is no number. Values beyond 64 bits
// stay at the largest one.
std::optional<uint64_t> ContentLength(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    return value;
}

// How much the next read asks for. A WinInet read returns only when its buffer is full or the
// body has ended (under Wine it does), so a read of more than has arrived holds back the
// progress and the cancel when the line slows down; yet every call costs a fixed amount, so
// reads of one chunk cap a fast line far below what it gives. WinInet tells what it holds
// (under Wine one buffer of 8 KiB at most, after waiting for the first byte). Less than a full
// buffer means the line is not ahead of the reads: that much is read, and nothing waits. A full
// buffer means it is ahead: the read size doubles with each full buffer in a row, up to
// kMaxReadSize, which bounds what a read can wait for when a fast line suddenly slows down.
// Such reads end on multiples of their size, so a pause on a multiple of kMaxReadSize is seen
// with everything before it.
class CReadSize {
public:
    DWORD Next(HINTERNET request, uint32_t received) {
        DWORD available = 0;
        if (!::InternetQueryDataAvailable(request, &available, 0, 0) || available == 0)
            return kChunkSize; // the end of the body, or an error that the read reports
        if (available < kChunkSize) {
            ahead_ = kChunkSize;
            return available;
        }
        // Never more than kMaxReadSize: the block that takes the read has no room for more,
        // and WinInet on Windows may hold far more than one buffer.
        const DWORD size = std::min(std::max(available, ahead_ - received % ahead_), kMaxReadSize);
        ahead_ = std::min(ahead_ * 2, kMaxReadSize);
        return size;
    }

private:
    DWORD ahead_ = kChunkSize;
};

} // namespace

// One pass's request and what its reads need. The transfer shares it with the read in flight,
// so that a read it leaves on a cancel still has the handles and the buffer until it ends; the
// last owner closes the handles (request, connection, session) and frees the buffer.
struct CHttpTransfer::OpenRequest {
    // Declared in this order so that they close in reverse: request, connection, session.
    UniqueInternetHandle session;
    UniqueInternetHandle connection;
    UniqueInternetHandle request;
    std::vector<char> block; // only for a reply whose body is read
    CReadSize readSize;
    // The outcome of the last read.
    bool readOk = false;
    DWORD read = 0;
    DWORD readError = 0;

    // Reads what has arrived, or more while the line keeps ahead (see CReadSize), into the
    // block at `offset`, never beyond its end. On the reader thread.
    void ReadNext(DWORD offset, uint32_t received) {
        const DWORD size =
            std::min<DWORD>(readSize.Next(request.Get(), received), kBlockSize - offset);
        read = 0;
        readOk = ::InternetReadFile(request.Get(), block.data() + offset, size, &read) != FALSE;
        readError = readOk ? 0 : ::GetLastError();
    }
};

namespace {

// The text of a failed read: the table's text of a WinInet error, else the system's.
std::wstring ReadErrorText(DWORD error) {
    if (auto text = FindWinInetErrorText(error))
        return *text;
    std::wstring text = SystemMessageText(error);
    return text.empty() ? WinInetErrorText(error) : text;
}

std::wstring WriteErrorText(DWORD error) {
    std::wstring text = SystemMessageText(error);
    return text.empty() ? platform::ResourceString(IDS_CANT_CONNECT) : text;
}

} // namespace

CHttpTransfer::CHttpTransfer(TransferProgressFn progress) : progress_(std::move(progress)) {
    errorText_ = platform::ResourceString(IDS_CANT_CONNECT);
}

ErrorKind CHttpTransfer::GetError(std::wstring& text) const {
    platform::ScopedLock lock(errorLock_);
    text = errorText_;
    return errorKind_;
}

void CHttpTransfer::SetError(ErrorKind kind, std::wstring text) {
    platform::ScopedLock lock(errorLock_);
    errorKind_ = kind;
    errorText_ = std::move(text);
}

TransferResult CHttpTransfer::Perform(const std::wstring& outputPath, const CRequestInfo& request,
                                      WrittenBytesFn written) {
    SetError(ErrorKind::NoConnection, platform::ResourceString(IDS_CANT_CONNECT));
    cancel_.Set(false);
    total_ = 0;
    received_ = 0;
    startTick_ = ::GetTickCount();
    elapsedMs_ = 0;
    idle_.Clear();
    request_ = request;
    outputPath_ = outputPath;
    written_ = std::move(written);

    if (progress_)
        progress_(0, 0, 0, 0, 0, 0);
    TransferResult result = TransferResult::Failed;
    {
        platform::UniqueHandle file(::CreateFileW(outputPath_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            result = RunRequest(file.Get());
        else
            SetError(ErrorKind::OutputFile, WriteErrorText(::GetLastError()));
    }
    written_ = nullptr;
    idle_.Set();
    return result;
}

TransferResult CHttpTransfer::RunRequest(HANDLE file) {
    TransferResult result = TransferResult::Failed;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        if (RunPass(file, result) == PassOutcome::Finished)
            return result;
    }
    // Still redirected after the last pass.
    return TransferResult::Failed;
}

CHttpTransfer::PassOutcome CHttpTransfer::RunPass(HANDLE file, TransferResult& result) {
    result = TransferResult::Failed;
    const auto open = std::make_shared<OpenRequest>();
    open->session.Reset(
        ::InternetOpenA(request_.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!open->session) {
        SetError(ErrorKind::Session, WinInetErrorText(::GetLastError()));
        return PassOutcome::Finished;
    }
    open->connection.Reset(::InternetConnectA(
        open->session.Get(), request_.host.c_str(), request_.port, "", "", request_.service,
        request_.connectFlags | INTERNET_FLAG_TRANSFER_BINARY, kContext));
    if (!open->connection) {
        SetError(ErrorKind::Session, WinInetErrorText(::GetLastError()));
        return PassOutcome::Finished;
    }

    const bool isGet = request_.verb == "GET";
    // A GET always ends in "?", followed by the parameters when there are any.
    const std::string object = isGet ? request_.path + "?" + request_.body : request_.path;
    LPCSTR acceptTypes[] = {"*/*", nullptr};
    const DWORD flags = kRequestFlags | (request_.secure ? INTERNET_FLAG_SECURE : 0);
    open->request.Reset(::HttpOpenRequestA(open->connection.Get(), request_.verb.c_str(),
                                           object.c_str(), nullptr, nullptr, acceptTypes, flags,
                                           kContext));
    const HINTERNET request = open->request.Get();
    if (!request) {
        SetError(ErrorKind::Session, WinInetErrorText(::GetLastError()));
        return PassOutcome::Finished;
    }

    const bool sent = SendRequest(request, isGet ? std::string() : request_.body);

    const std::optional<std::string> statusText = QueryHeader(request, HTTP_QUERY_STATUS_CODE, 256);
    if (!statusText)
        return PassOutcome::Finished;
    const unsigned long status = platform::ReadDecimal(*statusText);

    if (status < 300) {
        result = ReceiveReply(open, file, sent);
        return PassOutcome::Finished;
    }
    if (status == HTTP_STATUS_MOVED)
        return FollowRedirect(request) ? PassOutcome::Redirected : PassOutcome::Finished;
    if (status != HTTP_STATUS_REDIRECT) {
        const std::optional<std::wstring> text = HttpStatusText(status);
        SetError(ErrorKind::HttpStatus, text ? platform::FormatWide(L"%s", text->c_str())
                                             : platform::ResourceString(IDS_CANT_CONNECT));
    }
    return PassOutcome::Finished;
}

TransferResult CHttpTransfer::ReceiveReply(const std::shared_ptr<OpenRequest>& open, HANDLE file,
                                           bool sent) {
    const HINTERNET request = open->request.Get();
    if (!sent) {
        SetError(ErrorKind::HttpStatus, platform::ResourceString(IDS_CANT_CONNECT));
        return TransferResult::Failed;
    }
    const std::optional<std::string> contentType =
        QueryHeader(request, HTTP_QUERY_CONTENT_TYPE, 1024);
    if (!contentType) {
        SetError(ErrorKind::HttpStatus, platform::ResourceString(IDS_CANT_CONNECT));
        return TransferResult::Failed;
    }
    // A server that refuses a package answers with a page instead; it is still read, for the
    // messages it carries.
    const bool rejected = request_.verb == "POST" && request_.expectBinary == 1 &&
                          contentType->find(kBinaryContentType) == std::string::npos;
    if (const auto header = QueryHeader(request, HTTP_QUERY_CONTENT_LENGTH, 1024)) {
        const std::optional<uint64_t> length = ContentLength(*header);
        // The counters hold 32 bits: a larger file would wrap into a short one that passes.
        if (length && *length > UINT32_MAX) {
            SetError(ErrorKind::Transfer, platform::ResourceString(IDS_PACKAGE_TOO_LARGE));
            return TransferResult::Failed;
        }
        total_ = static_cast<uint32_t>(length.value_or(0));
    }

    const bool complete = ReadBody(open, file);
    if (cancel_.Get())
        return TransferResult::Cancelled;
    if (!complete)
        return TransferResult::Failed;
    if (rejected) {
        SetError(ErrorKind::Rejected, platform::ResourceString(IDS_PACKAGE_REFUSED));
        std::wstring messages = ReadServerMessages(file);
        if (!messages.empty())
            SetError(ErrorKind::Rejected, std::move(messages));
        return TransferResult::Failed;
    }
    return TransferResult::Done;
}

bool CHttpTransfer::ReadBody(const std::shared_ptr<OpenRequest>& open, HANDLE file) {
    // Reads land one after the other in the block, which is written when it is full, at the end
    // and when the transfer stops: one write for many small reads.
    open->block.resize(kBlockSize);
    const char* const block = open->block.data();
    DWORD pending = 0;
    bool started = false; // the next read runs already, into the block at `pending`
    for (;;) {
        if (!started) {
            if (kBlockSize - pending < kMaxReadSize) {
                if (!WriteBlock(file, block, pending))
                    return false;
                pending = 0;
            }
            StartRead(open, pending, received_);
        }
        if (!AwaitRead())
            return WriteBlock(file, block, pending); // cancelled: the read in flight is left
        if (!open->readOk) {
            SetError(ErrorKind::Transfer, ReadErrorText(open->readError));
            WriteBlock(file, block, pending);
            return false;
        }
        DWORD read = open->read;
        // Bytes beyond the announced length are no part of the reply (WinInet may hand out what
        // came with the head, whatever the length says).
        if (total_ != 0)
            read = std::min<DWORD>(read, total_ - received_);
        if (read == 0) {
            // The end of the body is reported once more, as a chunk of nothing.
            CountChunk(0);
            break;
        }
        if (read > UINT32_MAX - received_) {
            WriteBlock(file, block, pending);
            SetError(ErrorKind::Transfer, platform::ResourceString(IDS_PACKAGE_TOO_LARGE));
            return false;
        }
        // While this read is counted, the next one runs behind it when the block has room.
        started = kBlockSize - (pending + read) >= kMaxReadSize;
        if (started)
            StartRead(open, pending + read, received_ + read);
        // Chunk by chunk: a cancel drops the chunk in flight and the rest of the read.
        bool cancelled = false;
        for (DWORD offset = 0; offset < read && !cancelled; offset += kChunkSize) {
            const DWORD size = std::min(kChunkSize, read - offset);
            cancelled = cancel_.Get();
            if (!cancelled)
                pending += size;
            CountChunk(size);
            // The callback may have asked for the cancel itself.
            cancelled = cancelled || cancel_.Get();
        }
        if (cancelled) {
            if (started)
                reader_.Leave(); // it writes behind what is kept
            return WriteBlock(file, block, pending);
        }
    }
    if (!WriteBlock(file, block, pending))
        return false;
    // A connection that ends before the announced length must not pass for a whole file.
    if (total_ != 0 && received_ < total_) {
        SetError(ErrorKind::Transfer, WinInetErrorText(ERROR_INTERNET_CONNECTION_ABORTED));
        return false;
    }
    return true;
}

void CHttpTransfer::StartRead(const std::shared_ptr<OpenRequest>& open, DWORD offset,
                              uint32_t received) {
    reader_.Start([open, offset, received] { open->ReadNext(offset, received); });
}

bool CHttpTransfer::AwaitRead() {
    while (!reader_.WaitFor(kReadSliceMs)) {
        if (cancel_.Get()) {
            reader_.Leave();
            return false;
        }
        // Nothing more has arrived, but the time and the rate shown stay current.
        CountChunk(0);
    }
    return true;
}

void CHttpTransfer::CountChunk(DWORD size) {
    received_ += size;
    elapsedMs_ = ::GetTickCount() - startTick_;
    ReportProgress();
}

bool CHttpTransfer::WriteBlock(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    if (size != 0 && (!::WriteFile(file, data, size, &written, nullptr) || written != size)) {
        SetError(ErrorKind::Transfer, WriteErrorText(::GetLastError()));
        return false;
    }
    if (size != 0 && written_)
        written_(data, size);
    return true;
}

bool CHttpTransfer::FollowRedirect(HINTERNET request) {
    const std::optional<std::string> location = QueryHeader(request, HTTP_QUERY_LOCATION, 256);
    if (!location || location->empty())
        return false;
    const RequestTarget next =
        ResolveLocation({request_.host, request_.port, request_.path}, *location);
    request_.verb = "GET";
    request_.host = next.host;
    request_.port = next.port;
    request_.path = next.path;
    return true;
}

void CHttpTransfer::ReportProgress() {
    if (!progress_)
        return;
    const uint32_t total = total_;
    const uint32_t received = received_;
    const TransferTiming timing = ComputeTransferTiming(total, received, elapsedMs_);
    progress_(total, received, timing.rate, timing.remainingSeconds, timing.elapsedSeconds, 0);
}

} // namespace service
