// The PNG writer, read back by a small decoder of the test's own over zlib: every file holds
// exactly the pixels it was given, whatever the size, the strips or the content.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "capture/png_format.h"
#include "tests/common/photo_picture.h"

namespace {

uint32_t BigEndian(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8 |
           static_cast<unsigned char>(s[at + 3]);
}

struct Decoded {
    int width = 0;
    int height = 0;
    int colourType = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB; 0xFF alpha for RGB
    std::vector<int> filters;      // each row's filter type
};

// Checks every chunk's CRC and the zlib stream's checksum on the way; fails the test otherwise.
Decoded Decode(const std::string& file) {
    Decoded d;
    EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    std::string stream;
    size_t at = 8;
    bool ended = false;
    while (at + 12 <= file.size() && !ended) {
        const uint32_t length = BigEndian(file, at);
        const std::string type = file.substr(at + 4, 4);
        const std::string data = file.substr(at + 8, length);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(file.data() + at + 4), length + 4);
        EXPECT_EQ(BigEndian(file, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            d.width = static_cast<int>(BigEndian(data, 0));
            d.height = static_cast<int>(BigEndian(data, 4));
            EXPECT_EQ(data[8], 8);
            d.colourType = data[9];
        } else if (type == "IDAT") {
            stream += data;
        }
        ended = type == "IEND";
        at += 12 + length;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(at, file.size());
    const size_t bpp = d.colourType == 6 ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(d.width) * bpp;
    std::vector<unsigned char> raw(static_cast<size_t>(d.height) * (rowBytes + 1));
    uLongf size = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(stream.data()),
                         static_cast<uLong>(stream.size())), Z_OK);
    EXPECT_EQ(size, raw.size());
    std::vector<unsigned char> prior(rowBytes, 0);
    for (int y = 0; y < d.height; ++y) {
        unsigned char* row = &raw[y * (rowBytes + 1)];
        const int filter = row[0];
        d.filters.push_back(filter);
        unsigned char* cur = row + 1;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bpp ? cur[i - bpp] : 0, b = prior[i], c = i >= bpp ? prior[i - bpp] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predicted[] = {0, a, b, (a + b) / 2, paeth};
            EXPECT_LE(filter, 4);
            cur[i] = static_cast<unsigned char>(cur[i] + predicted[filter <= 4 ? filter : 0]);
        }
        for (int x = 0; x < d.width; ++x) {
            const unsigned char* px = cur + x * bpp;
            const uint32_t alpha = bpp == 4 ? px[3] : 0xFF;
            d.pixels.push_back(alpha << 24 | static_cast<uint32_t>(px[0]) << 16 | px[1] << 8 | px[2]);
        }
        prior.assign(cur, cur + rowBytes);
    }
    return d;
}

// Pictures of the kinds a capture meets: noise, smooth gradients and flat panels.
std::vector<uint32_t> MakePicture(int width, int height, size_t stride, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> pixels(stride * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t& p = pixels[y * stride + x];
            // Bands of drawn panels between bands of mixed content: the writer switches between
            // its two ways of compressing.
            if ((y / 37) % 2 == 0) {
                p = 0xFF000000u | (x / 13 % 2 ? 0xF3F3F3u : 0x262626u);
                continue;
            }
            switch ((x / 7 + y / 5 + seed) % 3) {
                case 0: p = random(); break;
                case 1: p = 0xFF000000u | static_cast<uint32_t>((x * 3) & 255) << 16 | ((y * 5) & 255) << 8 | ((x + y) & 255); break;
                default: p = 0x80F0F0F0u; break;
            }
        }
    }
    return pixels;
}

void ExpectRoundTrip(int width, int height, bool alpha, int strips, unsigned seed) {
    const size_t stride = width + seed % 3;  // rows need not be packed
    const std::vector<uint32_t> pixels = MakePicture(width, height, stride, seed);
    const std::string file = EncodePng(PngPicture{pixels.data(), width, height, stride, alpha}, PngOptions{6, strips});
    ASSERT_FALSE(file.empty());
    const Decoded d = Decode(file);
    ASSERT_EQ(d.width, width);
    ASSERT_EQ(d.height, height);
    EXPECT_EQ(d.colourType, alpha ? 6 : 2);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t want = alpha ? pixels[y * stride + x] : (pixels[y * stride + x] | 0xFF000000u);
            wrong += d.pixels[y * width + x] != want;
        }
    }
    EXPECT_EQ(wrong, 0) << width << "x" << height << " alpha " << alpha << " strips " << strips;
}

}  // namespace

