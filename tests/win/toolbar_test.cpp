// The capture toolbar built from the program's skin and clicked by real input: which values reach
// the button callback, which tool stays active, and the messages it handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/app_messages.h"
#include "annotation/shape_config.h"
#include "toolbar/rectangular_selector_tool_bar.h"
#include "toolbar/toolbar_button_names.h"
#include "real_input.h"
#include "toolkit_test_window.h"
#include "toolbar_geometry.h"

using namespace DuiLib;
using Btn = TOOL_BAR_BTN_TYPE;

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

constexpr DWORD kToolbarStyle = 0x10CE0000;

// Dispatches for ms milliseconds; true when a WM_QUIT with exit code 0 came by.
bool PumpSawQuit(DWORD ms) {
    bool quit = false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT && msg.wParam == 0) quit = true;
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return quit;
}

// A toolbar window on this thread at (100, 100), recording every value its callback receives.
class Toolbar : public testing::Test {
protected:
    void SetUp() override {
        toolbar_.SetButtonCallback([this](Btn value) { values_.push_back(value); });
        ASSERT_NE(toolbar_.Create(nullptr, L"rectangular_selector_tool_bar", kToolbarStyle, WS_EX_TOPMOST), nullptr);
        SetWindowPos(toolbar_.GetHWND(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        PumpSawQuit(200);
    }
    void TearDown() override { toolbar_.Dismiss(); }

    CControlUI* Find(const wchar_t* name) { return toolbar_.GetPaintManager()->FindControl(name); }
    bool Selected(Btn value) {
        auto* option = static_cast<COptionUI*>(Find(ToolbarButtonName(value).c_str())->GetInterface(L"Option"));
        return option && option->IsSelected();
    }
    // A real click (pointer moved there, button pressed and released) on the button.
    void Click(Btn value) {
        POINT at = ToolbarButtonCenter(value);
        ClientToScreen(toolbar_.GetHWND(), &at);
        SetCursorPos(at.x, at.y);
        Mouse(MOUSEEVENTF_MOVE);
        PumpSawQuit(40);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        PumpSawQuit(40);
        Mouse(MOUSEEVENTF_LEFTUP);
        PumpSawQuit(100);
    }

    CRectangularSelectorToolBar toolbar_;
    std::vector<Btn> values_;
};

}  // namespace

TEST_F(Toolbar, WindowAndButtonsAreWhereTheLayoutPutsThem) {
    wchar_t name[64] = {0};
    GetClassNameW(toolbar_.GetHWND(), name, 64);
    EXPECT_STREQ(name, L"RectangularSelectorToolBar");
    RECT window;
    GetWindowRect(toolbar_.GetHWND(), &window);
    EXPECT_EQ(window.right - window.left, 592);
    EXPECT_EQ(window.bottom - window.top, 84);
    for (int value = 1; value <= 13; ++value) {
        CControlUI* button = Find(ToolbarButtonName(static_cast<Btn>(value)).c_str());
        ASSERT_NE(button, nullptr) << value;
        const RECT pos = button->GetPos();
        const POINT center = ToolbarButtonCenter(static_cast<Btn>(value));
        EXPECT_EQ(pos.left + 10, center.x) << value;
        EXPECT_EQ(pos.top + 10, center.y) << value;
    }
    EXPECT_FALSE(Find(L"undo_btn")->IsEnabled());
    EXPECT_FALSE(Find(L"attribute_bar")->IsVisible());
    EXPECT_FALSE(Find(L"triangle")->IsVisible());
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kNone);
}

TEST_F(Toolbar, EveryButtonReportsItsValueLeftToRight) {
    toolbar_.PostMessage(WM_TOOLBAR_SHAPE_SELECTED, 1);  // undo only takes clicks when enabled
    PumpSawQuit(50);
    std::vector<Btn> expected;
    for (int value = 1; value <= 13; ++value) {
        Click(static_cast<Btn>(value));
        expected.push_back(static_cast<Btn>(value));
        ASSERT_EQ(values_, expected) << "after clicking " << value;
        // A tool stays active; an action leaves none; undo changes nothing.
        const Btn tool = value <= 7 ? static_cast<Btn>(value) : Btn::kNone;
        EXPECT_EQ(toolbar_.CurrentTool(), tool) << value;
    }
}

TEST_F(Toolbar, SecondClickOnTheActiveToolDeselectsIt) {
    Click(Btn::kRectangle);
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kRectangle);
    EXPECT_TRUE(Selected(Btn::kRectangle));
    Click(Btn::kRectangle);
    EXPECT_EQ(values_, (std::vector<Btn>{Btn::kRectangle, Btn::kRectangle}));
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kNone);
    EXPECT_FALSE(Selected(Btn::kRectangle));
    EXPECT_FALSE(Find(L"attribute_bar")->IsVisible());
    EXPECT_FALSE(Find(L"triangle")->IsVisible());
    // Another tool after it, then an action: no tool is left.
    Click(Btn::kMosaic);
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kMosaic);
    Click(Btn::kSave);
    EXPECT_EQ(values_.back(), Btn::kSave);
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kNone);
    EXPECT_FALSE(Selected(Btn::kMosaic));
}

