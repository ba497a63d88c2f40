// The two screens the benchmarks draw on, made in-process with fixed seeds: photo-like (smooth
// noise in several octaves, like a wallpaper or a photo, which compresses badly) and UI-like
// (flat panels, borders and lines of text drawn by GDI).
#pragma once

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

enum class BenchScreen { kPhoto, kUi };

inline const char* BenchScreenName(BenchScreen screen) { return screen == BenchScreen::kPhoto ? "photo" : "ui"; }

// Smooth value noise: random grids of coarser and finer cells, bilinearly interpolated and
// added with halving weights, one octave of fine grain on top, per colour channel.
inline void FillPhotoLike(uint32_t* pixels, int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<float> sum(static_cast<size_t>(width) * height * 3, 0.0f);
    float weight = 0.5f;
    for (int cell = 256; cell >= 2; cell /= 2, weight *= 0.55f) {
        const int gw = width / cell + 2, gh = height / cell + 2;
        std::vector<float> grid(static_cast<size_t>(gw) * gh * 3);
        for (float& g : grid) g = static_cast<float>(random() % 256);
        for (int y = 0; y < height; ++y) {
            const int gy = y / cell;
            const float fy = static_cast<float>(y % cell) / cell;
            for (int x = 0; x < width; ++x) {
                const int gx = x / cell;
                const float fx = static_cast<float>(x % cell) / cell;
                for (int c = 0; c < 3; ++c) {
                    auto at = [&](int i, int j) { return grid[(static_cast<size_t>(j) * gw + i) * 3 + c]; };
                    const float top = at(gx, gy) + (at(gx + 1, gy) - at(gx, gy)) * fx;
                    const float bottom = at(gx, gy + 1) + (at(gx + 1, gy + 1) - at(gx, gy + 1)) * fx;
                    sum[(static_cast<size_t>(y) * width + x) * 3 + c] += weight * (top + (bottom - top) * fy);
                }
            }
        }
    }
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        uint32_t pixel = 0xFF000000u;
        for (int c = 0; c < 3; ++c) {
            const float value = sum[i * 3 + c] * 1.2f - 40.0f + static_cast<float>(random() % 9);
            const uint32_t byte = value < 0 ? 0 : value > 255 ? 255 : static_cast<uint32_t>(value);
            pixel |= byte << (16 - 8 * c);
        }
        pixels[i] = pixel;
    }
}

// Windows of flat panels with borders, title bars, buttons and lines of text.
inline void DrawUiLike(HDC dc, int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    RECT all{0, 0, width, height};
    HBRUSH desk = CreateSolidBrush(RGB(0x2B, 0x57, 0x9A));
    FillRect(dc, &all, desk);
    DeleteObject(desk);
    HFONT font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* words[] = {L"File", L"Edit", L"View", L"Window", L"Help", L"settings", L"capture", L"screen",
                              L"region", L"picture", L"folder", L"toolbar", L"arrow", L"rectangle", L"12:45", L"OK"};
    for (int n = 0; n < 14; ++n) {
        const int w = width / 4 + static_cast<int>(random() % (width / 3));
        const int h = height / 4 + static_cast<int>(random() % (height / 3));
        const int x = static_cast<int>(random() % (width - w / 2));
        const int y = static_cast<int>(random() % (height - h / 2));
        RECT frame{x, y, x + w, y + h};
        const COLORREF panel = n % 3 == 0 ? RGB(0x1E, 0x1E, 0x1E) : RGB(0xF3, 0xF3, 0xF3);
        HBRUSH body = CreateSolidBrush(panel);
        FillRect(dc, &frame, body);
        DeleteObject(body);
        RECT title{x, y, x + w, y + 30};
        HBRUSH bar = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
        FillRect(dc, &title, bar);
        DeleteObject(bar);
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        SetTextColor(dc, n % 3 == 0 ? RGB(0xD4, 0xD4, 0xD4) : RGB(0x26, 0x26, 0x26));
        for (int line = y + 40; line < y + h - 20; line += 20) {
            std::wstring text;
            const int count = 3 + static_cast<int>(random() % 10);
            for (int k = 0; k < count; ++k) text += std::wstring(words[random() % 16]) + L" ";
            TextOutW(dc, x + 12 + static_cast<int>(random() % 40), line, text.c_str(), static_cast<int>(text.size()));
        }
        RECT button{x + w - 90, y + h - 36, x + w - 14, y + h - 10};
        HBRUSH accent = CreateSolidBrush(RGB(0x16, 0x77, 0xFF));
        FillRect(dc, &button, accent);
        DeleteObject(accent);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}
