// The system's own cryptography (CNG) for updates: SHA-256 of a file read through a handle the
// caller holds, and the ECDSA P-256 check of a release's signed statement.
#pragma once

#include <windows.h>

#include <string>

// The 32 bytes of the SHA-256 of everything in file, read from its start; empty on failure.
std::string Sha256OfOpenFile(HANDLE file);

// True only when signature (r || s, 64 bytes) is a valid ECDSA P-256 signature, over SHA-256,
// of message by the key (X || Y, 64 bytes).
bool VerifySignedText(const std::string& message, const std::string& signature, const std::string& publicKey);
