// 32-bit top-down DIB sections: the pixel buffers the program draws into and reads back.
#pragma once

#include <windows.h>

#include <cstdint>

// A width x height DIB section, 32 bits per pixel, first row at the top; *bits points at its
// pixels (0x00RRGGBB or premultiplied 0xAARRGGBB). Null on failure.
HBITMAP CreateTopDownDib(HDC reference, int width, int height, uint32_t** bits);
