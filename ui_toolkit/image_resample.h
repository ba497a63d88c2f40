// Resizing a premultiplied picture with a filter of our own, so a stretched skin image covers
// every pixel it is drawn to alike on every system (Wine's GDI+ leaves the first column or row
// of a filtered, stretched draw empty). Pure code.
#pragma once

#include <cstdint>
#include <vector>

// The picture (width x height pixels, rows stride pixels apart, premultiplied BGRA) resized to
// toWidth x toHeight. Each new pixel is a weighted mean of the source pixels under it: a tent
// one source pixel wide on each side when enlarging (bilinear), one new pixel wide when
// shrinking. The picture's edge pixels stand in for anything beyond its edges, so an opaque
// picture stays opaque to its edges. Empty for an empty size on either side.
std::vector<uint32_t> ResamplePixels(const uint32_t* pixels, int stride, int width, int height, int toWidth,
                                     int toHeight);
