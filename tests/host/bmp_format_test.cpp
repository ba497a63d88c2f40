// The BMP file layout: row stride and the 54-byte header.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "capture/bmp_format.h"

TEST(BmpFormat, StrideAndHeaderBytes) {
    EXPECT_EQ(BmpStride(1), 4u);
    EXPECT_EQ(BmpStride(3), 12u);   // 9 bytes padded
    EXPECT_EQ(BmpStride(4), 12u);
    EXPECT_EQ(BmpStride(97), 292u);
    const auto h = BmpHeader(97, 47);
    const std::vector<uint8_t> bytes(h.begin(), h.end());
    const std::vector<uint8_t> expected = {
        'B', 'M', 0xD2, 0x35, 0x00, 0x00,   // file size 54 + 292 * 47 = 13778
        0, 0, 0, 0,                         // reserved
        54, 0, 0, 0,                        // pixel offset
        40, 0, 0, 0,                        // header size
        97, 0, 0, 0, 47, 0, 0, 0,           // width, height (positive: bottom-up)
        1, 0, 24, 0,                        // planes, bits per pixel
        0, 0, 0, 0,                         // BI_RGB
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
    const auto big = BmpHeader(3840, 2160);
    EXPECT_EQ(big[2] | big[3] << 8 | big[4] << 16 | static_cast<uint32_t>(big[5]) << 24, 54u + 11520u * 2160u);
}

TEST(BmpFormat, FileSizesTheHeaderCannotHoldAreRefused) {
    EXPECT_EQ(BmpFileSize(97, 47), std::optional<uint32_t>(13778u));
    EXPECT_EQ(BmpFileSize(3840, 2160), std::optional<uint32_t>(54u + 11520u * 2160u));
    // 120000 x 40000 bytes: more than 32 bits; counted in 32 bits it would wrap to a small size.
    EXPECT_FALSE(BmpFileSize(40000, 40000).has_value());
    EXPECT_FALSE(BmpFileSize(2147483647, 1).has_value());
    EXPECT_FALSE(BmpFileSize(0, 5).has_value());
}
