#include "service/version_file_signature.h"

#include "platform/ecdsa_signature.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "service/version_file_fetch.h"

namespace service {
namespace {

// The file's bytes when it holds exactly `size` of them.
std::vector<uint8_t> ReadExactly(const std::wstring& path, size_t size) {
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER fileSize = {};
    if (!file || !::GetFileSizeEx(file.Get(), &fileSize) ||
        fileSize.QuadPart != static_cast<LONGLONG>(size))
        return {};
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr) ||
        read != size)
        return {};
    return bytes;
}

} // namespace

std::vector<uint8_t> BuiltInVersionFileKey() {
    // From the executable itself: a language satellite must not be able to bring a key.
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_VERSION_FILE_KEY), RT_RCDATA);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const uint8_t*>(::LockResource(loaded)) : nullptr;
    if (bytes == nullptr)
        return {};
    return {bytes, bytes + ::SizeofResource(module, found)};
}

bool VersionFileSignatureHolds(CHttpTransfer& transfer, const HostAddress& host,
                               const std::wstring& updateTempFolder,
                               const platform::Sha256Digest& versionFileDigest,
                               std::span<const uint8_t> publicKey) {
    CRequestInfo request = VersionFileRequest(host);
    request.path = kVersionFileSignatureObject;
    const std::wstring path = updateTempFolder + L"\\" + kVersionFileSignatureName;
    const bool fetched = transfer.Perform(path, request) == TransferResult::Done;
    const std::vector<uint8_t> signature =
        fetched ? ReadExactly(path, platform::kEcdsaP256SignatureSize) : std::vector<uint8_t>{};
    ::DeleteFileW(path.c_str());
    return !signature.empty() && platform::VerifyEcdsaP256(publicKey, versionFileDigest, signature);
}

} // namespace service