TEST_F(Toolbar, DisabledUndoTakesNoClick) {
    Click(Btn::kArrow);
    Click(Btn::kDelete);
    EXPECT_EQ(values_, (std::vector<Btn>{Btn::kArrow}));
    toolbar_.PostMessage(WM_TOOLBAR_SHAPE_SELECTED, 1);
    PumpSawQuit(50);
    Click(Btn::kDelete);
    EXPECT_EQ(values_, (std::vector<Btn>{Btn::kArrow, Btn::kDelete}));
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kArrow);  // undo leaves the tool alone
    EXPECT_TRUE(Selected(Btn::kArrow));
}

TEST_F(Toolbar, ShapeSelectedTogglesUndo) {
    for (WPARAM selected : {WPARAM{1}, WPARAM{0}, WPARAM{7}, WPARAM{0}}) {
        toolbar_.PostMessage(WM_TOOLBAR_SHAPE_SELECTED, selected);
        PumpSawQuit(30);
        EXPECT_EQ(Find(L"undo_btn")->IsEnabled(), selected != 0) << selected;
    }
}

TEST_F(Toolbar, SelectToolShowsItWithoutTheCallback) {
    toolbar_.PostMessage(WM_TOOLBAR_SELECT_TOOL, static_cast<WPARAM>(Btn::kText));
    PumpSawQuit(50);
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kText);
    EXPECT_TRUE(Selected(Btn::kText));
    EXPECT_TRUE(values_.empty());
    // A click on that tool is then a second click: it deselects.
    Click(Btn::kText);
    EXPECT_EQ(toolbar_.CurrentTool(), Btn::kNone);
    EXPECT_FALSE(Selected(Btn::kText));
    // A value without a button finds nothing to select.
    toolbar_.PostMessage(WM_TOOLBAR_SELECT_TOOL, 42);
    PumpSawQuit(50);
    for (int value = 1; value <= 13; ++value) {
        if (value == static_cast<int>(Btn::kDelete)) continue;  // a plain button
        EXPECT_FALSE(Selected(static_cast<Btn>(value))) << value;
    }
}

TEST_F(Toolbar, EscapeAndDestroyEndTheLoopOtherKeysDoNot) {
    toolbar_.PostMessage(WM_KEYDOWN, 'A');
    EXPECT_FALSE(PumpSawQuit(50));
    toolbar_.PostMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(PumpSawQuit(50));
    DestroyWindow(toolbar_.GetHWND());
    EXPECT_TRUE(PumpSawQuit(50));
}

TEST(ToolbarDismiss, DismissDoesNotEndTheLoop) {
    CRectangularSelectorToolBar toolbar;
    ASSERT_NE(toolbar.Create(nullptr, L"rectangular_selector_tool_bar", kToolbarStyle, 0), nullptr);
    PumpSawQuit(50);
    toolbar.Dismiss();
    EXPECT_FALSE(IsWindow(toolbar.GetHWND()));
    EXPECT_FALSE(PumpSawQuit(50));
}

namespace {

// The toolbar given the process-wide registry's looks (reset around each test).
class AttributeBar : public Toolbar {
protected:
    void SetUp() override {
        ResetRegistry();
        Toolbar::SetUp();
        toolbar_.SetLooks(ShapeConfigRegistry::Instance(), [this] { ++configChanges_; });
    }
    void TearDown() override {
        Toolbar::TearDown();
        ResetRegistry();
    }
    static void ResetRegistry() {
        ShapeConfigRegistry& registry = ShapeConfigRegistry::Instance();
        registry.Get<RectangleConfig>() = RectangleConfig();
        registry.Get<EllipseConfig>() = EllipseConfig();
        registry.Get<TextConfig>() = TextConfig();
    }
    CComboUI* Combo(const wchar_t* page, const wchar_t* name) {
        CControlUI* control = static_cast<CContainerUI*>(Find(page)->GetInterface(L"Container"))->FindSubControl(name);
        return static_cast<CComboUI*>(control->GetInterface(L"Combo"));
    }
    COptionUI* Colour(const wchar_t* page, int n) {
        const std::wstring name = L"normal_clr_" + std::to_wstring(n);
        CControlUI* control = static_cast<CContainerUI*>(Find(page)->GetInterface(L"Container"))->FindSubControl(name.c_str());
        return static_cast<COptionUI*>(control->GetInterface(L"Option"));
    }
    // The bar's width and whether the pointer stands under the button of value.
    void ExpectBar(int width, Btn value) {
        EXPECT_TRUE(Find(L"attribute_bar")->IsVisible());
        EXPECT_EQ(Find(L"attribute_bar")->GetFixedWidth(), width);
        EXPECT_TRUE(Find(L"triangle")->IsVisible());
        EXPECT_EQ(Find(L"triangle")->GetPos().left, Find(ToolbarButtonName(value).c_str())->GetPos().left);
    }

