#pragma once
// Owners of the system's cryptography (CNG) handles: algorithm providers, hashes and keys.

#include "platform/unique_resource.h"

#include <windows.h>

#include <bcrypt.h>

namespace platform {

struct CngAlgorithmTraits {
    static BCRYPT_ALG_HANDLE Invalid() { return nullptr; }
    static bool IsValid(BCRYPT_ALG_HANDLE h) { return h != nullptr; }
    static void Close(BCRYPT_ALG_HANDLE h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};

struct CngHashTraits {
    static BCRYPT_HASH_HANDLE Invalid() { return nullptr; }
    static bool IsValid(BCRYPT_HASH_HANDLE h) { return h != nullptr; }
    static void Close(BCRYPT_HASH_HANDLE h) { ::BCryptDestroyHash(h); }
};

struct CngKeyTraits {
    static BCRYPT_KEY_HANDLE Invalid() { return nullptr; }
    static bool IsValid(BCRYPT_KEY_HANDLE h) { return h != nullptr; }
    static void Close(BCRYPT_KEY_HANDLE h) { ::BCryptDestroyKey(h); }
};

using UniqueCngAlgorithm = UniqueResource<CngAlgorithmTraits>;
using UniqueCngHash = UniqueResource<CngHashTraits>;
using UniqueCngKey = UniqueResource<CngKeyTraits>;

// NTSTATUS results of CNG: success is any value that is not negative.
inline bool CngSucceeded(NTSTATUS status) {
    return status >= 0;
}

// An algorithm provider of the system; empty when it has none of that name.
inline UniqueCngAlgorithm OpenCngAlgorithm(const wchar_t* algorithm) {
    UniqueCngAlgorithm provider;
    if (!CngSucceeded(::BCryptOpenAlgorithmProvider(provider.Put(), algorithm, nullptr, 0)))
        provider.Reset();
    return provider;
}

} // namespace platform
