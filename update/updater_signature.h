// The updater's signature as the manifest carries it, and the key that checks it, in the forms
// the system's verifier takes: an ECDSA P-256 signature over SHA-256 as the 64 bytes r || s, and
// the public key as the 64 bytes X || Y. Pure code; signature_check_win.h does the checking.
#pragma once

#include <optional>
#include <string>

// Strict base64 (RFC 4648, "=" padding where due, nothing else); none for anything else.
std::optional<std::string> DecodeBase64(const std::string& text);

// A DER ECDSA signature (SEQUENCE of two INTEGERs, as "openssl dgst -sign" writes it) as r || s,
// each 32 bytes; none for anything malformed or for a number longer than 32 bytes.
std::optional<std::string> EcdsaDerToRaw(const std::string& der);

// The manifest's "signature" text: base64 of the DER signature, as r || s.
std::optional<std::string> ParseUpdaterSignature(const std::string& base64);

// A public key given as 128 hexadecimal digits (X then Y), or 130 starting with the uncompressed
// point's 04, as 64 bytes; none otherwise.
std::optional<std::string> ParsePublicKeyHex(const std::string& hex);