    int configChanges_ = 0;
};

}  // namespace

TEST_F(AttributeBar, FollowsTheChosenTool) {
    const wchar_t* normal = L"normal_attribute_page";
    Click(Btn::kArrow);  // opened on the arrow: narrow, without the line style
    ExpectBar(400, Btn::kArrow);
    EXPECT_EQ(Find(normal)->GetFixedWidth(), 390);
    EXPECT_FALSE(Find(L"line_style_combo")->IsVisible());
    Click(Btn::kLine);
    ExpectBar(535, Btn::kLine);
    EXPECT_EQ(Find(normal)->GetFixedWidth(), 525);
    EXPECT_TRUE(Find(L"line_style_combo")->IsVisible());
    Click(Btn::kText);
    ExpectBar(358, Btn::kText);
    EXPECT_FALSE(Find(normal)->IsVisible());
    EXPECT_TRUE(Find(L"text_attribute_page")->IsVisible());
    Click(Btn::kMosaic);  // no attributes
    EXPECT_FALSE(Find(L"attribute_bar")->IsVisible());
    EXPECT_FALSE(Find(L"triangle")->IsVisible());
    Click(Btn::kRectangle);
    Click(Btn::kRectangle);  // the same tool again closes it
    EXPECT_FALSE(Find(L"attribute_bar")->IsVisible());
}

TEST_F(AttributeBar, APickedShapeLoadsItsLookAndChoicesWriteItBack) {
    const wchar_t* normal = L"normal_attribute_page";
    RectangleConfig& rectangle = ShapeConfigRegistry::Instance().Get<RectangleConfig>();
    rectangle.lineWidth = 4.7f;
    rectangle.lineStyle = 3;
    rectangle.color = 0xFFFF3141;  // the seventh colour
    Click(Btn::kEllipse);
    toolbar_.PostMessage(WM_TOOLBAR_SELECT_TOOL, static_cast<WPARAM>(Btn::kRectangle));
    PumpSawQuit(50);
    EXPECT_EQ(values_, std::vector<Btn>{Btn::kEllipse});  // showing a picked tool calls nothing back
    ExpectBar(535, Btn::kRectangle);
    EXPECT_EQ(Combo(normal, L"line_width_combo")->GetCurSel(), 3);
    EXPECT_STREQ(Combo(normal, L"line_width_combo")->GetBkImage(), L"toolbar_wnd/line_width_4.png");
    EXPECT_EQ(Combo(normal, L"line_style_combo")->GetCurSel(), 2);
    EXPECT_TRUE(Colour(normal, 7)->IsSelected());
    EXPECT_EQ(configChanges_, 0);  // loading writes nothing back

    // A real click on the third colour, then the first width entry chosen.
    const RECT third = Colour(normal, 3)->GetPos();
    POINT at{(third.left + third.right) / 2, (third.top + third.bottom) / 2};
    ClientToScreen(toolbar_.GetHWND(), &at);
    ClickAt(at.x, at.y);
    PumpSawQuit(100);
    EXPECT_EQ(rectangle.color, 0xFF00A870u);
    Combo(normal, L"line_width_combo")->SelectItem(0);
    EXPECT_EQ(rectangle.lineWidth, 1.0f);
    EXPECT_STREQ(Combo(normal, L"line_width_combo")->GetBkImage(), L"toolbar_wnd/line_width_1.png");
    EXPECT_EQ(configChanges_, 2);
    EXPECT_EQ(ShapeConfigRegistry::Instance().Get<EllipseConfig>().color, 0xFF009BFFu);

    // The text page: its size follows the configuration and writes back.
    ShapeConfigRegistry::Instance().Get<TextConfig>().fontSize = 20;
    toolbar_.PostMessage(WM_TOOLBAR_SELECT_TOOL, static_cast<WPARAM>(Btn::kText));
    PumpSawQuit(50);
    CComboUI* sizes = Combo(L"text_attribute_page", L"font_size_combo");
    EXPECT_EQ(sizes->GetText().Str(), L"20");
    sizes->SelectItem(0);
    EXPECT_EQ(ShapeConfigRegistry::Instance().Get<TextConfig>().fontSize, 8);
}
