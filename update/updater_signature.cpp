#include "update/updater_signature.h"

#include <cstdint>

namespace {

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one DER INTEGER at der[at] as a 32-byte big-endian number; moves at past it.
bool ReadInteger(const std::string& der, size_t& at, std::string& out) {
    if (at + 2 > der.size() || static_cast<uint8_t>(der[at]) != 0x02) return false;
    size_t length = static_cast<uint8_t>(der[at + 1]);
    at += 2;
    if (length == 0 || length > 33 || at + length > der.size()) return false;
    std::string value = der.substr(at, length);
    at += length;
    // A leading zero only keeps a high bit from reading as a sign; a negative number is no r or s.
    if (static_cast<uint8_t>(value[0]) & 0x80) return false;
    if (value.size() == 33) {
        if (value[0] != 0) return false;
        value.erase(0, 1);
    }
    out = std::string(32 - value.size(), '\0') + value;
    return true;
}

}  // namespace

std::optional<std::string> DecodeBase64(const std::string& text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            const int v = k >= 4 - pad ? 0 : Base64Value(text[i + k]);
            if (v < 0) return std::nullopt;
            group = group << 6 | static_cast<uint32_t>(v);
        }
        const char out[3] = {static_cast<char>(group >> 16), static_cast<char>(group >> 8), static_cast<char>(group)};
        bytes.append(out, 3 - pad);
    }
    return bytes;
}

std::optional<std::string> EcdsaDerToRaw(const std::string& der) {
    // SEQUENCE, short length (two 33-byte INTEGERs need at most 70), exactly the two INTEGERs.
    if (der.size() < 2 || static_cast<uint8_t>(der[0]) != 0x30) return std::nullopt;
    if (static_cast<uint8_t>(der[1]) != der.size() - 2) return std::nullopt;
    size_t at = 2;
    std::string r, s;
    if (!ReadInteger(der, at, r) || !ReadInteger(der, at, s) || at != der.size()) return std::nullopt;
    return r + s;
}

std::optional<std::string> ParseUpdaterSignature(const std::string& base64) {
    const std::optional<std::string> der = DecodeBase64(base64);
    return der ? EcdsaDerToRaw(*der) : std::nullopt;
}

std::optional<std::string> ParsePublicKeyHex(const std::string& hex) {
    // openssl prints the uncompressed point with its leading 04.
    const size_t start = hex.size() == 130 && hex.compare(0, 2, "04") == 0 ? 2 : 0;
    if (hex.size() - start != 128) return std::nullopt;
    std::string key;
    for (size_t i = start; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        key.push_back(static_cast<char>(high << 4 | low));
    }
    return key;
}
