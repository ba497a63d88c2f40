// The 24-bit bottom-up BMP files the program writes: a 14-byte file header and a 40-byte
// information header, then rows of B, G, R padded to four bytes. Pure code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

constexpr int kBmpHeaderSize = 54;

// Bytes in one stored row of a 24-bit image.
uint32_t BmpStride(int width);
// The whole file's size for a width x height image; none when it does not fit the header's 32
// bits (or either side is not positive).
std::optional<uint32_t> BmpFileSize(int width, int height);
// Both headers for a width x height image (height stored positive: rows bottom-up).
std::array<uint8_t, kBmpHeaderSize> BmpHeader(int width, int height);
