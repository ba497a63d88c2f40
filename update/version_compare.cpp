#include "update/version_compare.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

std::string FormatVersionText(uint32_t ms, uint32_t ls) {
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(ms >> 16), static_cast<int>(ms & 0xFFFF),
                  static_cast<int>(ls >> 16), static_cast<int>(ls & 0xFFFF));
    return text;
}

std::vector<int> ParseVersionPieces(const std::string& text) {
    std::vector<int> pieces;
    std::istringstream stream(text);
    std::string piece;
    while (std::getline(stream, piece, '.')) {
        int value = 0;
        try {
            value = std::stoi(piece);
        } catch (const std::logic_error&) {
            value = 0;  // no number, or out of the integer range
        }
        pieces.push_back(value);
    }
    while (pieces.size() < 4) pieces.push_back(0);
    return pieces;
}

bool IsVersionNewer(const std::string& local, const std::string& remote) {
    const std::vector<int> l = ParseVersionPieces(local);
    const std::vector<int> r = ParseVersionPieces(remote);
    const size_t length = l.size() > r.size() ? l.size() : r.size();
    for (size_t i = 0; i < length; ++i) {
        const int a = i < l.size() ? l[i] : 0;
        const int b = i < r.size() ? r[i] : 0;
        if (a != b) return a < b;
    }
    return false;
}