TEST(PngFormat, EdgeSizesRoundTripInRgbAndRgba) {
    for (bool alpha : {false, true}) {
        ExpectRoundTrip(1, 1, alpha, 2, 1);
        ExpectRoundTrip(1, 300, alpha, 2, 2);
        ExpectRoundTrip(300, 1, alpha, 2, 3);
        ExpectRoundTrip(3, 2, alpha, 1, 4);
        ExpectRoundTrip(5, 129, alpha, 2, 5);
    }
}

TEST(PngFormat, RandomSizesAndStripCountsRoundTrip) {
    std::mt19937 random(2026);
    for (int round = 0; round < 40; ++round) {
        const int width = 1 + static_cast<int>(random() % 97);
        const int height = 1 + static_cast<int>(random() % 400);
        ExpectRoundTrip(width, height, random() % 2 == 0, 1 + static_cast<int>(random() % 4), random());
    }
}

TEST(PngFormat, StripsJoinIntoTheSameStreamAsOnePart) {
    const std::vector<uint32_t> pixels = MakePicture(64, 512, 64, 9);
    const PngPicture picture{pixels.data(), 64, 512, 64, false};
    const Decoded one = Decode(EncodePng(picture, PngOptions{6, 1}));
    const Decoded four = Decode(EncodePng(picture, PngOptions{6, 4}));
    EXPECT_EQ(one.pixels, four.pixels);
}

TEST(PngFormat, FlatPicturesCompressAndNothingIsWrittenForNoPixels) {
    const std::vector<uint32_t> flat(1000 * 500, 0xFF336699u);
    const std::string file = EncodePng(PngPicture{flat.data(), 1000, 500, 1000, false});
    EXPECT_LT(file.size(), 16000u) << "about 1 % of the raw pixels";
    EXPECT_TRUE(EncodePng(PngPicture{flat.data(), 0, 500, 1000, false}).empty());
    EXPECT_TRUE(EncodePng(PngPicture{flat.data(), 1000, 0, 1000, false}).empty());
    EXPECT_TRUE(EncodePng(PngPicture{nullptr, 10, 10, 10, false}).empty());
    EXPECT_TRUE(EncodePng(PngPicture{flat.data(), 1000, 500, 999, false}).empty()) << "a stride shorter than a row";
}

TEST(PngFormat, PhotoContentAcrossStripBoundariesUsesEveryFilterAndRoundTrips) {
    // Strips start inside photo bands, some of whose rows are best filtered against the row
    // above: a strip's first row must be filtered against the last row of the strip before.
    const std::vector<uint32_t> pixels = test_pictures::PhotoPicture(640, 480, 7);
    std::vector<int> used(5, 0);
    for (int strips = 1; strips <= 4; ++strips) {
        const Decoded d = Decode(EncodePng(PngPicture{pixels.data(), 640, 480, 640, false}, PngOptions{6, strips}));
        ASSERT_EQ(d.pixels.size(), pixels.size());
        int wrongRows = 0;
        for (int y = 0; y < 480; ++y) {
            bool wrong = false;
            for (int x = 0; x < 640; ++x) wrong |= d.pixels[y * 640 + x] != (pixels[y * 640 + x] | 0xFF000000u);
            wrongRows += wrong;
        }
        EXPECT_EQ(wrongRows, 0) << strips << " strips";
        for (int filter : d.filters) ++used[filter];
    }
    EXPECT_GT(used[0], 0) << "None";
    EXPECT_GT(used[1], 0) << "Sub";
    EXPECT_GT(used[2], 0) << "Up";
    EXPECT_GT(used[4], 0) << "Paeth";
}
