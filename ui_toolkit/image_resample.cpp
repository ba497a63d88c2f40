#include "ui_toolkit/image_resample.h"

#include <algorithm>
#include <cmath>

namespace {

// The source pixels one new pixel takes, with their weights (summing to one).
struct Taps {
    std::vector<int> first;      // per new pixel: index of its first tap in index/weight
    std::vector<int> index;      // source pixel, clamped into the picture
    std::vector<float> weight;
};

Taps TapsFor(int from, int to) {
    Taps taps;
    const double scale = static_cast<double>(from) / to;
    const double radius = std::max(1.0, scale);
    for (int i = 0; i < to; ++i) {
        taps.first.push_back(static_cast<int>(taps.index.size()));
        // The new pixel's centre in the source's pixel coordinates (pixel j is centred on j).
        const double centre = (i + 0.5) * scale - 0.5;
        const int begin = static_cast<int>(std::floor(centre - radius)) + 1;
        const int end = static_cast<int>(std::ceil(centre + radius)) - 1;
        double sum = 0;
        const size_t start = taps.weight.size();
        for (int j = begin; j <= end; ++j) {
            const double w = 1.0 - std::abs(j - centre) / radius;
            if (w <= 0) continue;
            taps.index.push_back(std::clamp(j, 0, from - 1));
            taps.weight.push_back(static_cast<float>(w));
            sum += w;
        }
        for (size_t k = start; k < taps.weight.size(); ++k) taps.weight[k] = static_cast<float>(taps.weight[k] / sum);
    }
    taps.first.push_back(static_cast<int>(taps.index.size()));
    return taps;
}

uint32_t Pack(const float* channels) {
    uint32_t pixel = 0;
    for (int c = 0; c < 4; ++c) {
        const long value = std::lround(std::clamp(channels[c], 0.0f, 255.0f));
        pixel |= static_cast<uint32_t>(value) << (8 * c);
    }
    return pixel;
}

}  // namespace

std::vector<uint32_t> ResamplePixels(const uint32_t* pixels, int stride, int width, int height, int toWidth,
                                     int toHeight) {
    if (!pixels || width <= 0 || height <= 0 || toWidth <= 0 || toHeight <= 0 || stride < width) return {};
    const Taps across = TapsFor(width, toWidth);
    const Taps down = TapsFor(height, toHeight);
    // Rows first, each channel kept as a float, then columns.
    std::vector<float> rows(static_cast<size_t>(toWidth) * height * 4, 0.0f);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels + static_cast<size_t>(y) * stride;
        float* out = &rows[static_cast<size_t>(y) * toWidth * 4];
        for (int x = 0; x < toWidth; ++x, out += 4) {
            for (int k = across.first[x]; k < across.first[x + 1]; ++k) {
                const uint32_t pixel = source[across.index[k]];
                for (int c = 0; c < 4; ++c) out[c] += across.weight[k] * static_cast<float>(pixel >> (8 * c) & 0xFF);
            }
        }
    }
    std::vector<uint32_t> result(static_cast<size_t>(toWidth) * toHeight);
    std::vector<float> sum(static_cast<size_t>(toWidth) * 4);
    for (int y = 0; y < toHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int k = down.first[y]; k < down.first[y + 1]; ++k) {
            const float* row = &rows[static_cast<size_t>(down.index[k]) * toWidth * 4];
            for (size_t i = 0; i < sum.size(); ++i) sum[i] += down.weight[k] * row[i];
        }
        for (int x = 0; x < toWidth; ++x) result[static_cast<size_t>(y) * toWidth + x] = Pack(&sum[static_cast<size_t>(x) * 4]);
    }
    return result;
}
