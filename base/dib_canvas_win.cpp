#include "base/dib_canvas.h"

HBITMAP CreateTopDownDib(HDC reference, int width, int height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
    return bitmap;
}

bool DibCanvas::Create(HDC reference, int width, int height) {
    Reset();
    bitmap_ = CreateTopDownDib(reference, width, height, &bits_);
    return Select(reference, width, height);
}

bool DibCanvas::CreateOrCompatible(HDC reference, int width, int height) {
    if (Create(reference, width, height)) return true;
    bitmap_ = width > 0 && height > 0 ? CreateCompatibleBitmap(reference, width, height) : nullptr;
    return Select(reference, width, height);
}

bool DibCanvas::Select(HDC reference, int width, int height) {
    if (!bitmap_) return false;
    dc_ = CreateCompatibleDC(reference);
    if (!dc_) {
        Reset();
        return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
}

void DibCanvas::Reset() {
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}
