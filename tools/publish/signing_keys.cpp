#include "tools/publish/signing_keys.h"

#include "platform/cng_handles.h"
#include "platform/ecdsa_signature.h"
#include "platform/sha256.h"
#include "tools/publish/file_bytes.h"

#include <vector>

namespace publish {
namespace {

std::vector<uint8_t> ExportKey(BCRYPT_KEY_HANDLE key, const wchar_t* blobType) {
    ULONG size = 0;
    if (!platform::CngSucceeded(::BCryptExportKey(key, nullptr, blobType, nullptr, 0, &size, 0)))
        return {};
    std::vector<uint8_t> blob(size);
    if (!platform::CngSucceeded(
            ::BCryptExportKey(key, nullptr, blobType, blob.data(), size, &size, 0)))
        return {};
    blob.resize(size);
    return blob;
}

// The file's digest, or a reason in `error`.
std::optional<platform::Sha256Digest> DigestOf(const std::wstring& path, std::wstring& error) {
    std::optional<platform::Sha256Digest> digest = platform::Sha256OfFile(path);
    if (!digest)
        error = L"cannot read " + path;
    return digest;
}

} // namespace

bool MakeKeyPair(const std::wstring& privatePath, const std::wstring& publicPath,
                 std::wstring& error) {
    const platform::UniqueCngAlgorithm algorithm =
        platform::OpenCngAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    platform::UniqueCngKey key;
    if (!algorithm ||
        !platform::CngSucceeded(::BCryptGenerateKeyPair(algorithm.Get(), key.Put(), 256, 0)) ||
        !platform::CngSucceeded(::BCryptFinalizeKeyPair(key.Get(), 0))) {
        error = L"the system cannot make an ECDSA P-256 key";
        return false;
    }
    const std::vector<uint8_t> privateKey = ExportKey(key.Get(), BCRYPT_ECCPRIVATE_BLOB);
    const std::vector<uint8_t> publicKey = ExportKey(key.Get(), BCRYPT_ECCPUBLIC_BLOB);
    if (!platform::IsEcdsaP256KeyBlob(privateKey, BCRYPT_ECDSA_PRIVATE_P256_MAGIC) ||
        !platform::IsEcdsaP256KeyBlob(publicKey, BCRYPT_ECDSA_PUBLIC_P256_MAGIC)) {
        error = L"the system gave the key in an unexpected form";
        return false;
    }
    if (!WriteFileBytes(privatePath, privateKey, true)) {
        error = L"cannot write " + privatePath + L" (an existing key is never replaced)";
        return false;
    }
    if (!WriteFileBytes(publicPath, publicKey)) {
        error = L"cannot write " + publicPath;
        return false;
    }
    return true;
}

bool SignFile(const std::wstring& path, const std::wstring& privatePath, std::wstring& error) {
    const std::optional<std::vector<uint8_t>> privateKey = ReadFileBytes(privatePath);
    if (!privateKey ||
        !platform::IsEcdsaP256KeyBlob(*privateKey, BCRYPT_ECDSA_PRIVATE_P256_MAGIC)) {
        error = privatePath + L" is not a private key made by keygen";
        return false;
    }
    std::optional<platform::Sha256Digest> digest = DigestOf(path, error);
    if (!digest)
        return false;
    const platform::UniqueCngAlgorithm algorithm =
        platform::OpenCngAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    platform::UniqueCngKey key;
    std::vector<uint8_t> signature(platform::kEcdsaP256SignatureSize);
    ULONG size = 0;
    if (!algorithm ||
        !platform::CngSucceeded(::BCryptImportKeyPair(
            algorithm.Get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, key.Put(),
            const_cast<PUCHAR>(privateKey->data()), static_cast<ULONG>(privateKey->size()), 0)) ||
        !platform::CngSucceeded(
            ::BCryptSignHash(key.Get(), nullptr, digest->data(), static_cast<ULONG>(digest->size()),
                             signature.data(), static_cast<ULONG>(signature.size()), &size, 0)) ||
        size != signature.size()) {
        error = L"the system could not sign with " + privatePath;
        return false;
    }
    if (!WriteFileBytes(path + L".sig", signature)) {
        error = L"cannot write " + path + L".sig";
        return false;
    }
    return true;
}

bool VerifyFileSignature(const std::wstring& path, const std::wstring& publicPath,
                         std::wstring& error) {
    const std::optional<std::vector<uint8_t>> publicKey = ReadFileBytes(publicPath);
    const std::optional<std::vector<uint8_t>> signature = ReadFileBytes(path + L".sig");
    std::optional<platform::Sha256Digest> digest = DigestOf(path, error);
    if (!digest)
        return false;
    if (!publicKey || !signature || !platform::VerifyEcdsaP256(*publicKey, *digest, *signature)) {
        error = path + L".sig is not a signature of " + path + L" by " + publicPath;
        return false;
    }
    return true;
}

} // namespace publish
