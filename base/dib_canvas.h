// 32-bit top-down DIB sections: the pixel buffers the program draws into and reads back.
#pragma once

#include <windows.h>

#include <cstdint>

// A width x height DIB section, 32 bits per pixel, first row at the top; *bits points at its
// pixels (0x00RRGGBB or premultiplied 0xAARRGGBB). Null on failure.
HBITMAP CreateTopDownDib(HDC reference, int width, int height, uint32_t** bits);

// A top-down DIB section selected into a memory DC of its own; both are freed together.
class DibCanvas {
public:
    DibCanvas() = default;
    ~DibCanvas() { Reset(); }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    // Makes the bitmap and its DC (freeing any earlier ones). False when either cannot be made.
    bool Create(HDC reference, int width, int height);
    // The same, but when no DIB section can be made, a bitmap compatible with reference stands
    // in: it draws and copies alike, but has no Bits().
    bool CreateOrCompatible(HDC reference, int width, int height);
    void Reset();

    explicit operator bool() const { return dc_ != nullptr; }
    HDC Dc() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_; }
    uint32_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    // Puts the bitmap made into a DC of its own; frees both on failure.
    bool Select(HDC reference, int width, int height);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
