#include "ui_toolkit/ui_render.h"

#include "base/unique_handle.h"

#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "base/geometry_gdiplus.h"
#include "ui_toolkit/fallback_glyph.h"
#include "ui_toolkit/image_resample.h"
#include "ui_toolkit/text_runs.h"

namespace DuiLib {

namespace {

std::shared_ptr<const UiImage> FromBitmap(Gdiplus::Bitmap& bitmap) {
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return nullptr;
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    auto image = std::make_shared<UiImage>();
    image->width = width;
    image->height = height;
    image->pixels.resize(static_cast<size_t>(width) * height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = image->pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                        PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return nullptr;
    }
    bitmap.UnlockBits(&data);
    image->opaque = std::all_of(image->pixels.begin(), image->pixels.end(), [](uint32_t p) { return p >> 24 == 0xFF; });
    return image;
}

Gdiplus::Color ToColor(DWORD argb) { return Gdiplus::Color(argb); }

// A rounded rectangle path with ellipse corners of the given size.
void AddRoundRect(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& r, SIZE round) {
    const Gdiplus::REAL w = static_cast<Gdiplus::REAL>(round.cx > r.Width ? r.Width : round.cx);
    const Gdiplus::REAL h = static_cast<Gdiplus::REAL>(round.cy > r.Height ? r.Height : round.cy);
    path.AddArc(r.X, r.Y, w, h, 180, 90);
    path.AddArc(r.X + r.Width - w, r.Y, w, h, 270, 90);
    path.AddArc(r.X + r.Width - w, r.Y + r.Height - h, w, h, 0, 90);
    path.AddArc(r.X, r.Y + r.Height - h, w, h, 90, 90);
    path.CloseFigure();
}

void DrawPart(Gdiplus::Graphics& g, const UiImage& image, Gdiplus::Bitmap& bitmap, const Gdiplus::Rect& dest,
              int sx, int sy, int sw, int sh, Gdiplus::ImageAttributes& attributes, bool fade) {
    if (dest.Width <= 0 || dest.Height <= 0 || sw <= 0 || sh <= 0) return;
    const bool scaleX = dest.Width != sw;
    const bool scaleY = dest.Height != sh;
    // Parts copied 1:1, and narrow strips stretched along their uniform axis (bars, nine-grid
    // edges), are drawn pixel for pixel: filtering would soften their ends against what lies
    // around them.
    const bool strip = (scaleX && sw <= 8 && !scaleY) || (scaleY && sh <= 8 && !scaleX);
    if (!scaleX && !scaleY) {
        g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        // Without a fade the attributes change nothing here, and GDI+ copies much faster without them.
        g.DrawImage(&bitmap, dest, sx, sy, sw, sh, Gdiplus::UnitPixel, fade ? &attributes : nullptr);
        return;
    }
    if (strip && !fade) {
        // Tiling the strip gives the same pixels as stretching it, exactly to the edges.
        Gdiplus::TextureBrush brush(&bitmap, Gdiplus::WrapModeTile, sx, sy, sw, sh);
        brush.TranslateTransform(static_cast<Gdiplus::REAL>(dest.X), static_cast<Gdiplus::REAL>(dest.Y));
        g.FillRectangle(&brush, dest);
        return;
    }
    // Pictures are filtered, by our own resampling: the filter reaches past the part's edges only
    // into copies of its own edge pixels, never into the parts beside it nor into transparency,
    // and every destination pixel is drawn (Wine's GDI+ leaves the first column or row of a
    // filtered stretch empty). The result is then copied 1:1.
    std::vector<uint32_t> resized;
    try {
        resized = ResamplePixels(image.pixels.data() + static_cast<size_t>(sy) * image.width + sx, image.width, sw,
                                 sh, dest.Width, dest.Height);
    } catch (const std::bad_alloc&) {
        return;  // a part too large for memory is left out, not the end of the program
    }
    if (resized.empty()) return;
    Gdiplus::Bitmap part(dest.Width, dest.Height, dest.Width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(resized.data()));
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.DrawImage(&part, dest, 0, 0, dest.Width, dest.Height, Gdiplus::UnitPixel, fade ? &attributes : nullptr);
}

}  // namespace

std::shared_ptr<const UiImage> DecodeImage(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0 || size > 0x7FFFFFFF) return nullptr;
    UniqueCom<IStream> stream(SHCreateMemStream(bytes, static_cast<UINT>(size)));
    if (!stream) return nullptr;
    Gdiplus::Bitmap bitmap(stream.Get());
    return FromBitmap(bitmap);
}

std::shared_ptr<const UiImage> LoadImageFile(const wchar_t* path) {
    Gdiplus::Bitmap bitmap(path);
    return FromBitmap(bitmap);
}

std::shared_ptr<const UiImage> ImageFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0 ||
        info.bmWidth > 16384 || info.bmHeight > 16384) {
        return nullptr;
    }
    auto image = std::make_shared<UiImage>();
    image->width = info.bmWidth;
    image->height = info.bmHeight;
    try {
        image->pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), image->pixels.data(), &format,
                  DIB_RGB_COLORS) != info.bmHeight) {
        return nullptr;
    }
    for (uint32_t& pixel : image->pixels) pixel |= 0xFF000000u;
    image->opaque = true;
    return image;
}

