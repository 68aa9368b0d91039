#pragma once
// ECDSA signatures on the curve P-256 over SHA-256, checked with the system's cryptography (CNG).
//
// Formats, as CNG writes them:
//   public key  BCRYPT_ECCPUBLIC_BLOB: "ECS1", the key length 32 (4 bytes, little-endian), then
//               X and Y (32 bytes each, big-endian): 72 bytes;
//   private key BCRYPT_ECCPRIVATE_BLOB: "ECS2", 32, X, Y and d: 104 bytes;
//   signature   r and s, 32 bytes each, big-endian, one after the other: 64 bytes (what
//               BCryptSignHash gives).

#include "platform/sha256.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

inline constexpr size_t kEcdsaP256PublicKeySize = 72;
inline constexpr size_t kEcdsaP256PrivateKeySize = 104;
inline constexpr size_t kEcdsaP256SignatureSize = 64;

// True when `signature` is the signature by the key `publicKey` of the message whose SHA-256 is
// `digest`. Any key or signature not of the formats above gives false.
bool VerifyEcdsaP256(std::span<const uint8_t> publicKey, const Sha256Digest& digest,
                     std::span<const uint8_t> signature);

// The key blob's header is that of a P-256 key of `magic` (public or private) and the blob has
// the size that goes with it.
bool IsEcdsaP256KeyBlob(std::span<const uint8_t> blob, unsigned long magic);

} // namespace platform
