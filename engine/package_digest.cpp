#include "engine/package_digest.h"

#include "platform/text.h"

bool PackageMayRun(PackageVerdict verdict) {
    return verdict == PackageVerdict::NotPublished || verdict == PackageVerdict::Matches;
}

CPackageDigest::CPackageDigest(const std::optional<std::string>& published)
    : published_(published.has_value()) {
    if (published)
        expected_ = platform::ParseSha256Text(*published);
    if (expected_)
        hash_ = std::make_unique<platform::CBackgroundSha256>();
}

service::WrittenBytesFn CPackageDigest::Observer() {
    if (!hash_)
        return {};
    return [hash = hash_.get()](const char* data, size_t size) { hash->Add(data, size); };
}

PackageVerdict CPackageDigest::Verdict() {
    if (!published_)
        return PackageVerdict::NotPublished;
    if (!expected_)
        return PackageVerdict::Malformed;
    const std::optional<platform::Sha256Digest> downloaded = hash_->Finish();
    if (!downloaded)
        return PackageVerdict::HashUnavailable;
    downloaded_ = platform::Sha256Text(*downloaded);
    return *downloaded == *expected_ ? PackageVerdict::Matches : PackageVerdict::Differs;
}

std::wstring PackageVerdictText(PackageVerdict verdict, const CPackageDigest& digest) {
    const wchar_t* text = L"no SHA-256 published";
    switch (verdict) {
    case PackageVerdict::NotPublished:
        break;
    case PackageVerdict::Matches:
        text = L"SHA-256 matches the published one";
        break;
    case PackageVerdict::Differs:
        text = L"SHA-256 differs from the published one; the package was deleted";
        break;
    case PackageVerdict::Malformed:
        text = L"the published SHA-256 is not 64 hexadecimal digits; the package was not taken";
        break;
    case PackageVerdict::HashUnavailable:
        text = L"SHA-256 could not be computed; the package was deleted";
        break;
    }
    std::wstring line = text;
    if (!digest.DownloadedText().empty())
        line += platform::FormatWide(L" (downloaded %hs)", digest.DownloadedText().c_str());
    return line;
}
