// The toolbar's custom drawn controls in a toolbar window built from a test layout: the window
// creates them from their element names, and they paint what their attributes say (the pixels
// below are where the layout's attributes put them).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "toolbar/rectangular_selector_tool_bar.h"
#include "toolkit_test_window.h"

using namespace DuiLib;

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

constexpr uint32_t kBackground = 0xF0F0F0;

// The toolbar window class with the test layout (read from disk by its absolute path).
class CustomControlsToolBar : public CRectangularSelectorToolBar {
public:
    CDuiString GetSkinFile() override { return L"" CUSTOM_CONTROLS_LAYOUT; }
};

void Pump(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

class CustomControls : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(toolbar_.Create(nullptr, L"custom controls", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST), nullptr);
        SetWindowPos(toolbar_.GetHWND(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        Pump(100);
    }
    void TearDown() override {
        // TOOLKIT_TEST_HOLD_MS keeps the window up a while, to take a screenshot of it.
        if (const char* hold = getenv("TOOLKIT_TEST_HOLD_MS")) Pump(static_cast<DWORD>(atoi(hold)));
        toolbar_.Dismiss();
    }

    CControlUI* Find(const wchar_t* name) { return toolbar_.GetPaintManager()->FindControl(name); }
    // A freshly painted frame, 0x00RRGGBB per pixel.
    std::vector<uint32_t> Frame() {
        toolbar_.GetPaintManager()->Paint(nullptr);
        int width = 0, height = 0;
        const uint32_t* frame = toolbar_.GetPaintManager()->GetFramePixels(width, height);
        width_ = width;
        std::vector<uint32_t> colours(frame, frame + width * height);
        for (uint32_t& colour : colours) colour &= 0xFFFFFF;
        return colours;
    }
    std::vector<uint32_t> Pixels(std::initializer_list<POINT> points) {
        const std::vector<uint32_t> frame = Frame();
        std::vector<uint32_t> colours;
        for (const POINT& p : points) colours.push_back(frame[p.y * width_ + p.x]);
        return colours;
    }

    CustomControlsToolBar toolbar_;
    int width_ = 0;
};

}  // namespace

TEST(CustomControlsCreate, OnlyTheThreeExactNames) {
    CRectangularSelectorToolBar toolbar;
    const std::unique_ptr<CControlUI> block(toolbar.CreateControl(L"ColorBlockControl"));
    const std::unique_ptr<CControlUI> shape(toolbar.CreateControl(L"ShapeControl"));
    const std::unique_ptr<CControlUI> example(toolbar.CreateControl(L"ShapeExampleControl"));
    ASSERT_TRUE(block && shape && example);
    EXPECT_EQ(block->GetInterface(L"ColorBlock"), block.get());
    EXPECT_NE(block->GetInterface(L"Option"), nullptr);
    EXPECT_EQ(shape->GetInterface(L"ShapeControl"), shape.get());
    EXPECT_EQ(shape->GetInterface(L"ShapeExampleControl"), nullptr);
    EXPECT_EQ(example->GetInterface(L"ShapeExampleControl"), example.get());
    EXPECT_EQ(example->GetInterface(L"ShapeControl"), example.get());
    for (const wchar_t* name : {L"shapecontrol", L"ColorBlock", L"Button", L""}) {
        EXPECT_EQ(toolbar.CreateControl(name), nullptr) << testing::PrintToString(std::wstring(name));
    }
}

TEST_F(CustomControls, ColourBlocksPaintBorderAndBlock) {
    // Plain (20, 20): a 1-pixel black border at +1, the block at +6 to +13.
    EXPECT_EQ(Pixels({{20, 30}, {21, 30}, {22, 30}, {25, 30}, {26, 26}, {33, 33}, {34, 30}, {30, 39}}),
              (std::vector<uint32_t>{kBackground, 0x000000, kBackground, kBackground, 0xFF3141, 0xFF3141,
                                     kBackground, 0x000000}));
    // Selected (60, 20): the 2-pixel selected border, the block at +7 to +12.
    EXPECT_EQ(Pixels({{61, 30}, {63, 30}, {66, 30}, {67, 27}, {72, 32}, {73, 30}}),
              (std::vector<uint32_t>{0x0078D7, kBackground, kBackground, 0xFF3141, 0xFF3141, kBackground}));
    // A transparent block colour leaves the inside empty.
    EXPECT_EQ(Pixels({{101, 30}, {110, 30}}), (std::vector<uint32_t>{0x1677FF, kBackground}));
    // Selecting repaints with the selected look; clearing brings the plain one back.
    auto* plain = static_cast<COptionUI*>(Find(L"block_plain")->GetInterface(L"Option"));
    plain->Selected(true, false);
    EXPECT_EQ(Pixels({{21, 30}, {26, 30}, {27, 30}}), (std::vector<uint32_t>{0x0078D7, kBackground, 0xFF3141}));
    plain->Selected(false, false);
    EXPECT_EQ(Pixels({{21, 30}, {26, 30}}), (std::vector<uint32_t>{0x000000, 0xFF3141}));
}

TEST_F(CustomControls, ShapePreviewsPaintTheirConfiguration) {
    // Rectangle (20, 60, 80, 100): the 2-pixel outline on the control's edge, nothing inside.
    EXPECT_EQ(Pixels({{20, 80}, {21, 80}, {22, 80}, {50, 80}, {79, 80}, {50, 99}}),
              (std::vector<uint32_t>{0x009BFF, 0x009BFF, kBackground, kBackground, 0x009BFF, 0x009BFF}));
    // Line (100, 60, 160, 100): corner to corner in its own colour.
    EXPECT_EQ(Pixels({{130, 80}, {150, 65}}), (std::vector<uint32_t>{0x00A870, kBackground}));
    // The mosaic has no preview.
    EXPECT_EQ(Pixels({{181, 61}, {210, 80}, {238, 98}}), (std::vector<uint32_t>(3, kBackground)));
    // Example (260, 20, 380, 140): its 2-pixel frame, the rectangle 20 pixels in.
    EXPECT_EQ(Pixels({{260, 30}, {261, 30}, {262, 30}, {320, 139}, {280, 50}, {279, 50}}),
              (std::vector<uint32_t>{0x1677FF, 0x1677FF, kBackground, 0x1677FF, 0x009BFF, kBackground}));
    // Its caption in the middle: faint grey glyphs over the background.
    const std::vector<uint32_t> frame = Frame();
    int glyphPixels = 0;
    for (int y = 60; y < 100; ++y) {
        for (int x = 300; x < 340; ++x) {
            const uint32_t colour = frame[y * width_ + x];
            if (colour == kBackground) continue;
            ++glyphPixels;
            EXPECT_GT(colour & 0xFF, 0xD0u) << std::hex << colour;
            EXPECT_LT(colour & 0xFF, kBackground & 0xFF) << std::hex << colour;
        }
    }
    EXPECT_GT(glyphPixels, 30);
}
