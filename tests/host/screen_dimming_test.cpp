#include "capture/screen_dimming.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A black layer of alpha 153 over channel value v: v * 102 / 255, rounded to nearest.
uint32_t Expected(uint32_t p) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t v = (p >> shift) & 0xFF;
        out |= ((v * 102 + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

TEST(ScreenDimming, EveryColourDimsToTheRoundedBlend) {
    // All 2^24 colours, with assorted top bytes that must not leak into the result; odd offsets
    // and lengths reach both the four-pixel steps and the tail.
    std::vector<uint32_t> in(1u << 24), out(in.size() + 3, 0xDEADBEEF);
    for (uint32_t i = 0; i < in.size(); ++i) in[i] = i | (i * 2654435761u & 0xFF000000u);
    capture::DimPixels(in.data(), out.data() + 1, in.size() - 1);
    size_t wrong = 0;
    for (size_t i = 0; i + 1 < in.size(); ++i) wrong += out[i + 1] != Expected(in[i]);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(out[0], 0xDEADBEEFu);
    EXPECT_EQ(out[in.size()], 0xDEADBEEFu);  // nothing written past count
    EXPECT_EQ(Expected(0xFFFFFF), 0x666666u);
}

TEST(ScreenDimming, WorksInPlaceAndOnShortRuns) {
    for (size_t count : {0u, 1u, 3u, 4u, 5u, 7u, 9u}) {
        std::vector<uint32_t> pixels(count);
        for (size_t i = 0; i < count; ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x252525);
        const std::vector<uint32_t> original = pixels;
        capture::DimPixels(pixels.data(), pixels.data(), count);
        for (size_t i = 0; i < count; ++i) EXPECT_EQ(pixels[i], Expected(original[i])) << count << " " << i;
    }
}
