#include <gtest/gtest.h>

#include <vector>

#include "capture/bmp_format.h"
#include "capture/picture_name.h"

TEST(PictureNumber, OnePastTheLargestLeadingNumber) {
    EXPECT_EQ(NextPictureNumber({}), 1);
    EXPECT_EQ(NextPictureNumber({L"0007_20240101_101010.png", L"notes.txt"}), 8);
    EXPECT_EQ(NextPictureNumber({L"12_x.bmp", L"0099_y.png"}), 100);
    EXPECT_EQ(NextPictureNumber({L"abc_1.png", L"_5.png", L"1a_2.png", L"-3_x.png", L"7"}), 1);
    // Numbers past the int range count like any other; only a run too long to hold does not.
    EXPECT_EQ(NextPictureNumber({L"99999999999_a.png", L"0003_b.png"}), 100000000000LL);
    EXPECT_EQ(NextPictureNumber({L"9999_x.png"}), 10000);
    EXPECT_EQ(NextPictureNumber({L"0005_a_b_c", L"4_"}), 6);  // a folder counts like a file
    // The largest int is a number like any other; the next one does not wrap.
    EXPECT_EQ(NextPictureNumber({L"2147483647_x.png"}), 2147483648LL);
}

TEST(PictureNumber, NameLayout) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 5;
    EXPECT_EQ(FormatPictureName(L"C:\\pics", 1, t, L"png"), L"C:\\pics\\0001_20240131_235905.png");
    EXPECT_EQ(FormatPictureName(L"D:\\a b", 42, t, L"bmp"), L"D:\\a b\\0042_20240131_235905.bmp");
    EXPECT_EQ(FormatPictureName(L"x", 10000, t, L"png"), L"x\\10000_20240131_235905.png");
}

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
