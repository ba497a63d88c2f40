#include "capture/screen_dimming.h"

#include <array>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define SCREENSHOT_HAS_SSE2_PATH 1
#endif

namespace capture {

namespace {

constexpr uint32_t kKeep = 255 - kDimAlpha;

// The 256 channel values dimmed, worked out once.
struct DimTable {
    std::array<uint32_t, 256> value{};
    DimTable() {
        for (uint32_t v = 0; v < 256; ++v) value[v] = (v * kKeep + 127) / 255;
    }
};

void DimWithTable(const uint32_t* in, uint32_t* out, size_t count) {
    static const DimTable table;
    const uint32_t* t = table.value.data();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = in[i];
        out[i] = t[(p >> 16) & 0xFF] << 16 | t[(p >> 8) & 0xFF] << 8 | t[p & 0xFF];
    }
}

#ifdef SCREENSHOT_HAS_SSE2_PATH
// x / 255 in each 16-bit lane as (x + 1 + (x >> 8)) >> 8, exact for every x below 65535.
__attribute__((target("sse2"))) __m128i DivideBy255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// Four pixels at a time in 16-bit lanes: (v * kKeep + 127) / 255.
__attribute__((target("sse2"))) void DimWithSse2(const uint32_t* in, uint32_t* out, size_t count) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i keep = _mm_set1_epi16(kKeep);
    const __m128i half = _mm_set1_epi16(127);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), keep), half);
        const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), keep), half);
        const __m128i dimmed = _mm_packus_epi16(DivideBy255(low), DivideBy255(high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(dimmed, colour));
    }
    DimWithTable(in + i, out + i, count - i);
}
#endif

}  // namespace

void DimPixels(const uint32_t* in, uint32_t* out, size_t count) {
#ifdef SCREENSHOT_HAS_SSE2_PATH
    static const bool sse2 = __builtin_cpu_supports("sse2");
    if (sse2) {
        DimWithSse2(in, out, count);
        return;
    }
#endif
    DimWithTable(in, out, count);
}

}  // namespace capture
