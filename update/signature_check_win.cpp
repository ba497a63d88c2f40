#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "base/unique_handle.h"
#include "update/signature_check.h"

namespace {

struct AlgorithmTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { BCryptCloseAlgorithmProvider(h, 0); }
};
struct KeyTraits {
    using Type = BCRYPT_KEY_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { BCryptDestroyKey(h); }
};
struct HashTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { BCryptDestroyHash(h); }
};

bool Succeeded(NTSTATUS status) { return status >= 0; }

// SHA-256 of the file's bytes, read a piece at a time (an updater may be 256 MiB, too much to
// hold at once in this 32-bit process); empty on failure.
std::vector<UCHAR> Sha256OfFile(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    BCRYPT_ALG_HANDLE opened = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return {};
    UniqueResource<AlgorithmTraits> algorithm(opened);
    BCRYPT_HASH_HANDLE made = nullptr;
    if (!Succeeded(BCryptCreateHash(algorithm.Get(), &made, nullptr, 0, nullptr, 0, 0))) return {};
    UniqueResource<HashTraits> hash(made);
    std::vector<UCHAR> piece(1u << 20), digest(32);
    DWORD got = 0;
    while (true) {
        if (!ReadFile(file.Get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) return {};
        if (got == 0) break;
        if (!Succeeded(BCryptHashData(hash.Get(), piece.data(), got, 0))) return {};
    }
    if (!Succeeded(BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) return {};
    return digest;
}

}  // namespace

bool VerifyFileSignature(const std::wstring& path, const std::string& signature, const std::string& publicKey) {
    if (signature.size() != 64 || publicKey.size() != 64) return false;
    const std::vector<UCHAR> digest = Sha256OfFile(path);
    if (digest.empty()) return false;
    BCRYPT_ALG_HANDLE opened = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&opened, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
    UniqueResource<AlgorithmTraits> algorithm(opened);
    // The key blob: its header (magic, key size) and then X and Y.
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::copy(reinterpret_cast<const UCHAR*>(&header), reinterpret_cast<const UCHAR*>(&header + 1), blob.begin());
    std::copy(publicKey.begin(), publicKey.end(), blob.begin() + sizeof header);
    BCRYPT_KEY_HANDLE imported = nullptr;
    if (!Succeeded(BCryptImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported, blob.data(),
                                       static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    UniqueResource<KeyTraits> key(imported);
    std::vector<UCHAR> raw(signature.begin(), signature.end());
    return BCryptVerifySignature(key.Get(), nullptr, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
                                 raw.data(), static_cast<ULONG>(raw.size()), 0) == 0;
}
