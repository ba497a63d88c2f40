// A region capture on its own thread over a screen whose picture this test put there, driven by
// real input, with a stand-in requester window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "capture/app_context.h"
#include "base/dib_canvas.h"
#include "base/font_face.h"
#include "capture/magnifier_win.h"
#include "capture/overlay_layout.h"
#include "capture/rectangular_selector.h"
#include "capture/screen_grab_win.h"
#include "capture_fixture.h"

namespace {

int Diff(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

uint32_t Dimmed(uint32_t p) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) out |= ((((p >> shift) & 0xFF) * 102 + 127) / 255) << shift;
    return out;
}

// The pattern with GDI's own blend of a black layer of alpha 153 over it.
std::vector<uint32_t> BlendedByGdi(int w, int h) {
    HDC screen = GetDC(nullptr);
    DibCanvas picture, mask;
    picture.Create(screen, w, h);
    mask.Create(screen, w, h);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) picture.Bits()[static_cast<size_t>(y) * w + x] = PatternAt(x, y);
    }
    std::fill(mask.Bits(), mask.Bits() + static_cast<size_t>(w) * h, 0x99000000u);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(picture.Dc(), 0, 0, w, h, mask.Dc(), 0, 0, w, h, blend);
    GdiFlush();
    return std::vector<uint32_t>(picture.Bits(), picture.Bits() + static_cast<size_t>(w) * h);
}

}  // namespace

TEST_F(Capture, FrozenScreenIsTheScreen) {
    CRectangularSelector* s = selector_.load();
    const int w = s->Width(), h = s->Height();
    EXPECT_EQ(w, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(h, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    // Every pixel, so that each band of the grab is checked.
    size_t wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) wrong += (s->FrozenPixels()[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != PatternAt(x, y);
    }
    EXPECT_EQ(wrong, 0u);
    wchar_t title[64] = {0};
    GetWindowTextW(overlay_, title, 64);
    EXPECT_STREQ(title, L"Screen Capture");
    // Before a selection the whole screen is dimmed as GDI blends a 60 % black layer over it,
    // but for the magnifier and its panel below and right of the pointer at (600, 500).
    const std::vector<uint32_t> expected = BlendedByGdi(w, h);
    Frame(0, 0);
    wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (x >= 600 && x < 800 && y >= 500 && y < 820) continue;
            const size_t i = static_cast<size_t>(y) * w + x;
            wrong += Diff(s->FramePixels()[i], expected[i]) > 1;
        }
    }
    EXPECT_EQ(wrong, 0u);
}

TEST_F(Capture, DraggingOutASelection) {
    Drag(100, 100, 300, 200);
    const capture::Rect sel = selector_.load()->Model().Selection();
    ASSERT_TRUE(selector_.load()->Model().HasSelection());
    EXPECT_EQ(sel, (capture::Rect{100, 100, 300, 200}));
    EXPECT_EQ(Frame(200, 150), PatternAt(200, 150));                  // undimmed inside
    EXPECT_LE(Diff(Frame(500, 500), Dimmed(PatternAt(500, 500))), 1);  // dimmed outside
    EXPECT_EQ(Pixel(100, 125), 0x1677FFu);                            // the 2-pixel border
    EXPECT_EQ(Pixel(99, 125), 0x1677FFu);
    EXPECT_EQ(Pixel(100, 100), 0xFFFFFFu);                            // a handle's white inside
    EXPECT_EQ(Pixel(96, 100), 0x1677FFu);                             // and its frame
    // The size label above the selection: white text pixels between y = 80 and 98.
    int white = 0;
    for (int y = 80; y < 99; ++y) {
        for (int x = 100; x < 300; ++x) white += Pixel(x, y) == 0xFFFFFF;
    }
    EXPECT_GT(white, 20);
    // The output is exactly the selection's pixels of the frozen screen.
    HBITMAP output = selector_.load()->ComposeOutput();
    ASSERT_NE(output, nullptr);
    BITMAP info{};
    GetObjectW(output, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 200);
    EXPECT_EQ(info.bmHeight, 100);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, output);
    for (POINT p : {POINT{0, 0}, POINT{199, 99}, POINT{1, 0}, POINT{120, 40}}) {
        const COLORREF c = GetPixel(dc, p.x, p.y);
        const uint32_t rgb = static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        EXPECT_EQ(rgb, PatternAt(100 + p.x, 100 + p.y)) << p.x << "," << p.y;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(output);
}

