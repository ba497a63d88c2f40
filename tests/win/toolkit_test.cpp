// The window toolkit under Wine: a window built from a layout in a test skin archive embedded in
// this executable (resource ZIPRES 130), driven by real mouse and keyboard input.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <functional>

#include "ui_toolkit/shadow_window.h"
#include "ui_toolkit/skin_loader.h"
#include "toolkit_test_window.h"

using namespace DuiLib;

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 100;

const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new SkinEnvironment);

// Runs the message loop until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return true;
}

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Moves the real cursor to a point of the window's client area.
void MoveTo(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    SetCursorPos(pt.x, pt.y);
    Pump(60);
}

void Click(HWND hwnd, int x, int y) {
    MoveTo(hwnd, x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(60);
}

RECT Pos(TestWindow* window, const wchar_t* name) {
    CControlUI* control = window->Find(name);
    return control ? control->GetPos() : RECT{-1, -1, -1, -1};
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// The colour (0xRRGGBB) of a pixel of the last painted frame.
uint32_t FramePixel(TestWindow* window, POINT pt) {
    window->GetPaintManager()->Paint(nullptr);
    int width = 0, height = 0;
    const uint32_t* pixels = window->GetPaintManager()->GetFramePixels(width, height);
    if (!pixels || pt.x < 0 || pt.y < 0 || pt.x >= width || pt.y >= height) return 0xDEADBEEF;
    return pixels[pt.y * width + pt.x] & 0xFFFFFF;
}

class ToolkitWindow : public testing::Test {
protected:
    void SetUp() override {
        window_ = new TestWindow(L"test_window.xml", &deleted_);
        hwnd_ = window_->CreateAt(kLeft, kTop);
        ASSERT_NE(hwnd_, nullptr);
        Pump(100);
    }
    void TearDown() override {
        // TOOLKIT_TEST_HOLD_MS keeps the window up a while, to take a screenshot of it.
        if (const char* hold = getenv("TOOLKIT_TEST_HOLD_MS")) Pump(static_cast<DWORD>(atoi(hold)));
        if (!deleted_) DestroyWindow(hwnd_);
        EXPECT_TRUE(deleted_) << "the window object deletes itself when its window ends";
        SetCursorPos(5, 5);
        Pump(30);
    }

    TestWindow* window_ = nullptr;
    HWND hwnd_ = nullptr;
    bool deleted_ = false;
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_TRUE(SameRect(actual, RECT{l, t, r, b})) \
    << #actual << " = " << (actual).left << "," << (actual).top << "," << (actual).right << "," << (actual).bottom

}  // namespace

TEST_F(ToolkitWindow, ControlsSitWhereTheLayoutPutsThem) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    // Borderless at the layout's size, whatever frame Create was given.
    EXPECT_RECT(window, kLeft, kTop, kLeft + 300, kTop + 200);
    EXPECT_EQ(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_RECT(Pos(window_, L"root"), 0, 0, 300, 200);
    EXPECT_RECT(Pos(window_, L"title_row"), 0, 0, 300, 40);
    EXPECT_RECT(Pos(window_, L"title"), 10, 5, 90, 35);
    EXPECT_RECT(Pos(window_, L"gap"), 90, 5, 260, 35);
    EXPECT_RECT(Pos(window_, L"close_btn"), 260, 5, 290, 35);
    EXPECT_RECT(Pos(window_, L"opt_a"), 10, 50, 70, 80);
    EXPECT_RECT(Pos(window_, L"opt_b"), 80, 50, 140, 80);
    EXPECT_RECT(Pos(window_, L"opt_c"), 140, 50, 200, 80);
    EXPECT_RECT(Pos(window_, L"combo"), 10, 90, 110, 114);
    EXPECT_RECT(Pos(window_, L"edit"), 10, 124, 290, 174);
    EXPECT_RECT(Pos(window_, L"floater"), 200, 150, 280, 170);
    EXPECT_EQ(window_->Find(L"no_such_control"), nullptr);

    CControlUI* colour = window_->Find(L"colour");
    ASSERT_NE(colour, nullptr);
    EXPECT_FALSE(colour->IsVisible());
    EXPECT_STREQ(colour->GetCustomAttribute(L"clr_value"), L"#FF00A870");
    EXPECT_EQ(colour->GetCustomAttribute(L"absent"), nullptr);
    EXPECT_STREQ(window_->Find(L"close_btn")->GetToolTip(), L"\x5173\x95ED<n>\x7A97\x53E3");
    auto* root = static_cast<CContainerUI*>(window_->Find(L"root")->GetInterface(L"Container"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->FindSubControl(L"opt_b"), window_->Find(L"opt_b"));
}

TEST_F(ToolkitWindow, PaintsImagesStatesAndText) {
    const POINT button = Centre(Pos(window_, L"close_btn"));
    EXPECT_EQ(FramePixel(window_, button), 0xC81E1Eu);  // normal image
    EXPECT_EQ(FramePixel(window_, POINT{150, 190}), 0xF0F0F0u);  // root background colour
    MoveTo(hwnd_, button.x, button.y);
    EXPECT_EQ(FramePixel(window_, button), 0x1EC81Eu);  // hot image
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    EXPECT_EQ(FramePixel(window_, button), 0x1E1EC8u);  // pushed image
    MoveTo(hwnd_, 150, 190);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(60);
    EXPECT_EQ(FramePixel(window_, button), 0xC81E1Eu);
    EXPECT_TRUE(window_->clicks.empty()) << "released outside the button: no click";

    // The title text: dark pixels inside the label, none outside the text's reach.
    FramePixel(window_, POINT{0, 0});
    int width = 0, height = 0;
    const uint32_t* pixels = window_->GetPaintManager()->GetFramePixels(width, height);
    int dark = 0;
    for (int y = 5; y < 35; ++y) {
        for (int x = 10; x < 90; ++x) {
            if ((pixels[y * width + x] & 0xFF) < 0x80) ++dark;
        }
    }
    EXPECT_GT(dark, 20);
    // The selected option shows the selected state image, the others the normal one.
    EXPECT_EQ(FramePixel(window_, POINT{18, 65}), 0x1677FFu);
    EXPECT_EQ(FramePixel(window_, POINT{88, 65}), 0x808080u);
}

TEST_F(ToolkitWindow, RealClickRaisesOneClickFromTheButton) {
    const POINT button = Centre(Pos(window_, L"close_btn"));
    Click(hwnd_, button.x, button.y);
    ASSERT_TRUE(PumpUntil([&] { return !window_->clicks.empty(); }));
    Pump(100);
    ASSERT_EQ(window_->clicks.size(), 1u);
    EXPECT_EQ(window_->clicks[0], L"close_btn");
    EXPECT_EQ(window_->Count(L"click", L"close_btn"), 1);
    EXPECT_EQ(window_->Count(L"buttondown", L"close_btn"), 1);
}

TEST(ToolkitInput, AClickQueuedBeforeTheFirstPaintReachesItsButton) {
    // Posted input is handled before WM_PAINT, which comes only when the queue is empty: the
    // press and release come before the window was ever laid out or painted.
    bool deleted = false;
    auto* window = new TestWindow(L"test_window.xml", &deleted);
    const HWND hwnd = window->Create(nullptr, L"toolkit test", WS_VISIBLE | WS_POPUP, WS_EX_TOPMOST, kLeft, kTop, 300, 200);
    ASSERT_NE(hwnd, nullptr);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(275, 20));  // the close button's centre
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(275, 20));
    Pump(100);
    ASSERT_FALSE(deleted);
    EXPECT_EQ(window->clicks, std::vector<std::wstring>{L"close_btn"});
    DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
}

TEST_F(ToolkitWindow, OptionsOfOneGroupExcludeEachOther) {
    auto* a = static_cast<COptionUI*>(window_->Find(L"opt_a"));
    auto* b = static_cast<COptionUI*>(window_->Find(L"opt_b"));
    auto* c = static_cast<COptionUI*>(window_->Find(L"opt_c"));
    EXPECT_TRUE(a->IsSelected());
    EXPECT_STREQ(a->GetGroup(), L"g1");
    const POINT pb = Centre(b->GetPos());
    Click(hwnd_, pb.x, pb.y);
    ASSERT_TRUE(PumpUntil([&] { return window_->Count(L"click", L"opt_b") == 1; }));
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    // Clicking the selected option of a group keeps it selected; a lone option toggles.
    Click(hwnd_, pb.x, pb.y);
    EXPECT_TRUE(b->IsSelected());
    const POINT pc = Centre(c->GetPos());
    Click(hwnd_, pc.x, pc.y);
    EXPECT_TRUE(c->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    Click(hwnd_, pc.x, pc.y);
    EXPECT_FALSE(c->IsSelected());
    // Selecting by program obeys the group too, and notifies only when asked.
    const size_t before = window_->notifications.size();
    a->Selected(true, false);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(window_->notifications.size(), before);
}

TEST_F(ToolkitWindow, ComboRaisesItemSelectWithTheIndex) {
    auto* combo = static_cast<CComboUI*>(window_->Find(L"combo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_STREQ(combo->GetText(), L"10");
    ASSERT_TRUE(combo->SelectItem(2));
    ASSERT_EQ(window_->Count(L"itemselect", L"combo"), 1);
    EXPECT_EQ(window_->notifications.back().wParam, 2u);
    EXPECT_EQ(window_->notifications.back().lParam, 1);
    EXPECT_FALSE(combo->SelectItem(7));
    EXPECT_TRUE(combo->SelectItem(2));  // no change, no notification
    EXPECT_EQ(window_->Count(L"itemselect", L"combo"), 1);

    // Through the drop-down list with real clicks.
    const POINT face = Centre(combo->GetPos());
    Click(hwnd_, face.x, face.y);
    HWND list = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (list = FindWindowW(L"DuiLibComboDrop", nullptr)) != nullptr; }));
    RECT listRect;
    GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.top, kTop + 114);  // right under the face
    EXPECT_EQ(listRect.right - listRect.left, 100);
    SetCursorPos(listRect.left + 20, listRect.top + 12);  // the first entry
    Pump(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return window_->Count(L"itemselect", L"combo") == 2; }));
    EXPECT_EQ(window_->notifications.back().wParam, 0u);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(L"DuiLibComboDrop", nullptr) == nullptr; }));
}

