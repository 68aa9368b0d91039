#pragma once
// The maker's side of the version file's signature: key pairs and signatures, in the formats of
// platform/ecdsa_signature.h.

#include <string>

namespace publish {

// Makes a new ECDSA P-256 key pair and writes its private and public halves. An existing private
// key file is never replaced. False, with a reason in `error`, on failure.
bool MakeKeyPair(const std::wstring& privatePath, const std::wstring& publicPath,
                 std::wstring& error);

// Writes `path` + ".sig": the signature of the file's exact bytes with the private key.
bool SignFile(const std::wstring& path, const std::wstring& privatePath, std::wstring& error);

// True when `path` + ".sig" is the signature of the file by the public key.
bool VerifyFileSignature(const std::wstring& path, const std::wstring& publicPath,
                         std::wstring& error);

} // namespace publish