TEST_F(Capture, SizeLabelIsDrawnOnceUnderTheHandles) {
    // A short selection at the top right: the label stands inside it, right-aligned, across the
    // left, top and right handles' rows.
    const int w = GetSystemMetrics(SM_CXSCREEN);
    Drag(w - 60, 0, w - 2, 30);
    CRectangularSelector* s = selector_.load();
    ASSERT_TRUE(s->Model().HasSelection());
    const capture::Rect sel = s->Model().Selection();
    SendMessageW(overlay_, WM_CAPTURE_RENDER, 0, 0);
    // Every handle is whole on top: a white inside in an accent frame.
    const int midX = sel.left + (sel.right - sel.left) / 2, midY = sel.top + (sel.bottom - sel.top) / 2;
    int wrong = 0;
    for (const POINT h : {POINT{sel.left, sel.top}, POINT{midX, sel.top}, POINT{sel.right, sel.top},
                          POINT{sel.right, midY}, POINT{sel.left, midY}}) {
        for (int y = std::max<int>(h.y - 4, 0); y < h.y + 4; ++y) {
            for (int x = h.x - 4; x < std::min<int>(h.x + 4, s->Width()); ++x) {
                const bool edge = x == h.x - 4 || x == h.x + 3 || y == h.y - 4 || y == h.y + 3;
                wrong += Pixel(x, y) != (edge ? 0x1677FFu : 0xFFFFFFu);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    // Away from the border and handles the label is the text drawn once over the screen.
    HDC screen = GetDC(nullptr);
    DibCanvas single;
    ASSERT_TRUE(single.Create(screen, s->Width(), 40));
    const int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < s->Width(); ++x) single.Bits()[static_cast<size_t>(y) * s->Width() + x] = PatternAt(x, y);
    }
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, kUiFontFace);
    HGDIOBJ old = SelectObject(single.Dc(), font);
    const std::wstring text = capture::SizeLabelText(sel, true, capture::Point{});
    SIZE extent{};
    GetTextExtentPoint32W(single.Dc(), text.c_str(), static_cast<int>(text.size()), &extent);
    const capture::Point at = capture::PlaceSizeLabel(sel, extent.cx, extent.cy, capture::Rect{0, 0, s->Width(), s->Height()});
    SetTextColor(single.Dc(), RGB(255, 255, 255));
    SetBkMode(single.Dc(), TRANSPARENT);
    TextOutW(single.Dc(), at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(single.Dc(), old);
    DeleteObject(font);
    GdiFlush();
    int compared = 0, differing = 0, text_pixels = 0;
    for (int y = at.y; y < at.y + extent.cy; ++y) {
        for (int x = std::max(at.x, 0); x < at.x + extent.cx; ++x) {
            const bool nearEdge = x < sel.left + 6 || x >= sel.right - 6 || y < sel.top + 6 || y >= sel.bottom - 6;
            const bool nearMiddle = std::abs(x - midX) < 6;
            if (nearEdge || nearMiddle || x < sel.left) continue;
            const uint32_t expected = single.Bits()[static_cast<size_t>(y) * s->Width() + x] & 0xFFFFFF;
            ++compared;
            text_pixels += expected != PatternAt(x, y);
            differing += Pixel(x, y) != expected;
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_GT(text_pixels, 20);
    EXPECT_EQ(differing, 0);
}

TEST_F(Capture, ShortDragLeavesNoSelection) {
    Drag(400, 400, 405, 500);
    EXPECT_FALSE(selector_.load()->Model().HasSelection());
}

TEST_F(Capture, ColourReadoutAndCopy) {
    MoveTo(601, 602);
    SendMessageW(overlay_, WM_CAPTURE_RENDER, 0, 0);
    const uint32_t p = PatternAt(601, 602);
    wchar_t hex[64];
    swprintf(hex, 64, L"HEX: %02X %02X %02X", p >> 16, (p >> 8) & 0xFF, p & 0xFF);
    EXPECT_EQ(selector_.load()->HexText(), hex);
    SetForegroundWindow(overlay_);
    Pump(50);
    INPUT keys[4] = {};
    for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'H';
    keys[2].ki.wVk = 'H';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    ASSERT_TRUE(WaitFor([&] { return CAppContext::Instance().GetLastColorText() == hex; }));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(data)), hex);
    GlobalUnlock(data);
    CloseClipboard();
    // Ctrl+D copies the decimal line the same way.
    const std::wstring decimal = selector_.load()->DecimalText();
    keys[1].ki.wVk = 'D';
    keys[2].ki.wVk = 'D';
    SendInput(4, keys, sizeof(INPUT));
    ASSERT_TRUE(WaitFor([&] { return CAppContext::Instance().GetLastColorText() == decimal; }));
    EXPECT_EQ(decimal.substr(0, 5), L"RGB: ");
    // Tab switches the magnifier to the corner and back.
    EXPECT_TRUE(selector_.load()->FollowMode());
    PostMessageW(overlay_, WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(WaitFor([&] { return !selector_.load()->FollowMode(); }));
}

TEST_F(Capture, MagnifierIsBlackBeyondTheScreenEdge) {
    MoveTo(5, 400);
    // Follow mode: the square starts 10 pixels right of and below the pointer.
    const int x = 15, y = 410;
    EXPECT_EQ(Frame(x + 10, y + 40), 0u);            // left 16 source columns (64 pixels): off screen
    EXPECT_EQ(Frame(x + 60, y + 40), 0u);
    EXPECT_LE(Diff(Frame(x + 100, y + 40), PatternAt(5 - 21 + 25, 400 - 21 + 10)), 6);
}

TEST_F(Capture, EscapeEndsTheCaptureAndRestoresTheRequester) {
    PostMessageW(overlay_, WM_KEYDOWN, VK_ESCAPE, 0);
    // Wait without dispatching: the restore message must still be in the requester's queue.
    for (int i = 0; i < 250 && !finished_; ++i) Sleep(20);
    ASSERT_TRUE(finished_.load());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, requester_, WM_RESTORE_AFTER_CAPTURE, WM_RESTORE_AFTER_CAPTURE, PM_REMOVE));
    EXPECT_FALSE(IsWindow(overlay_));
}

