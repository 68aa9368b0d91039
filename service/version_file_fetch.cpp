#include "service/version_file_fetch.h"

#include "platform/resource_strings.h"
#include "platform/run_log.h"
#include "resources/resource_ids.h"
#include "service/version_file_signature.h"

namespace service {
namespace {

void LogVersionFileFetch(const CHttpTransfer& transfer, bool fetched,
                         const std::optional<platform::Sha256Digest>& digest) {
    if (!fetched) {
        std::wstring error;
        transfer.GetError(error);
        platform::LogRunStepF(L"version file %hs: failed: %s", kVersionFileObject, error.c_str());
        return;
    }
    platform::LogRunStepF(L"version file %hs: %u bytes, SHA-256 %hs", kVersionFileObject,
                          transfer.Received(),
                          digest ? platform::Sha256Text(*digest).c_str() : "unavailable");
}

} // namespace

std::wstring VersionFilePath(const std::wstring& updateTempFolder) {
    return updateTempFolder + L"\\" + kVersionFileName;
}

CRequestInfo VersionFileRequest(const HostAddress& host) {
    CRequestInfo request;
    request.verb = "GET";
    request.host = host.host;
    request.port = host.port;
    request.path = kVersionFileObject;
    request.secure = false;
    request.expectBinary = 0;
    request.connectFlags = 0;
    return request;
}

bool FetchVersionFile(CHttpTransfer& transfer, const std::wstring& updateTempFolder,
                      std::wstring& versionFilePath, const SetProgressFn& setProgress,
                      std::span<const uint8_t> publicKey) {
    if (setProgress)
        setProgress(kProgressGatheringInformation,
                    platform::ResourceString(IDS_GATHERING_INFORMATION));
    versionFilePath = VersionFilePath(updateTempFolder);
    // One address for both requests: the signature comes from the host that gave the file.
    const HostAddress host = UpdateHostAddress();
    platform::CSha256 hash;
    const bool fetched = transfer.Perform(versionFilePath, VersionFileRequest(host),
                                          [&hash](const char* data, size_t size) {
                                              hash.Add(data, size);
                                          }) == TransferResult::Done;
    const std::optional<platform::Sha256Digest> digest = hash.Finish();
    LogVersionFileFetch(transfer, fetched, digest);
    if (publicKey.empty())
        return fetched;
    const bool signatureHolds =
        fetched && digest &&
        VersionFileSignatureHolds(transfer, host, updateTempFolder, *digest, publicKey);
    platform::LogRunStep(signatureHolds ? L"version file signature: holds"
                                        : L"version file signature: missing or wrong");
    if (signatureHolds)
        return true;
    ::DeleteFileW(versionFilePath.c_str());
    return false;
}

} // namespace service
