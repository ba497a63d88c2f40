#include "capture/bmp_format.h"

namespace {

void Put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

}  // namespace

uint32_t BmpStride(int width) { return ((static_cast<uint32_t>(width) * 24 + 31) / 32) * 4; }

std::array<uint8_t, kBmpHeaderSize> BmpHeader(int width, int height) {
    std::array<uint8_t, kBmpHeaderSize> header{};
    const uint32_t pixels = BmpStride(width) * static_cast<uint32_t>(height);
    header[0] = 'B';
    header[1] = 'M';
    Put32(&header[2], kBmpHeaderSize + pixels);
    Put32(&header[10], kBmpHeaderSize);
    Put32(&header[14], 40);
    Put32(&header[18], static_cast<uint32_t>(width));
    Put32(&header[22], static_cast<uint32_t>(height));
    Put16(&header[26], 1);
    Put16(&header[28], 24);
    // Compression (BI_RGB), image size, resolutions and colour counts stay 0.
    return header;
}

std::optional<uint32_t> BmpFileSize(int width, int height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const uint64_t stride = (static_cast<uint64_t>(width) * 24 + 31) / 32 * 4;
    const uint64_t size = kBmpHeaderSize + stride * static_cast<uint64_t>(height);
    if (size > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(size);
}
