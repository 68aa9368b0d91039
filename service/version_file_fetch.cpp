#include "service/version_file_fetch.h"

#include "platform/resource_strings.h"
#include "resources/resource_ids.h"

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
                      std::wstring& versionFilePath, const SetProgressFn& setProgress) {
    if (setProgress)
        setProgress(kProgressGatheringInformation,
                    platform::ResourceString(IDS_GATHERING_INFORMATION));
    versionFilePath = VersionFilePath(updateTempFolder);
    return transfer.Perform(versionFilePath, VersionFileRequest(UpdateHostAddress())) ==
           TransferResult::Done;
}

} // namespace service
