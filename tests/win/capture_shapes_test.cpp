// Rectangles and ellipses in a real capture: drawn, picked, moved and deleted by real pointer
// input on the overlay, shown in its frame while they change, and in every finishing action's
// picture as committed (no handles).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "annotation/shape_painter_win.h"
#include "base/dib_canvas.h"
#include "base/unique_handle.h"
#include "capture/capture_shapes_win.h"
#include "capture_fixture.h"
#include "settings/config.h"
#include "test_folder.h"
#include "toolbar_geometry.h"

using Btn = TOOL_BAR_BTN_TYPE;

namespace {

constexpr RECT kArea{600, 100, 1100, 400};
constexpr uint32_t kBlue = 0x009BFF;  // the default shape colour, as 0xRRGGBB

HWND FindToolbar() { return FindWindowW(L"RectangularSelectorToolBar", L"rectangular_selector_tool_bar"); }

// The pixel the overlay window shows at a screen point.
uint32_t OnScreen(HWND overlay, int x, int y) {
    WindowDc dc(overlay);
    const COLORREF c = GetPixel(dc.Get(), x, y);
    return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

class ShapeCapture : public Capture {
protected:
    void SetUp() override {
        ShapeConfigRegistry::Instance().Get<RectangleConfig>() = RectangleConfig();
        ShapeConfigRegistry::Instance().Get<EllipseConfig>() = EllipseConfig();
        CConfig::Instance().SetPicSavePath(folder_.File(L"pictures"));
        CConfig::Instance().SetPicSaveFormat(PicSaveFormat::kPng);
        Capture::SetUp();
        Drag(kArea.left, kArea.top, kArea.right, kArea.bottom);
        ASSERT_TRUE(WaitFor([] { return IsWindowVisible(FindToolbar()) != FALSE; }));
        toolbar_ = FindToolbar();
    }
    ICaptureAnnotations& Annotations() override { return shapes_; }

    void ClickButton(Btn value) {
        POINT at = ToolbarButtonCenter(value);
        ClientToScreen(toolbar_, &at);
        ClickAt(at.x, at.y);
        Pump(100);
    }
    // A rectangle from (700, 150) to (800, 250) with the rectangle tool.
    void DrawRectangle() {
        ClickButton(Btn::kRectangle);
        Drag(700, 150, 800, 250);
        ASSERT_TRUE(WaitFor([this] { return Frame(699, 200) == kBlue; }));
    }

    TestFolder folder_;
    CShapeLogic logic_{ShapeConfigRegistry::Instance()};
    CaptureShapes shapes_{logic_};
    HWND toolbar_ = nullptr;
};

// The selection's pixels of the frozen screen with the shapes drawn as committed.
std::unique_ptr<DibCanvas> ExpectedPicture(CShapeLogic& logic) {
    const int w = kArea.right - kArea.left, h = kArea.bottom - kArea.top;
    auto canvas = std::make_unique<DibCanvas>();
    WindowDc screen(nullptr);
    if (!canvas->Create(screen.Get(), w, h)) return nullptr;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) canvas->Bits()[static_cast<size_t>(y) * w + x] = PatternAt(kArea.left + x, kArea.top + y);
    }
    GdiplusShapePainter painter(canvas->Dc(), RECT{0, 0, w, h}, POINT{-kArea.left, -kArea.top}, false);
    logic.Draw(painter);
    GdiFlush();
    return canvas;
}

int WrongPixels(Gdiplus::Bitmap& picture, const DibCanvas& expected) {
    const int w = expected.Width();
    return ::WrongPixels(picture, w, expected.Height(),
                       [&](int x, int y) { return expected.Bits()[static_cast<size_t>(y) * w + x] & 0xFFFFFF; });
}

}  // namespace

