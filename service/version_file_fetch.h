#pragma once
// The download of the version file, the list of builds that the update service offers.

#include "service/http_transfer.h"
#include "service/request_info.h"
#include "service/update_host.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace service {

inline constexpr char kVersionFileObject[] = "/downloads/update.ini";
inline constexpr wchar_t kVersionFileName[] = L"kv__path.tmp";
// The worker's progress code while the version file is fetched.
inline constexpr uint32_t kProgressGatheringInformation = 2;

// Where the version file is stored: the update temporary folder, "\" and kVersionFileName.
std::wstring VersionFilePath(const std::wstring& updateTempFolder);

// The plain GET of the version file from `host`.
CRequestInfo VersionFileRequest(const HostAddress& host);

using SetProgressFn = std::function<void(uint32_t code, const std::wstring& text)>;

// Announces (2, "Gathering information from Velk") through `setProgress` (may be empty), stores
// the path in `versionFilePath` and downloads the file from the update host there. True when
// the transfer was done. With a `publicKey` the file's signature must hold as well
// (version_file_signature.h); when it does not, or the fetch failed, the file is deleted, so
// that nothing reads a version file that the maker's key does not vouch for.
bool FetchVersionFile(CHttpTransfer& transfer, const std::wstring& updateTempFolder,
                      std::wstring& versionFilePath, const SetProgressFn& setProgress,
                      std::span<const uint8_t> publicKey = {});

} // namespace service