TEST_F(ToolkitWindow, RichEditRaisesTextChangedAndKeepsItsMaximum) {
    auto* edit = static_cast<CRichEditUI*>(window_->Find(L"edit"));
    ASSERT_NE(edit, nullptr);
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    const POINT centre = Centre(edit->GetPos());
    Click(hwnd_, centre.x, centre.y);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == native; }));
    for (int i = 0; i < 15; ++i) SendMessageW(native, WM_CHAR, L'a' + i, 0);
    Pump(50);
    EXPECT_EQ(edit->GetText().GetLength(), 10);
    EXPECT_STREQ(edit->GetText(), L"abcdefghij");
    EXPECT_GE(window_->Count(L"textchanged", L"edit"), 10);
    edit->SetText(L"");
    EXPECT_EQ(edit->GetText().GetLength(), 0);
}

TEST_F(ToolkitWindow, CaptionAreaHitTestsAsCaptionExceptOnControls) {
    auto hitTest = [&](int x, int y) {
        return SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
    };
    const POINT gap = Centre(Pos(window_, L"gap"));
    const POINT title = Centre(Pos(window_, L"title"));
    const POINT button = Centre(Pos(window_, L"close_btn"));
    EXPECT_EQ(hitTest(gap.x, gap.y), HTCAPTION);
    EXPECT_EQ(hitTest(title.x, title.y), HTCAPTION);  // a label takes no clicks
    EXPECT_EQ(hitTest(button.x, button.y), HTCLIENT);
    EXPECT_EQ(hitTest(150, 45), HTCLIENT);  // below the caption area
    EXPECT_EQ(hitTest(150, 190), HTCLIENT);
}