std::shared_ptr<const UiImage> ImageFromPixels(const uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    auto image = std::make_shared<UiImage>();
    image->width = width;
    image->height = height;
    try {
        image->pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    for (uint32_t& pixel : image->pixels) pixel |= 0xFF000000u;
    image->opaque = true;
    return image;
}

void CopyOpaqueImage(const UiImage& image, uint32_t* frame, int frameWidth, int frameHeight, int left, int top,
                     const RECT& clip) {
    const int x0 = std::max({left, static_cast<int>(clip.left), 0});
    const int y0 = std::max({top, static_cast<int>(clip.top), 0});
    const int x1 = std::min({left + image.width, static_cast<int>(clip.right), frameWidth});
    const int y1 = std::min({top + image.height, static_cast<int>(clip.bottom), frameHeight});
    if (!frame || x1 <= x0 || y1 <= y0) return;
    for (int y = y0; y < y1; ++y) {
        std::memcpy(frame + static_cast<size_t>(y) * frameWidth + x0,
                    image.pixels.data() + static_cast<size_t>(y - top) * image.width + (x0 - left),
                    static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
    }
}

void DrawImage(Gdiplus::Graphics& g, const UiImage& image, const RECT& control,
               const ImageDescriptor& d) {
    Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.pixels.data())));
    base::Rect dest{control.left, control.top, control.right, control.bottom};
    if (d.dest) {
        dest = base::Rect{control.left + d.dest->left, control.top + d.dest->top,
                      control.left + d.dest->right, control.top + d.dest->bottom};
    }
    base::Rect source{0, 0, image.width, image.height};
    if (d.source) source = Intersect(*d.source, source);
    if (dest.IsEmpty() || source.IsEmpty()) return;

    Gdiplus::ImageAttributes attributes;
    if (d.fade < 255) {
        Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0},
                                        {0, 0, 0, d.fade / 255.0f, 0}, {0, 0, 0, 0, 1}}};
        attributes.SetColorMatrix(&matrix);
    }
    const base::Rect& c = d.corner;
    if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
        DrawPart(g, image, bitmap, base::ToGdiplusRect(dest),
                 source.left, source.top, source.Width(), source.Height(), attributes, d.fade < 255);
        return;
    }
    // Nine-grid: corners unscaled, edges stretched along one axis, the middle along both.
    const int sx[4] = {source.left, source.left + c.left, source.right - c.right, source.right};
    const int sy[4] = {source.top, source.top + c.top, source.bottom - c.bottom, source.bottom};
    const int dx[4] = {dest.left, dest.left + c.left, dest.right - c.right, dest.right};
    const int dy[4] = {dest.top, dest.top + c.top, dest.bottom - c.bottom, dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            DrawPart(g, image, bitmap,
                     Gdiplus::Rect(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]),
                     sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row], attributes, d.fade < 255);
        }
    }
}

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb, SIZE round) {
    if ((argb >> 24) == 0 || rc.right <= rc.left || rc.bottom <= rc.top) return;
    Gdiplus::SolidBrush brush(ToColor(argb));
    if (round.cx <= 0 || round.cy <= 0) {
        g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
        return;
    }
    const Gdiplus::SmoothingMode old = g.GetSmoothingMode();
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, Gdiplus::RectF(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                      static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                      static_cast<Gdiplus::REAL>(rc.bottom - rc.top)),
                 round);
    g.FillPath(&brush, &path);
    g.SetSmoothingMode(old);
}

void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, DWORD argb, int size, SIZE round) {
    if (size <= 0 || (argb >> 24) == 0) return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 2 * size || height <= 2 * size) return;
    if (round.cx <= 0 || round.cy <= 0) {
        // Four filled edges: exactly the outer size pixels of the rectangle, whatever the
        // renderer's rule for where a pen's line falls.
        Gdiplus::SolidBrush brush(ToColor(argb));
        g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.top, width, size));
        g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.bottom - size, width, size));
        g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.top + size, size, height - 2 * size));
        g.FillRectangle(&brush, Gdiplus::Rect(rc.right - size, rc.top + size, size, height - 2 * size));
        return;
    }
    Gdiplus::Pen pen(ToColor(argb), static_cast<Gdiplus::REAL>(size));
    const Gdiplus::REAL half = size / 2.0f;
    const Gdiplus::RectF r(rc.left + half, rc.top + half, static_cast<Gdiplus::REAL>(width - size),
                           static_cast<Gdiplus::REAL>(height - size));
    const Gdiplus::SmoothingMode old = g.GetSmoothingMode();
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, r, round);
    g.DrawPath(&pen, &path);
    g.SetSmoothingMode(old);
}