TEST_F(ShapeCapture, DrawnShapesShowWhileDrawnAndAfter) {
    ClickButton(Btn::kRectangle);
    // While the button is down the growing rectangle is already on screen, handles included.
    MoveTo(700, 150);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(80);
    MoveTo(760, 210);
    ASSERT_TRUE(WaitFor([this] { return OnScreen(overlay_, 699, 170) == kBlue; }));
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(150);
    // A 2-pixel outline on its edge, nothing inside; the selected shape's corner handle (side 5).
    EXPECT_EQ(Frame(699, 170), kBlue);
    EXPECT_EQ(Frame(700, 170), kBlue);
    EXPECT_EQ(Frame(697, 170), PatternAt(697, 170));
    EXPECT_EQ(Frame(702, 170), PatternAt(702, 170));
    EXPECT_EQ(Frame(730, 170), PatternAt(730, 170));
    EXPECT_EQ(Frame(702, 152), kBlue);

    ClickButton(Btn::kEllipse);
    Drag(850, 150, 1000, 250);
    // The ellipse's leftmost point, anti-aliased, and its empty middle.
    ASSERT_TRUE(WaitFor([this] { return (Frame(850, 200) & 0xFF) > 0xC0; }));
    EXPECT_EQ(Frame(925, 200), PatternAt(925, 200));
    EXPECT_EQ(logic_.Shapes().size(), 2u);
    EXPECT_EQ(logic_.ShapeSummary(), L"rectangle=1;ellipse=1;");
}

TEST_F(ShapeCapture, APickedShapeMovesAndTheOldPlaceIsRepainted) {
    DrawRectangle();
    // The ellipse tool is active, yet a press on the rectangle's outline picks and moves it.
    ClickButton(Btn::kEllipse);
    Drag(730, 150, 760, 180);
    ASSERT_TRUE(WaitFor([this] { return OnScreen(overlay_, 729, 200) == kBlue; }));
    EXPECT_EQ(OnScreen(overlay_, 699, 200), PatternAt(699, 200));
    EXPECT_EQ(Frame(699, 200), PatternAt(699, 200));
    EXPECT_EQ(logic_.Shapes().size(), 1u);
    EXPECT_EQ(shapes_.ActiveTool(), Btn::kRectangle);  // the toolbar shows the picked shape's tool
}

TEST_F(ShapeCapture, DeleteRemovesTheSelectedShapeOnly) {
    DrawRectangle();
    ClickButton(Btn::kEllipse);
    Drag(850, 150, 1000, 250);
    ASSERT_EQ(logic_.Shapes().size(), 2u);
    ClickButton(Btn::kDelete);
    ASSERT_TRUE(WaitFor([this] { return logic_.Shapes().size() == 1u; }));
    EXPECT_EQ(Frame(699, 200), kBlue);
    EXPECT_EQ(Frame(850, 200), PatternAt(850, 200));
    // Nothing is selected now: the delete button is disabled and a click on it changes nothing.
    ClickButton(Btn::kDelete);
    EXPECT_EQ(logic_.Shapes().size(), 1u);
}

TEST_F(ShapeCapture, TheOverlayShowsASelectedShapeAsThePictureHoldsIt) {
    // A text being typed is the selected shape; its smoothed glyphs show any second blending.
    ClickButton(Btn::kText);
    ClickAt(700, 200);
    HWND host = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (host = FindWindowW(L"WindowClassB", nullptr)) != nullptr; }));
    for (wchar_t c : std::wstring(L"WWW")) SendMessageW(GetWindow(host, GW_CHILD), WM_CHAR, c, 0);
    // The first glyphs, inside the box's frame and left of the caret.
    const RECT glyphs{705, 203, 740, 228};
    std::vector<uint32_t> shown;
    Frame(0, 0);
    for (int y = glyphs.top; y < glyphs.bottom; ++y) {
        for (int x = glyphs.left; x < glyphs.right; ++x) shown.push_back(Pixel(x, y));
    }
    ClickButton(Btn::kSave);
    ASSERT_TRUE(WaitForEnd());
    WIN32_FIND_DATAW entry;
    UniqueFindHandle find(FindFirstFileW(folder_.File(L"pictures\\*.png").c_str(), &entry));
    ASSERT_TRUE(find);
    Gdiplus::Bitmap picture(folder_.File(L"pictures\\" + std::wstring(entry.cFileName)).c_str());
    int differing = 0, drawn = 0;
    for (int y = glyphs.top, i = 0; y < glyphs.bottom; ++y) {
        for (int x = glyphs.left; x < glyphs.right; ++x, ++i) {
            Gdiplus::Color c;
            picture.GetPixel(x - kArea.left, y - kArea.top, &c);
            differing += (c.GetValue() & 0xFFFFFF) != shown[i];
            drawn += shown[i] != PatternAt(x, y);
        }
    }
    EXPECT_GT(drawn, 30);
    EXPECT_EQ(differing, 0);
}