TEST(ToolkitModal, ShowModalReturnsOnQuitAndLeavesItPending) {
    bool deleted = false;
    auto* window = new TestWindow(L"test_window.xml", &deleted);
    ASSERT_NE(window->CreateAt(kLeft, kTop), nullptr);
    HWND hwnd = window->GetHWND();
    PostQuitMessage(5);
    window->ShowModal();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
}

TEST(ToolkitModal, ShowModalReturnsTheCloseCode) {
    bool deleted = false;
    auto* window = new TestWindow(L"test_window.xml", &deleted);
    ASSERT_NE(window->CreateAt(kLeft, kTop), nullptr);
    HWND hwnd = window->GetHWND();
    window->Close(42);
    EXPECT_EQ(window->ShowModal(), 42u);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(deleted);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(ToolkitModal, MissingLayoutGivesAnEmptyWindowNotACrash) {
    bool deleted = false;
    auto* window = new TestWindow(L"no_such_layout.xml", &deleted);
    HWND hwnd = window->CreateAt(kLeft, kTop);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window->Find(L"root"), nullptr);
    Pump(50);
    DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
}

TEST_F(ToolkitWindow, TooltipShowsAfterHoverWithLineBreaks) {
    const POINT button = Centre(Pos(window_, L"close_btn"));
    MoveTo(hwnd_, button.x, button.y);
    HWND tooltip = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        tooltip = window_->GetPaintManager()->GetTooltipWindow();
        return tooltip && IsWindowVisible(tooltip);
    }));
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    wchar_t text[64] = {0};
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"\x5173\x95ED\r\n\x7A97\x53E3");
    // Leaving the button hides it again.
    MoveTo(hwnd_, 150, 190);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tooltip); }));
}

