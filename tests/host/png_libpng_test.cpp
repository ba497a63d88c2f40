// The PNG writer's files read by libpng, a decoder we did not write: photo-like pictures whose
// strips start inside photo content decode to every pixel, in RGB and RGBA.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "capture/png_format.h"
#include "tests/common/photo_picture.h"

namespace {

// The file's pixels as 0xAARRGGBB (libpng's BGRA bytes read as little-endian words); empty when
// libpng refuses the file.
std::vector<uint32_t> DecodeWithLibpng(const std::string& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_BGRA;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        ADD_FAILURE() << image.message;
        return {};
    }
    return pixels;
}

}  // namespace

TEST(PngLibpng, PhotoPicturesDecodeToEveryPixelWhereverTheStripsStart) {
    for (const int height : {480, 333}) {
        std::vector<uint32_t> pixels = test_pictures::PhotoPicture(640, height, static_cast<uint32_t>(height));
        // Alpha for the RGBA files: opaque, transparent and in between.
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] |= (test_pictures::Hash(static_cast<uint32_t>(i)) % 3 * 0x7Fu) << 24;
        for (const bool alpha : {false, true}) {
            for (int strips = 1; strips <= 4; ++strips) {
                const std::string file = EncodePng(PngPicture{pixels.data(), 640, height, 640, alpha}, PngOptions{6, strips});
                int width = 0, decodedHeight = 0;
                const std::vector<uint32_t> decoded = DecodeWithLibpng(file, width, decodedHeight);
                ASSERT_EQ(width, 640);
                ASSERT_EQ(decodedHeight, height);
                int wrong = 0, firstWrongRow = -1;
                for (size_t i = 0; i < pixels.size(); ++i) {
                    const uint32_t want = alpha ? pixels[i] : pixels[i] | 0xFF000000u;
                    if (decoded[i] == want) continue;
                    if (wrong++ == 0) firstWrongRow = static_cast<int>(i / 640);
                }
                EXPECT_EQ(wrong, 0) << height << " rows, alpha " << alpha << ", " << strips << " strips, first wrong row "
                                    << firstWrongRow;
            }
        }
    }
}
