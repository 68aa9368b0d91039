#pragma once
// The signature of the version file. A program built with the maker's public key (a resource of
// the executable) takes a version file only together with "/downloads/update.ini.sig" from the
// same host: the ECDSA P-256 signature, r and s as 64 raw bytes, over the version file's exact
// bytes (see platform/ecdsa_signature.h for the formats).

#include "platform/sha256.h"
#include "service/http_transfer.h"
#include "service/update_host.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace service {

inline constexpr char kVersionFileSignatureObject[] = "/downloads/update.ini.sig";
inline constexpr wchar_t kVersionFileSignatureName[] = L"kv__path.sig";

// The public key that the executable carries; empty when it was built without one, and then no
// signature is asked for.
std::vector<uint8_t> BuiltInVersionFileKey();

// Fetches the signature from `host` into the update temporary folder and checks it, with
// `publicKey`, against `versionFileDigest`. False for a failed fetch, a signature that is not
// 64 bytes, or one that does not match.
bool VersionFileSignatureHolds(CHttpTransfer& transfer, const HostAddress& host,
                               const std::wstring& updateTempFolder,
                               const platform::Sha256Digest& versionFileDigest,
                               std::span<const uint8_t> publicKey);

} // namespace service
