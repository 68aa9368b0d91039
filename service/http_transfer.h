#pragma once
// Performs one HTTP request at a time over WinInet and writes the reply body into a file,
// reporting progress and keeping the last error (kind and text) for the caller.

#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/interlocked_scalar.h"
#include "service/read_thread.h"
#include "service/request_info.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace service {

enum class TransferResult : uint32_t { Done = 0, Failed = 1, Cancelled = 2 };

enum class ErrorKind : uint32_t {
    NoConnection = 0, // no more specific error: "Can't connect with Velk Update Service"
    HttpStatus = 1,   // the server answered with an error status, or an unreadable reply
    OutputFile = 2,   // the output file could not be created
    Rejected = 4,     // the server refused the request (text or its own messages)
    Session = 5,      // WinInet could not open the session, connection or request
    Transfer = 6,     // reading or writing failed, the reply was cut short or is too large
};

// total, received, rate (bytes per second), remaining seconds, elapsed seconds, always 0.
using TransferProgressFn =
    std::function<void(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t)>;

class CHttpTransfer {
public:
    // `progress` may be empty; it is called on the thread that runs Perform.
    explicit CHttpTransfer(TransferProgressFn progress = {});
    CHttpTransfer(const CHttpTransfer&) = delete;
    CHttpTransfer& operator=(const CHttpTransfer&) = delete;

    // Runs `request` and writes the reply body into `outputPath` (created anew). Synchronous.
    // The file keeps what was written when the request fails or is cancelled.
    TransferResult Perform(const std::wstring& outputPath, const CRequestInfo& request);

    // Stops the running request after its current chunk, or within a tenth of a second while a
    // read waits for the line: that read is left to end on its own thread. Any thread.
    void RequestCancel() { cancel_.Set(true); }

    // The last error's text and kind. Any thread.
    ErrorKind GetError(std::wstring& text) const;

    // Signalled while no request runs.
    const platform::Event& IdleEvent() const { return idle_; }

    uint32_t Total() const { return total_; }
    uint32_t Received() const { return received_; }
    uint32_t ElapsedMilliseconds() const { return elapsedMs_; }

private:
    enum class PassOutcome { Finished, Redirected };
    struct OpenRequest;

    TransferResult RunRequest(HANDLE file);
    PassOutcome RunPass(HANDLE file, TransferResult& result);
    TransferResult ReceiveReply(const std::shared_ptr<OpenRequest>& open, HANDLE file, bool sent);
    bool ReadBody(const std::shared_ptr<OpenRequest>& open, HANDLE file);
    // Starts the next read on the reader thread, into the block at `offset`, for a body of which
    // `received` bytes are counted when it ends.
    void StartRead(const std::shared_ptr<OpenRequest>& open, DWORD offset, uint32_t received);
    // Waits for the read started last; false when a cancel came first: the read is left to its
    // thread.
    bool AwaitRead();
    // Counts one chunk of the body as received and reports the progress.
    void CountChunk(DWORD size);
    bool WriteBlock(HANDLE file, const char* data, DWORD size);
    bool FollowRedirect(HINTERNET request);
    void SetError(ErrorKind kind, std::wstring text);
    void ReportProgress();

    TransferProgressFn progress_;
    CRequestInfo request_;
    std::wstring outputPath_;
    platform::CInterlockedScalar<bool> cancel_{false};
    std::atomic<uint32_t> total_{0};
    std::atomic<uint32_t> received_{0};
    DWORD startTick_ = 0;
    std::atomic<uint32_t> elapsedMs_{0};
    platform::Event idle_{platform::Event::Reset::Manual, true};
    CReadThread reader_;
    mutable platform::CriticalSection errorLock_;
    ErrorKind errorKind_ = ErrorKind::NoConnection;
    std::wstring errorText_;
};

} // namespace service
