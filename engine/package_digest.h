#pragma once
// The check of a downloaded package against the SHA-256 that the version file publishes for it:
// the hash follows the bytes as the transfer writes them, so the file is never read again, and it
// runs on a thread of its own, so that it costs the download little time.

#include "platform/background_sha256.h"
#include "platform/sha256.h"
#include "service/http_transfer.h"

#include <memory>
#include <optional>
#include <string>

enum class PackageVerdict {
    NotPublished,    // the section has no "sha256": the package is taken as before
    Matches,         // the bytes are those published
    Differs,         // damaged, or changed on the way
    Malformed,       // the published value is not 64 hexadecimal digits
    HashUnavailable, // the system's hash failed, so the bytes cannot be vouched for
};

// Only a package that matches, or one without a published hash, may be installed.
bool PackageMayRun(PackageVerdict verdict);

class CPackageDigest {
public:
    // `published` is the section's "sha256" value; nothing when it has none.
    explicit CPackageDigest(const std::optional<std::string>& published);

    bool IsMalformed() const { return published_ && !expected_; }
    // For the transfer: feeds the hash with every byte written. Empty when nothing is to be
    // compared. The digest must outlive the transfer's run.
    service::WrittenBytesFn Observer();
    // After a transfer that is done: what the written bytes say. Once only.
    PackageVerdict Verdict();
    // The downloaded bytes' digest as text, once Verdict has computed it; else empty.
    const std::string& DownloadedText() const { return downloaded_; }

private:
    bool published_ = false;
    std::optional<platform::Sha256Digest> expected_;
    std::unique_ptr<platform::CBackgroundSha256> hash_;
    std::string downloaded_;
};

// The verdict for the run log, with the downloaded bytes' digest once it was computed.
std::wstring PackageVerdictText(PackageVerdict verdict, const CPackageDigest& digest);
