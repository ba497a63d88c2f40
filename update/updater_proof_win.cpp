#include "update/updater_proof.h"

#include <windows.h>
#include <bcrypt.h>

#include "base/unique_handle.h"

namespace {

struct Proof {
    UniqueHandle mutex;
    std::wstring token;
};

Proof MakeProof() {
    Proof proof;
    unsigned char random[16];
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return proof;
    }
    std::wstring token;
    for (unsigned char byte : random) {
        token += L"0123456789abcdef"[byte >> 4];
        token += L"0123456789abcdef"[byte & 15];
    }
    proof.mutex.Reset(CreateMutexW(nullptr, FALSE, (kUpdaterProofPrefix + token).c_str()));
    // A mutex of that name that already existed is somebody else's: no proof of ours.
    if (proof.mutex && GetLastError() != ERROR_ALREADY_EXISTS) proof.token = token;
    return proof;
}

}  // namespace

const std::wstring& HeldUpdaterProof() {
    // Held until the process ends: the setup's updating copy checks it again after the setup
    // the program waited for has ended.
    static const Proof proof = MakeProof();
    return proof.token;
}