// Beside a 150 % monitor the magnifier takes the scale of the pointer's monitor and turns back at
// that monitor's edges, not the primary one's.
TEST(Magnifier, FollowsThePointerAtItsMonitorsScaleWithinItsMonitor) {
    const CMagnifier magnifier(capture::Rect{0, 0, 3840, 1620},
                               {{capture::Rect{0, 0, 1920, 1080}, 96}, {capture::Rect{1920, 0, 3840, 1620}, 144}});
    RECT square, panel;
    const auto same = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; };
    magnifier.Places({100, 100}, square, panel);
    EXPECT_TRUE(same(square, RECT{110, 110, 282, 282}));
    EXPECT_TRUE(same(panel, RECT{110, 282, 282, 392}));
    // Near the primary monitor's right edge it turns back there.
    magnifier.Places({1900, 100}, square, panel);
    EXPECT_TRUE(same(square, RECT{1718, 110, 1890, 282}));
    // On the 150 % monitor: one and a half times the size and distance.
    magnifier.Places({2000, 100}, square, panel);
    EXPECT_TRUE(same(square, RECT{2015, 115, 2273, 373}));
    EXPECT_TRUE(same(panel, RECT{2015, 373, 2273, 538}));
    // ... below the primary monitor's bottom, without turning up.
    magnifier.Places({2000, 1200}, square, panel);
    EXPECT_TRUE(same(square, RECT{2015, 1215, 2273, 1473}));
    magnifier.Places({3800, 1600}, square, panel);
    EXPECT_TRUE(same(square, RECT{3527, 1327, 3785, 1585}));
}

TEST(ScreenGrab, WithoutADimmedCopyOnlyGrabs) {
    HWND pattern = ShowPattern();
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    DibCanvas frozen, none, small;
    ASSERT_TRUE(frozen.Create(screen, w, h));
    ASSERT_TRUE(small.Create(screen, 10, 10));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(GrabScreen(frozen, none, 0, 0));
    size_t wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) wrong += (frozen.Bits()[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != PatternAt(x, y);
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_FALSE(GrabScreen(frozen, small, 0, 0));  // a dimmed copy of another size is refused
    DestroyWindow(pattern);
}
