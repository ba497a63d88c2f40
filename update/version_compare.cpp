#include "update/version_compare.h"

#include <cstdio>

std::string FormatVersionText(uint32_t ms, uint32_t ls) {
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(ms >> 16), static_cast<int>(ms & 0xFFFF),
                  static_cast<int>(ls >> 16), static_cast<int>(ls & 0xFFFF));
    return text;
}

std::optional<std::array<uint16_t, 4>> ParseVersionText(const std::string& text) {
    std::array<uint16_t, 4> parts{};
    size_t at = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != '.') return std::nullopt;
            ++at;
        }
        const size_t start = at;
        unsigned long value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 5) {
            value = value * 10 + static_cast<unsigned long>(text[at] - '0');
            ++at;
        }
        const size_t digits = at - start;
        if (digits == 0 || (digits > 1 && text[start] == '0') || value > 65535) return std::nullopt;
        parts[i] = static_cast<uint16_t>(value);
    }
    if (at != text.size()) return std::nullopt;
    return parts;
}

bool IsVersionNewer(const std::string& local, const std::string& remote) {
    const auto l = ParseVersionText(local);
    const auto r = ParseVersionText(remote);
    return l && r && *l < *r;
}
