// Resizing premultiplied pictures for stretched skin images: every new pixel drawn, edges kept.
#include <gtest/gtest.h>

#include <vector>

#include "ui_toolkit/image_resample.h"

namespace {

// An opaque picture whose blue follows x and green follows y.
std::vector<uint32_t> Ramp(int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(0xFF000000u | static_cast<uint32_t>(y * 9) << 8 | x * 9);
    }
    return pixels;
}

}  // namespace

TEST(ImageResample, AnOpaquePictureStaysOpaqueAtEveryOddSizeWithItsCornersKept) {
    const std::vector<uint32_t> source = Ramp(7, 5);
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{7, 5}, {8, 5}, {13, 9}, {29, 3}, {3, 2}, {1, 1}, {61, 17}}) {
        const std::vector<uint32_t> out = ResamplePixels(source.data(), 7, 7, 5, w, h);
        ASSERT_EQ(out.size(), static_cast<size_t>(w) * h);
        for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i] >> 24, 0xFFu) << w << "x" << h << " at " << i;
        if (w >= 7 && h >= 5) {
            // Enlarged: the corners are the source's corners, not blends with what lies beyond.
            EXPECT_EQ(out[0], source[0]) << w << "x" << h;
            EXPECT_EQ(out.back(), source.back()) << w << "x" << h;
        }
    }
    EXPECT_EQ(ResamplePixels(source.data(), 7, 7, 5, 7, 5), source) << "the same size changes nothing";
}

TEST(ImageResample, APartOfALargerPictureTakesNothingFromBesideIt) {
    // A 3x2 part in the middle of a 9x4 picture whose other pixels are transparent.
    std::vector<uint32_t> picture(9 * 4, 0u);
    for (int y = 1; y < 3; ++y) {
        for (int x = 3; x < 6; ++x) picture[static_cast<size_t>(y) * 9 + x] = 0xFF204060u;
    }
    const std::vector<uint32_t> out = ResamplePixels(&picture[9 + 3], 9, 3, 2, 11, 7);
    for (uint32_t pixel : out) ASSERT_EQ(pixel, 0xFF204060u);
    // Shrinking averages: two columns, black and white, become one mid grey.
    const std::vector<uint32_t> pair{0xFF000000u, 0xFFFFFFFFu};
    EXPECT_EQ(ResamplePixels(pair.data(), 2, 2, 1, 1, 1), std::vector<uint32_t>{0xFF808080u});
    EXPECT_TRUE(ResamplePixels(pair.data(), 2, 2, 1, 0, 1).empty());
    EXPECT_TRUE(ResamplePixels(pair.data(), 2, 0, 1, 3, 1).empty()) << "a part without width";
    EXPECT_TRUE(ResamplePixels(pair.data(), 1, 2, 1, 3, 1).empty()) << "rows narrower than the picture";
}
