// Text with a character outside the BMP (the light bulb U+1F4A1 of the pinned picture's hint):
// the toolkit draws it as the one glyph of a font that has it, not as two boxes, and measures
// what it draws, so text ending after it is not cut off.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/dib_canvas.h"
#include "base/gdiplus_session.h"
#include "base/unique_handle.h"
#include "ui_toolkit/fallback_glyph.h"
#include "ui_toolkit/ui_render.h"

namespace {

const wchar_t kBulb[] = L"\xD83D\xDCA1";
constexpr int kWidth = 240;
constexpr int kHeight = 40;

// Columns and count of the pixels drawn (any alpha) into a transparent canvas.
struct Ink {
    int left = kWidth;
    int right = -1;
    int pixels = 0;
};

class Canvas {
public:
    Canvas() : pixels_(kWidth * kHeight, 0u),
               bitmap_(kWidth, kHeight, kWidth * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels_.data())),
               graphics_(&bitmap_) {
        graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    }
    Gdiplus::Graphics& g() { return graphics_; }
    Ink Measure() {
        graphics_.Flush(Gdiplus::FlushIntentionSync);
        Ink ink;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if ((pixels_[y * kWidth + x] >> 24) < 0x40) continue;
                ++ink.pixels;
                if (x < ink.left) ink.left = x;
                if (x > ink.right) ink.right = x;
            }
        }
        return ink;
    }

private:
    std::vector<uint32_t> pixels_;
    Gdiplus::Bitmap bitmap_;
    Gdiplus::Graphics graphics_;
};

// The hint's font: the program's CJK face at 14 pixels, bold; it has no light bulb.
std::unique_ptr<Gdiplus::Font> HintFont() {
    Gdiplus::FontFamily family(L"WenQuanYi Micro Hei");
    return std::make_unique<Gdiplus::Font>(&family, 14.0f, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
}

// The columns GDI itself inks for the character in the given face at regular weight (GDI draws a
// surrogate pair as one glyph; GDI+ draws the fallback glyph without a synthesized bold).
Ink GdiInk(const wchar_t* face) {
    uint32_t* bits = nullptr;
    UniqueDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateTopDownDib(dc.Get(), kWidth, kHeight, &bits));
    SelectedObject selectedBitmap(dc.Get(), bitmap.Get());
    LOGFONTW lf{};
    lf.lfHeight = -14;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&lf));
    SelectedObject selectedFont(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    ExtTextOutW(dc.Get(), 0, 0, 0, nullptr, kBulb, 2, nullptr);
    GdiFlush();
    Ink ink;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if ((bits[y * kWidth + x] & 0xFF) < 0x40) continue;
            ++ink.pixels;
            if (x < ink.left) ink.left = x;
            if (x > ink.right) ink.right = x;
        }
    }
    return ink;
}

class TextFallback : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gdiplus_.Started()); }

private:
    GdiplusSession gdiplus_;
};

}  // namespace

TEST_F(TextFallback, ALightBulbIsOneGlyphOfAFontThatHasIt) {
    auto font = HintFont();
    DuiLib::FallbackGlyph glyph = DuiLib::FindFallbackGlyph(kBulb, 2, 14.0f, Gdiplus::FontStyleBold);
    ASSERT_NE(glyph.font, nullptr) << "no installed font has U+1F4A1 (scripts/install_deps.sh installs Symbola)";
    EXPECT_GT(glyph.advance, 4.0f);
    Gdiplus::FontFamily family;
    glyph.font->GetFamily(&family);
    wchar_t face[LF_FACESIZE] = {0};
    family.GetFamilyName(face);

    Canvas canvas;
    DuiLib::DrawText(canvas.g(), kBulb, RECT{0, 0, kWidth, kHeight}, 0xFFFFFFFF, font.get(), DT_LEFT | DT_SINGLELINE);
    const Ink drawn = canvas.Measure();
    const Ink reference = GdiInk(face);
    ASSERT_GT(reference.pixels, 10);
    // As wide as GDI's own one glyph of that face; two boxes would be about twice as wide.
    EXPECT_NEAR(drawn.right - drawn.left, reference.right - reference.left, 2);
    EXPECT_NEAR(drawn.pixels, reference.pixels, reference.pixels / 3);
    EXPECT_EQ(DuiLib::MeasureText(canvas.g(), kBulb, font.get()).cx, static_cast<LONG>(glyph.advance + 0.999f));
}

TEST_F(TextFallback, TextAfterTheBulbIsMeasuredAsDrawnAndFitsTheHint) {
    auto font = HintFont();
    const wchar_t hint[] = L"\xD83D\xDCA1 \x5DE6\x952E\x62D6\x52A8 \x00B7 ESC\x5173\x95ED (3)";
    Canvas canvas;
    const SIZE size = DuiLib::MeasureText(canvas.g(), hint, font.get());
    EXPECT_LE(size.cx, 200) << "the hint label is 200 pixels wide";
    // Drawn right-aligned in a box of exactly the measured width, nothing falls off its left
    // edge and the closing bracket reaches its right edge.
    const RECT box{kWidth - size.cx, 0, kWidth, kHeight};
    DuiLib::DrawText(canvas.g(), hint, box, 0xFFFFFFFF, font.get(), DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    const Ink ink = canvas.Measure();
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.left, box.left + 3);
    EXPECT_GE(ink.right, kWidth - 4);
    // Centred in the 200-pixel hint, the whole text is inside it.
    Canvas centred;
    DuiLib::DrawText(centred.g(), hint, RECT{20, 0, 220, kHeight}, 0xFFFFFFFF, font.get(),
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const Ink inside = centred.Measure();
    EXPECT_GT(inside.left, 20);
    EXPECT_LT(inside.right, 219);
    EXPECT_NEAR((inside.left + inside.right) / 2.0, 120.0, 3.0);
}
