// Photo-like test pictures (pixels 0x00RRGGBB, rows packed) in which each of the PNG row filters
// is the best choice somewhere: a flat panel on top (None), then bands of 40 rows that repeat
// column textures down the rows (Up), smooth rows whose pixels follow their left neighbour
// (Sub), and rows half of one kind and half of the other (Paeth). The bands change every 40
// rows, so a strip of the writer starts inside photo content at rows 120, 160, 240, 320 and 360
// of a 480-row picture, and at 240 starts a band whose best filter looks at the row above.
#pragma once

#include <cstdint>
#include <vector>

namespace test_pictures {

inline uint32_t Hash(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    return value ^ (value >> 16);
}

// A byte near black or near white.
inline uint32_t DarkOrLight(uint32_t h) { return (h & 0x1F) ^ (h & 0x20 ? 0xFF : 0); }

inline std::vector<uint32_t> PhotoPicture(int width, int height, uint32_t seed) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t colour = 0;
            if (y < 24) {
                colour = x / 50 % 2 ? 0xF0F0F0u : 0x2B579Au;  // a panel of two colours
            } else {
                // Column textures of dark and light values, which differ much more from their
                // left neighbours than from black: a row filtered against zeros instead of the
                // row above would take Up.
                const uint32_t h = Hash(seed ^ static_cast<uint32_t>(x));
                const uint32_t column = DarkOrLight(h) << 16 | DarkOrLight(h >> 8) << 8 | DarkOrLight(h >> 16);
                const uint32_t row = Hash(seed * 31u ^ static_cast<uint32_t>(y)) & 0xFFFFFF;
                const uint32_t drift = static_cast<uint32_t>(y / 8 % 4) * 0x010101u;
                switch (y / 40 % 3) {
                    case 0: colour = column ^ drift; break;  // textures down the columns
                    case 1: colour = row + static_cast<uint32_t>(x) * 0x010203u + (Hash(x + y) & 0x010101u); break;
                    default: colour = x < width / 2 ? column : row + (x & 1) * 0x010101u; break;
                }
            }
            pixels[static_cast<size_t>(y) * width + x] = colour & 0xFFFFFF;
        }
    }
    return pixels;
}

}  // namespace test_pictures
