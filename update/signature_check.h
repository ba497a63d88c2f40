// Checks that the downloaded updater is the one its maker signed, with the system's own
// cryptography (CNG): ECDSA P-256 over the SHA-256 of the file's bytes.
#pragma once

#include <string>

// True only when signature (r || s, 64 bytes) is a valid signature of the whole file at path by
// the key (X || Y, 64 bytes). Any other outcome, an unreadable file included, is false.
bool VerifyFileSignature(const std::wstring& path, const std::string& signature, const std::string& publicKey);
