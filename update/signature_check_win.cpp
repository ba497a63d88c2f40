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

// A SHA-256 being computed; Finish gives the 32 bytes, empty after any failure.
class Sha256 {
public:
    Sha256() {
        BCRYPT_ALG_HANDLE opened = nullptr;
        if (!Succeeded(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
        algorithm_.Reset(opened);
        BCRYPT_HASH_HANDLE made = nullptr;
        if (Succeeded(BCryptCreateHash(algorithm_.Get(), &made, nullptr, 0, nullptr, 0, 0))) hash_.Reset(made);
    }
    void Add(const void* data, size_t size) {
        if (hash_ && !Succeeded(BCryptHashData(hash_.Get(), static_cast<PUCHAR>(const_cast<void*>(data)),
                                               static_cast<ULONG>(size), 0))) {
            hash_.Reset();
        }
    }
    std::string Finish() {
        std::string digest(32, '\0');
        if (!hash_ || !Succeeded(BCryptFinishHash(hash_.Get(), reinterpret_cast<PUCHAR>(&digest[0]), 32, 0))) {
            return std::string();
        }
        hash_.Reset();
        return digest;
    }

private:
    UniqueResource<AlgorithmTraits> algorithm_;
    UniqueResource<HashTraits> hash_;
};

}  // namespace

std::string Sha256OfOpenFile(HANDLE file) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return std::string();
    Sha256 hash;
    // A piece at a time: an updater may be 256 MiB, too much to hold at once in this 32-bit process.
    std::vector<char> piece(1u << 20);
    DWORD got = 0;
    while (true) {
        if (!ReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) return std::string();
        if (got == 0) break;
        hash.Add(piece.data(), got);
    }
    return hash.Finish();
}

bool VerifySignedText(const std::string& message, const std::string& signature, const std::string& publicKey) {
    if (signature.size() != 64 || publicKey.size() != 64) return false;
    Sha256 hash;
    hash.Add(message.data(), message.size());
    std::string digest = hash.Finish();
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
    return BCryptVerifySignature(key.Get(), nullptr, reinterpret_cast<PUCHAR>(&digest[0]),
                                 static_cast<ULONG>(digest.size()), raw.data(), static_cast<ULONG>(raw.size()), 0) == 0;
}
