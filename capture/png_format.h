// PNG files made from 32-bit pixels: 8-bit RGB, or RGBA for a picture with alpha. Bands of drawn
// content (panels, text) are stored unfiltered and deflated with zlib's matching; bands of
// photo-like content get per-row filters and run-length deflate, several times faster there.
// The rows are deflated in strips on threads of their own that join into one stream. Pure code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PngPicture {
    const uint32_t* pixels = nullptr;  // rows top down, each pixel 0xAARRGGBB with straight alpha
    int width = 0;
    int height = 0;
    size_t stride = 0;   // pixels from the start of one row to the next
    bool alpha = false;  // RGBA; otherwise the alpha byte is ignored and the file is RGB
};

struct PngOptions {
    int level = 6;   // zlib's compression level for drawn content, 1 to 9
    int strips = 2;  // how many parts are deflated at once (each by a thread), at least 1
};

// The whole PNG file. Empty when the picture has no pixels, is larger than the format allows or
// the memory runs out.
std::string EncodePng(const PngPicture& picture, const PngOptions& options = {});