class ShapeFinishing : public ShapeCapture, public testing::WithParamInterface<Btn> {};

TEST_P(ShapeFinishing, PictureHasTheShapesWithoutHandles) {
    DrawRectangle();
    ASSERT_EQ(Frame(702, 152), kBlue);  // the selected rectangle's handle, on the overlay only
    const std::unique_ptr<DibCanvas> expected = ExpectedPicture(logic_);
    ASSERT_NE(expected, nullptr);
    ASSERT_EQ(expected->Bits()[(152 - kArea.top) * (kArea.right - kArea.left) + 702 - kArea.left] & 0xFFFFFF,
              PatternAt(702, 152));
    const Btn action = GetParam();
    ClickButton(action);
    ASSERT_TRUE(WaitForEnd());
    if (action == Btn::kClipboard) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        ASSERT_NE(bitmap, nullptr);
        Gdiplus::Bitmap picture(bitmap, nullptr);
        EXPECT_EQ(WrongPixels(picture, *expected), 0);
        CloseClipboard();
    } else {
        WIN32_FIND_DATAW entry;
        UniqueFindHandle find(FindFirstFileW(folder_.File(L"pictures\\*.png").c_str(), &entry));
        ASSERT_TRUE(find);
        Gdiplus::Bitmap picture(folder_.File(L"pictures\\" + std::wstring(entry.cFileName)).c_str());
        EXPECT_EQ(WrongPixels(picture, *expected), 0);
    }
    // The capture's end let the shapes go.
    EXPECT_TRUE(logic_.IsEmpty());
    EXPECT_EQ(logic_.ActiveTool(), 0);
}

INSTANTIATE_TEST_SUITE_P(Actions, ShapeFinishing, testing::Values(Btn::kPin, Btn::kClipboard, Btn::kSave, Btn::kOk));

TEST_F(ShapeCapture, TextBeingTypedIsCommittedIntoThePictureWithoutFrameOrCaret) {
    ClickButton(Btn::kText);
    ClickAt(700, 200);
    HWND host = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (host = FindWindowW(L"WindowClassB", nullptr)) != nullptr; }));
    const HWND edit = GetWindow(host, GW_CHILD);
    for (wchar_t c : std::wstring(L"WWW 你好")) SendMessageW(edit, WM_CHAR, c, 0);
    ClickButton(Btn::kSave);  // still typing: the text is committed first
    ASSERT_TRUE(WaitForEnd());
    EXPECT_FALSE(IsWindow(host));
    WIN32_FIND_DATAW entry;
    UniqueFindHandle find(FindFirstFileW(folder_.File(L"pictures\\*.png").c_str(), &entry));
    ASSERT_TRUE(find);
    Gdiplus::Bitmap picture(folder_.File(L"pictures\\" + std::wstring(entry.cFileName)).c_str());
    Gdiplus::Color c;
    int glyphs = 0;
    for (int y = 100; y < 140; ++y) {
        for (int x = 100; x < 200; ++x) glyphs += picture.GetPixel(x, y, &c) == Gdiplus::Ok && (c.GetValue() & 0xFFFFFF) == kBlue;
    }
    EXPECT_GT(glyphs, 30);
    picture.GetPixel(100, 110, &c);  // where the frame was, on the box's left edge
    EXPECT_EQ(c.GetValue() & 0xFFFFFF, PatternAt(700, 210));
}
