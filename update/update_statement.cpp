#include "update/update_statement.h"

#include "update/utc_timestamp.h"

namespace {

bool IsPlainLine(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
    }
    return true;
}

int LowerHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> UpdateStatement(const std::string& version, const std::string& url,
                                           const std::string& sha256Hex, const std::string& expires) {
    if (!IsPlainLine(version) || !IsPlainLine(url) || !ParseSha256Hex(sha256Hex) || !ParseUtcTimestamp(expires)) {
        return std::nullopt;
    }
    return std::string(kUpdateStatementTag) + "\n" + version + "\n" + url + "\n" + sha256Hex + "\n" + expires + "\n";
}

std::optional<std::string> ParseSha256Hex(const std::string& hex) {
    if (hex.size() != 64) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = LowerHexValue(hex[i]), low = LowerHexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high << 4 | low));
    }
    return bytes;
}
