// Drawing helpers of the toolkit over GDI+: decoded images with their placement rules, text in
// a rectangle, filled and outlined (optionally rounded) rectangles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui_toolkit/ui_attributes.h"

namespace Gdiplus {
class Graphics;
class Font;
}

namespace DuiLib {

// A decoded picture: premultiplied BGRA pixels, top row first. Immutable once made, so one
// picture may be drawn from several threads.
struct UiImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool opaque = false;  // every pixel has alpha 255: drawn 1:1 it is a plain copy
};

// Decodes PNG, BMP, JPEG or GIF bytes with GDI+; null when they are not a picture.
std::shared_ptr<const UiImage> DecodeImage(const uint8_t* bytes, size_t size);
// Loads a picture file from disk; null when it cannot be read as one.
std::shared_ptr<const UiImage> LoadImageFile(const wchar_t* path);
// The pixels of a GDI bitmap (a capture, which has no transparency), opaque; null on failure.
std::shared_ptr<const UiImage> ImageFromBitmap(HBITMAP bitmap);
// The same from pixels already read: rows top down, 0x00RRGGBB.
std::shared_ptr<const UiImage> ImageFromPixels(const uint32_t* pixels, int width, int height);
// Copies an opaque image 1:1 into a 32-bit top-down frame of frameWidth x frameHeight at
// (left, top), only within clip. Far faster than a GDI+ draw of a large picture.
void CopyOpaqueImage(const UiImage& image, uint32_t* frame, int frameWidth, int frameHeight, int left, int top,
                     const RECT& clip);

// Draws the image into control (a control's rectangle) as the descriptor says: dest relative to
// the control (or the whole control), source part of the image (or all of it), corner borders
// kept unscaled, fade as alpha.
void DrawImage(Gdiplus::Graphics& g, const UiImage& image, const RECT& control,
               const ImageDescriptor& descriptor);

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb, SIZE round);
void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, DWORD argb, int size, SIZE round);

// DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM, DT_SINGLELINE, DT_END_ELLIPSIS and
// DT_WORDBREAK are honoured.
void DrawText(Gdiplus::Graphics& g, const wchar_t* text, const RECT& rc, DWORD argb,
              Gdiplus::Font* font, UINT style);
// Width and height the text needs on one line.
SIZE MeasureText(Gdiplus::Graphics& g, const wchar_t* text, Gdiplus::Font* font);

}  // namespace DuiLib