// The bounds of the shadow's visible strips around a window.
BOOL CALLBACK AddShadowStrip(HWND window, LPARAM data) {
    wchar_t name[32] = {0};
    GetClassNameW(window, name, 32);
    if (lstrcmpW(name, L"DuiLibShadow") == 0 && IsWindowVisible(window)) {
        RECT strip;
        GetWindowRect(window, &strip);
        RECT* bounds = reinterpret_cast<RECT*>(data);
        UnionRect(bounds, bounds, &strip);
    }
    return TRUE;
}

RECT ShadowBounds() {
    RECT bounds{};
    EnumWindows(AddShadowStrip, reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

TEST(ToolkitLayered, TransparentWindowIsLayeredWithAShadowAround) {
    bool deleted = false;
    auto* window = new TestWindow(L"layered_window.xml", &deleted);
    HWND hwnd = window->CreateAt(300, 300);
    ASSERT_NE(hwnd, nullptr);
    Pump(100);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_NE(FindWindowW(L"DuiLibShadow", nullptr), nullptr);
    RECT shadowRect = ShadowBounds(), windowRect;
    GetWindowRect(hwnd, &windowRect);
    EXPECT_TRUE(SameRect(shadowRect, RECT{windowRect.left - 3, windowRect.top - 3, windowRect.right + 3,
                                          windowRect.bottom + 3}));
    EXPECT_TRUE(IsWindowVisible(FindWindowW(L"DuiLibShadow", nullptr)));
    // The frame keeps its alpha: the rounded corner is see-through, the middle is not.
    window->GetPaintManager()->Paint(nullptr);
    int width = 0, height = 0;
    const uint32_t* pixels = window->GetPaintManager()->GetFramePixels(width, height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels[0] >> 24, 0u);
    EXPECT_EQ(pixels[30 * width + 5] >> 24, 0xCCu);
    // The shadow follows the window and goes with it.
    SetWindowPos(hwnd, nullptr, 320, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shadowRect = ShadowBounds();
    EXPECT_EQ(shadowRect.left, 317);
    EXPECT_EQ(shadowRect.top, 307);
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_EQ(ShadowBounds().right, 0);  // no strip is visible
    DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(FindWindowW(L"DuiLibShadow", nullptr), nullptr);
}

// The four strips put together make the whole ring around the window, each pixel once, shaded
// alike on all four sides: no see-through gap next to the window, no overlap.
TEST(ToolkitLayered, ShadowStripsMakeAnEvenRingAroundTheWindow) {
    using DuiLib::ShadowWindow;
    const int size = 6, width = 52, height = 31;  // a 40 x 19 window
    const DWORD color = 0x204080;
    std::vector<uint32_t> whole(static_cast<size_t>(width) * height, 0);
    std::vector<int> covered(whole.size(), 0);
    RECT parts[4];
    ShadowWindow::StripRects(width, height, size, parts);
    for (const RECT& part : parts) {
        const std::vector<uint32_t> pixels = ShadowWindow::PartPixels(part, width, height, size, color);
        const int w = part.right - part.left;
        ASSERT_EQ(pixels.size(), static_cast<size_t>(w) * (part.bottom - part.top));
        for (size_t i = 0; i < pixels.size(); ++i) {
            const size_t at = static_cast<size_t>(part.top + int(i) / w) * width + part.left + int(i) % w;
            whole[at] = pixels[i];
            ++covered[at];
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= size && x < width - size && y >= size && y < height - size;
            ASSERT_EQ(covered[y * width + x], inside ? 0 : 1) << x << "," << y;
            // Mirror images left to right and top to bottom.
            ASSERT_EQ(whole[y * width + x], whole[y * width + width - 1 - x]) << x << "," << y;
            ASSERT_EQ(whole[y * width + x], whole[(height - 1 - y) * width + x]) << x << "," << y;
        }
    }
    // Along the sides the alpha falls with the distance from the window, from its first pixel out.
    for (int d = 1; d <= size; ++d) {
        const int alpha = ShadowWindow::AlphaAt(d, size);
        EXPECT_GT(alpha, d == 1 ? 80 : 0);
        EXPECT_EQ(int(whole[15 * width + size - d] >> 24), alpha) << d;        // left
        EXPECT_EQ(int(whole[(size - d) * width + 20] >> 24), alpha) << d;      // top
        if (d > 1) {
            EXPECT_LT(alpha, ShadowWindow::AlphaAt(d - 1, size));
        }
    }
    // Premultiplied colour, and a rounded corner: one pixel out diagonally is two away.
    const uint32_t next = whole[15 * width + size - 1], a = next >> 24;
    EXPECT_EQ(next & 0xFFFFFF, (0x20 * a / 255) << 16 | (0x40 * a / 255) << 8 | (0x80 * a / 255));
    EXPECT_EQ(int(whole[(size - 1) * width + size - 1] >> 24), ShadowWindow::AlphaAt(2, size));
    EXPECT_EQ(whole[0], 0u);
}

TEST(ToolkitLayered, WindowWithAnEditIsNotLayered) {
    bool deleted = false;
    auto* window = new TestWindow(L"test_window.xml", &deleted);
    HWND hwnd = window->CreateAt(kLeft, kTop);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
}

namespace {

// Runs out of memory on its creation when told to, and always on WM_APP + 7.
class HungryWindow : public DuiLib::CWindowWnd {
public:
    bool failOnCreate = false;
    int finalMessages = 0;

protected:
    LPCTSTR GetWindowClassName() const override { return L"HungryTestWnd"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message == WM_CREATE && failOnCreate) || message == WM_APP + 7) throw std::bad_alloc();
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { ++finalMessages; }
};

int g_outOfMemoryReports = 0;

}  // namespace

TEST(WindowProcedure, RunningOutOfMemoryFailsTheMessageNotTheProgram) {
    DuiLib::SetOutOfMemoryReporter([] { ++g_outOfMemoryReports; });
    HungryWindow window;
    ASSERT_NE(window.Create(nullptr, L"hungry", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
    HungryWindow failing;
    failing.failOnCreate = true;
    EXPECT_EQ(failing.Create(nullptr, L"failing", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(failing.finalMessages, 0);  // the object is still the caller's
    EXPECT_EQ(window.SendMessage(WM_APP + 7), 0);
    EXPECT_EQ(g_outOfMemoryReports, 1);
    EXPECT_TRUE(IsWindow(window.GetHWND()));
    DestroyWindow(window.GetHWND());
    EXPECT_EQ(window.finalMessages, 1);
    DuiLib::SetOutOfMemoryReporter(nullptr);
}
