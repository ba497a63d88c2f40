// The overlay's dimmed screen: each pixel as a black layer of alpha 153 (60 %) blended over it
// leaves it. Pure code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace capture {

// Alpha of the black layer over everything outside the selection.
constexpr uint32_t kDimAlpha = 0x99;

// out[i] = in[i] with each colour channel scaled by (255 - kDimAlpha) / 255, rounded; the top
// byte of out is 0. in and out may be the same buffer.
void DimPixels(const uint32_t* in, uint32_t* out, size_t count);

}  // namespace capture
