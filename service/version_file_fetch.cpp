#include "service/version_file_fetch.h"

#include "platform/resource_strings.h"
#include "resources/resource_ids.h"
#include "service/version_file_signature.h"

namespace service {

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
    if (publicKey.empty())
        return fetched;
    const std::optional<platform::Sha256Digest> digest = hash.Finish();
    if (fetched && digest &&
        VersionFileSignatureHolds(transfer, host, updateTempFolder, *digest, publicKey))
        return true;
    ::DeleteFileW(versionFilePath.c_str());
    return false;
}

} // namespace service
