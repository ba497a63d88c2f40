// Nine-part images drawn by the toolkit with Wine's GDI+: every destination pixel is covered,
// whatever the size the image is stretched to.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui_toolkit/ui_render.h"

using namespace DuiLib;

namespace {

// An opaque picture whose parts differ: each pixel's colour follows its place.
std::shared_ptr<const UiImage> OpaquePicture(int width, int height) {
    auto image = std::make_shared<UiImage>();
    image->width = width;
    image->height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image->pixels.push_back(0xFF000000u | static_cast<uint32_t>(x * 5 & 0xFF) << 16 |
                                    static_cast<uint32_t>(y * 7 & 0xFF) << 8 | 0x40);
        }
    }
    image->opaque = true;
    return image;
}

// Draws the picture as the paint manager does (premultiplied canvas, pixel offset half) into a
// cleared frame of the given size, at an offset, and gives the frame back.
std::vector<uint32_t> Draw(const UiImage& image, int frameWidth, int frameHeight, const RECT& place,
                           const ImageDescriptor& descriptor) {
    std::vector<uint32_t> frame(static_cast<size_t>(frameWidth) * frameHeight, 0u);
    Gdiplus::Bitmap bitmap(frameWidth, frameHeight, frameWidth * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(frame.data()));
    {
        Gdiplus::Graphics g(&bitmap);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        DrawImage(g, image, place, descriptor);
        g.Flush(Gdiplus::FlushIntentionSync);
    }
    return frame;
}

// The places in the rectangle where the frame is not opaque, as "(x,y)" of the first few.
std::string Holes(const std::vector<uint32_t>& frame, int frameWidth, const RECT& place, int* count) {
    std::string first;
    *count = 0;
    for (int y = place.top; y < place.bottom; ++y) {
        for (int x = place.left; x < place.right; ++x) {
            if (frame[static_cast<size_t>(y) * frameWidth + x] >> 24 == 0xFF) continue;
            if (++*count <= 4) first += "(" + std::to_string(x - place.left) + "," + std::to_string(y - place.top) + ")";
        }
    }
    return first;
}

}  // namespace

// The toast's background is a 201x60 picture with 10-pixel corners, grown for longer or
// two-line texts; any size it is stretched to is covered edge to edge, with nothing outside. So
// is a picture whose middle is a single pixel.
TEST(NineGrid, AnOpaquePictureCoversEveryPixelOfAnyStretchedSize) {
    ImageDescriptor descriptor;
    descriptor.corner = base::Rect{10, 10, 10, 10};
    const std::shared_ptr<const UiImage> toast = OpaquePicture(201, 60);
    const std::shared_ptr<const UiImage> dot = OpaquePicture(21, 21);
    for (const int width : {201, 202, 215, 263, 301, 333, 517}) {
        for (const int height : {60, 61, 77, 83, 99, 131}) {
            const RECT place{7, 5, 7 + width, 5 + height};
            for (const UiImage* image : {toast.get(), dot.get()}) {
                const std::vector<uint32_t> frame = Draw(*image, 540, 150, place, descriptor);
                int holes = 0;
                const std::string where = Holes(frame, 540, place, &holes);
                EXPECT_EQ(holes, 0) << image->width << " wide at " << width << "x" << height << ": " << where;
                // Nothing is drawn past the place's edges.
                EXPECT_EQ(frame[static_cast<size_t>(place.top) * 540 + place.right], 0u) << width << "x" << height;
                EXPECT_EQ(frame[static_cast<size_t>(place.bottom) * 540 + place.left], 0u) << width << "x" << height;
            }
        }
    }
}

// Corners stay pixel for pixel; a stretched part takes its colours from its own part of the
// picture only.
TEST(NineGrid, CornersAreCopiedAndEdgesKeepTheirOwnColours) {
    const std::shared_ptr<const UiImage> image = OpaquePicture(41, 31);
    ImageDescriptor descriptor;
    descriptor.corner = base::Rect{10, 10, 10, 10};
    const RECT place{0, 0, 97, 73};
    const std::vector<uint32_t> frame = Draw(*image, 97, 73, place, descriptor);
    const auto at = [&frame](int x, int y) { return frame[static_cast<size_t>(y) * 97 + x]; };
    const auto source = [&image](int x, int y) { return image->pixels[static_cast<size_t>(y) * 41 + x]; };
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(at(x, y), source(x, y)) << x << "," << y;
            EXPECT_EQ(at(96 - x, 72 - y), source(40 - x, 30 - y)) << x << "," << y;
        }
    }
    // The top edge's first and last stretched columns take their colour from its own first and
    // last columns (red 50 and 150), never from the corners beside them (45 and 155).
    const auto red = [&at](int x, int y) { return static_cast<int>(at(x, y) >> 16 & 0xFF); };
    for (int y = 0; y < 10; ++y) {
        EXPECT_TRUE(red(10, y) >= 50 && red(10, y) < 55) << y << ": " << red(10, y);
        EXPECT_TRUE(red(86, y) > 145 && red(86, y) <= 150) << y << ": " << red(86, y);
    }
}
