#include "platform/ecdsa_signature.h"

#include "platform/cng_handles.h"

#include <cstring>

namespace platform {

bool IsEcdsaP256KeyBlob(std::span<const uint8_t> blob, unsigned long magic) {
    const size_t expected = magic == BCRYPT_ECDSA_PRIVATE_P256_MAGIC ? kEcdsaP256PrivateKeySize
                                                                     : kEcdsaP256PublicKeySize;
    if (blob.size() != expected)
        return false;
    BCRYPT_ECCKEY_BLOB header;
    std::memcpy(&header, blob.data(), sizeof header);
    return header.dwMagic == magic && header.cbKey == 32;
}

bool VerifyEcdsaP256(std::span<const uint8_t> publicKey, const Sha256Digest& digest,
                     std::span<const uint8_t> signature) {
    if (!IsEcdsaP256KeyBlob(publicKey, BCRYPT_ECDSA_PUBLIC_P256_MAGIC) ||
        signature.size() != kEcdsaP256SignatureSize)
        return false;
    const UniqueCngAlgorithm algorithm = OpenCngAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    UniqueCngKey key;
    if (!algorithm ||
        !CngSucceeded(::BCryptImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB,
                                            key.Put(), const_cast<PUCHAR>(publicKey.data()),
                                            static_cast<ULONG>(publicKey.size()), 0)))
        return false;
    return CngSucceeded(::BCryptVerifySignature(
        key.Get(), nullptr, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
        const_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()), 0));
}

} // namespace platform