namespace {

// Alignment in a rectangle, ellipsis and wrapping as the DT_ style asks.
void ApplyTextStyle(Gdiplus::StringFormat& format, UINT style) {
    INT flags = format.GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
    if (style & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
    format.SetFormatFlags(flags);
    format.SetAlignment((style & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                        : (style & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                             : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment((style & DT_VCENTER)  ? Gdiplus::StringAlignmentCenter
                            : (style & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                  : Gdiplus::StringAlignmentNear);
    format.SetTrimming((style & DT_END_ELLIPSIS) ? Gdiplus::StringTrimmingEllipsisCharacter
                                                 : Gdiplus::StringTrimmingNone);
}

float MeasureWidth(Gdiplus::Graphics& g, const std::wstring& text, Gdiplus::Font* font) {
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                          Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    Gdiplus::RectF bounds;
    g.MeasureString(text.c_str(), static_cast<INT>(text.size()), font, Gdiplus::PointF(0, 0), &format, &bounds);
    return bounds.Width;
}

// A piece of one line: ordinary text in the given font, or one character outside the BMP as a
// glyph of a font that has it.
struct PlacedRun {
    std::wstring text;
    FallbackGlyph fallback;
    float width = 0;
};

std::vector<PlacedRun> PlaceRuns(Gdiplus::Graphics& g, const std::wstring& text, Gdiplus::Font* font) {
    std::vector<PlacedRun> placed;
    for (const TextRun& run : SplitTextRuns(text)) {
        PlacedRun piece;
        piece.text = text.substr(run.start, run.length);
        if (run.supplementary) {
            piece.fallback = FindFallbackGlyph(piece.text.c_str(), static_cast<int>(piece.text.size()),
                                               font->GetSize(), font->GetStyle());
        }
        piece.width = piece.fallback.font ? piece.fallback.advance : MeasureWidth(g, piece.text, font);
        placed.push_back(std::move(piece));
    }
    return placed;
}

// One line holding characters outside the BMP, drawn run by run on the font's baseline.
void DrawRuns(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::RectF& layout, DWORD argb,
              Gdiplus::Font* font, UINT style) {
    const std::vector<PlacedRun> runs = PlaceRuns(g, text, font);
    float total = 0;
    for (const PlacedRun& run : runs) total += run.width;
    float x = layout.X;
    if (style & DT_CENTER) x += (layout.Width - total) / 2;
    if (style & DT_RIGHT) x += layout.Width - total;
    const float lineHeight = font->GetHeight(&g);
    float lineTop = layout.Y;
    if (style & DT_VCENTER) lineTop += (layout.Height - lineHeight) / 2;
    if (style & DT_BOTTOM) lineTop += layout.Height - lineHeight;
    Gdiplus::FontFamily family;
    font->GetFamily(&family);
    const INT fontStyle = font->GetStyle();
    const float baseline =
        lineTop + font->GetSize() * family.GetCellAscent(fontStyle) / family.GetEmHeight(fontStyle);

    Gdiplus::SolidBrush brush(ToColor(argb));
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    ApplyTextStyle(format, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const Gdiplus::GraphicsState state = g.Save();
    g.IntersectClip(layout);
    for (const PlacedRun& run : runs) {
        if (run.fallback.font) {
            const Gdiplus::PointF origin(x, baseline);
            g.DrawDriverString(&run.fallback.glyph, 1, run.fallback.font.get(), &brush, &origin, 0, nullptr);
        } else {
            // A little wider than measured, so rounding cannot wrap or clip the run's last glyph.
            const Gdiplus::RectF box(x, lineTop, run.width + 2, lineHeight + 2);
            g.DrawString(run.text.c_str(), static_cast<INT>(run.text.size()), font, box, &format, &brush);
        }
        x += run.width;
    }
    g.Restore(state);
}

}  // namespace

void DrawText(Gdiplus::Graphics& g, const wchar_t* text, const RECT& rc, DWORD argb,
              Gdiplus::Font* font, UINT style) {
    if (!text || !*text || !font || (argb >> 24) == 0) return;
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    if (HasSupplementaryCharacters(text)) {
        DrawRuns(g, text, layout, argb, font, style);
        return;
    }
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    ApplyTextStyle(format, style);
    Gdiplus::SolidBrush brush(ToColor(argb));
    g.DrawString(text, -1, font, layout, &format, &brush);
}

SIZE MeasureText(Gdiplus::Graphics& g, const wchar_t* text, Gdiplus::Font* font) {
    SIZE size{0, 0};
    if (!text || !*text || !font) return size;
    if (HasSupplementaryCharacters(text)) {
        float width = 0;
        for (const PlacedRun& run : PlaceRuns(g, text, font)) width += run.width;
        size.cx = static_cast<LONG>(width + 0.999f);
        size.cy = static_cast<LONG>(font->GetHeight(&g) + 0.999f);
        return size;
    }
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                          Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    Gdiplus::RectF bounds;
    g.MeasureString(text, -1, font, Gdiplus::PointF(0, 0), &format, &bounds);
    size.cx = static_cast<LONG>(bounds.Width + 0.999f);
    size.cy = static_cast<LONG>(bounds.Height + 0.999f);
    return size;
}

}  // namespace DuiLib
