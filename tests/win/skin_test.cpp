// The program's skin, as embedded in the program's resources: every layout builds through the
// toolkit at its size with the controls its window's code looks up, and every image a layout
// names is in the archive and decodes.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui_toolkit/skin_loader.h"
#include "toolkit_test_window.h"
#include "base/utf8_codec.h"
#include "ui_toolkit/xml_document.h"

using namespace DuiLib;

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

const char* const kLayouts[] = {"main_wnd.xml",  "floating_wnd.xml", "set_wnd.xml",
                                "toast.xml",     "about_wnd.xml",    "feedback_wnd.xml",
                                "show_picture.xml", "rectangular_selector_tool_bar.xml"};

struct Expected {
    const wchar_t* name;
    int width;
    int height;
};

// A window built from a layout of the skin; destroyed (and so deleted) at scope end.
class Built {
public:
    explicit Built(const wchar_t* layout) : window_(new TestWindow(layout, &deleted_)) {
        hwnd_ = window_->CreateAt(50, 50);
    }
    ~Built() {
        if (!deleted_) DestroyWindow(hwnd_);
    }
    Built(const Built&) = delete;
    Built& operator=(const Built&) = delete;
    TestWindow* operator->() { return window_; }
    HWND hwnd() const { return hwnd_; }
    SIZE WindowSize() const {
        RECT rc;
        GetWindowRect(hwnd_, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // Shows the named controls and lays the window out again.
    void Show(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) {
            if (CControlUI* control = window_->Find(name)) control->SetVisible(true);
        }
        window_->GetPaintManager()->Paint(nullptr);
    }

private:
    bool deleted_ = false;
    TestWindow* window_;
    HWND hwnd_ = nullptr;
};

// Laid out only when it and every container above it are visible.
bool IsShown(CControlUI* control) {
    for (; control; control = control->GetParent()) {
        if (!control->IsVisible()) return false;
    }
    return true;
}

void ExpectControls(Built& window, const std::vector<Expected>& controls) {
    for (const Expected& e : controls) {
        CControlUI* control = window->Find(e.name);
        ASSERT_NE(control, nullptr) << "missing control " << testing::PrintToString(std::wstring(e.name));
        // Shown controls are measured where they were laid out; hidden ones by their fixed size.
        const RECT pos = control->GetPos();
        const int width = IsShown(control) ? pos.right - pos.left : control->GetFixedWidth();
        const int height = IsShown(control) ? pos.bottom - pos.top : control->GetFixedHeight();
        EXPECT_EQ(width, e.width) << testing::PrintToString(std::wstring(e.name));
        EXPECT_EQ(height, e.height) << testing::PrintToString(std::wstring(e.name));
    }
}

const std::set<std::string> kImageAttributes = {"bkimage", "normalimage", "hotimage", "pushedimage",
                                                "selectedimage", "selectedhotimage", "disabledimage",
                                                "stateimage", "selectedstateimage"};

void CollectImages(const XmlElement& element, std::set<std::wstring>& images) {
    for (const XmlAttribute& attribute : element.attributes) {
        if (kImageAttributes.count(attribute.name)) {
            images.insert(ParseImageDescriptor(Utf8ToUtf16(attribute.value)).file);
        }
        if (element.name == "Style" && attribute.name == "value") {
            for (const auto& [key, value] : ParseAttributeList(Utf8ToUtf16(attribute.value))) {
                if (kImageAttributes.count(std::string(key.begin(), key.end()))) {
                    images.insert(ParseImageDescriptor(value).file);
                }
            }
        }
    }
    for (const auto& child : element.children) CollectImages(*child, images);
}

}  // namespace

TEST(Skin, EveryImageALayoutNamesIsInTheArchiveAndDecodes) {
    std::set<std::wstring> images;
    for (const char* layout : kLayouts) {
        std::vector<uint8_t> bytes;
        const std::wstring name(layout, layout + strlen(layout));
        ASSERT_TRUE(CPaintManagerUI::LoadResourceFile(name.c_str(), bytes)) << layout;
        XmlParseResult parsed = ParseXml(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        ASSERT_TRUE(parsed.root) << layout << ": " << parsed.error;
        CollectImages(*parsed.root, images);
    }
    EXPECT_GT(images.size(), 140u);
    CPaintManagerUI manager;
    for (const std::wstring& image : images) {
        std::shared_ptr<const UiImage> decoded = manager.GetImage(image.c_str());
        ASSERT_NE(decoded, nullptr) << "missing or undecodable: " << testing::PrintToString(image);
        EXPECT_GT(decoded->width, 0);
    }
}

TEST(Skin, MainWindow) {
    Built window(L"main_wnd.xml");
    EXPECT_EQ(window.WindowSize().cx, 605);
    EXPECT_EQ(window.WindowSize().cy, 127);
    ExpectControls(window, {{L"rectangular_btn", 130, 70}, {L"open_dir_btn", 130, 70}, {L"set_btn", 65, 65},
                            {L"feedback_btn", 65, 65}, {L"about_btn", 65, 65}, {L"to_tray_btn", 24, 24},
                            {L"full_screen_btn", 0, 0}, {L"to_edge_btn", 0, 0}});
    EXPECT_FALSE(window->Find(L"full_screen_btn")->IsVisible());
    // The visible buttons are found, not their invisible namesakes.
    EXPECT_TRUE(window->Find(L"feedback_btn")->IsVisible());
    EXPECT_TRUE(window->Find(L"to_tray_btn")->IsVisible());
    EXPECT_TRUE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(Skin, FloatingBall) {
    Built window(L"floating_wnd.xml");
    EXPECT_EQ(window.WindowSize().cx, 36);
    EXPECT_EQ(window.WindowSize().cy, 36);
    ExpectControls(window, {{L"background", 36, 36}});
    EXPECT_STREQ(window->Find(L"background")->GetBkImage(), L"floating_wnd/1.png");
    EXPECT_STREQ(window->Find(L"background")->GetToolTip(),
                 L"\x53CC\x51FB\x622A\x5C4F<n>\x53F3\x952E\x66F4\x591A\x64CD\x4F5C");
}

TEST(Skin, SettingsWindow) {
    Built window(L"set_wnd.xml");
    EXPECT_EQ(window.WindowSize().cx, 500);
    EXPECT_EQ(window.WindowSize().cy, 500);
    ExpectControls(window, {{L"closebtn", 24, 24}, {L"label_save_path", 193, 27}, {L"change_btn", 48, 20},
                            {L"ok_btn", 64, 24}, {L"cancel_btn", 64, 24}, {L"base_set_btn", 92, 30},
                            {L"pic_format_bmp", 51, 48}, {L"pic_format_png", 50, 48}});
    for (const wchar_t* name : {L"hide_main_wnd_when_capture", L"not_hide_main_wnd_when_capture"}) {
        auto* option = static_cast<COptionUI*>(window->Find(name)->GetInterface(L"Option"));
        ASSERT_NE(option, nullptr);
        EXPECT_STREQ(option->GetGroup(), L"hide_main_wnd");
        const RECT pos = option->GetPos();
        EXPECT_GT(pos.right - pos.left, 24) << "width from the text plus the radio image";
    }
    EXPECT_STREQ(static_cast<COptionUI*>(window->Find(L"pic_format_png"))->GetGroup(), L"pic_format_radio");
    EXPECT_FALSE(window->Find(L"label_save_path")->IsEnabled());
    // OK and cancel sit at the bottom right of the window.
    EXPECT_EQ(window->Find(L"ok_btn")->GetPos().right, 116 + 234 + 138);
    EXPECT_EQ(window->Find(L"ok_btn")->GetPos().top, 32 + 12 + 96 + 12 + 73 + 230);
}

TEST(Skin, Toast) {
    Built window(L"toast.xml");
    EXPECT_EQ(window.WindowSize().cx, 201);
    EXPECT_EQ(window.WindowSize().cy, 60);
    ExpectControls(window, {{L"toast_label", 201, 60}});
    EXPECT_STREQ(window->Find(L"toast_label")->GetText(), L"\x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93\xFF01");
}

TEST(Skin, AboutWindow) {
    Built window(L"about_wnd.xml");
    EXPECT_EQ(window.WindowSize().cx, 400);
    EXPECT_EQ(window.WindowSize().cy, 250);
    ExpectControls(window, {{L"closebtn", 24, 24}});
    for (const wchar_t* name : {L"version_label", L"home_url_btn", L"last_update"}) {
        EXPECT_NE(window->Find(name), nullptr) << testing::PrintToString(std::wstring(name));
    }
    EXPECT_STREQ(window->Find(L"version_label")->GetText(), L"1.1.1.1");
    EXPECT_STREQ(window->Find(L"home_url_btn")->GetCursorName(), L"hand");
}

TEST(Skin, FeedbackWindow) {
    Built window(L"feedback_wnd.xml");
    EXPECT_EQ(window.WindowSize().cx, 500);
    EXPECT_EQ(window.WindowSize().cy, 320);
    ExpectControls(window, {{L"closebtn", 24, 24}, {L"feedback_btn", 72, 24}, {L"feedback_edit", 460, 178},
                            {L"input_count_label", 64, 22}});
    EXPECT_EQ(window->Find(L"cancel_btn"), nullptr);
    auto* edit = static_cast<CRichEditUI*>(window->Find(L"feedback_edit")->GetInterface(L"RichEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetMaxChar(), 200u);
    EXPECT_STREQ(edit->GetPromptText(), L"\x5728\x6B64\x8F93\x5165");
    // The count label floats over the bottom right corner of the text box, wide enough for
    // "200/200", its right edge 12 pixels inside the box.
    const RECT box = edit->GetPos();
    const RECT count = window->Find(L"input_count_label")->GetPos();
    EXPECT_EQ(count.left - box.left, 384);
    EXPECT_EQ(count.right - box.left, 448);
    EXPECT_EQ(count.top - box.top, 144);
}

TEST(Skin, PinnedPictureHint) {
    Built window(L"show_picture.xml");
    for (const wchar_t* name : {L"pic_label", L"label_layout", L"static_hint"}) {
        EXPECT_NE(window->Find(name), nullptr);
    }
    CControlUI* hint = window->Find(L"static_hint");
    EXPECT_EQ(hint->GetFixedWidth(), 200);
    EXPECT_EQ(hint->GetFixedHeight(), 40);
    EXPECT_FALSE(hint->IsEnabled());
    EXPECT_FALSE(hint->IsMouseEnabled());
    EXPECT_TRUE(window->Find(L"pic_label")->IsMouseEnabled());
}

TEST(Skin, CaptureToolbarWithItsAttributePages) {
    Built window(L"rectangular_selector_tool_bar.xml");
    EXPECT_EQ(window.WindowSize().cx, 592);
    EXPECT_EQ(window.WindowSize().cy, 84);
    std::vector<Expected> buttons;
    for (const wchar_t* name : {L"rectangle_btn", L"circle_btn", L"arrow_btn", L"line_btn", L"pencil_btn",
                                L"mosaic_btn", L"text_btn", L"pic_show_top_btn", L"clipboard_btn", L"undo_btn",
                                L"save_btn", L"cancel_btn", L"ok_btn", L"light_pen_btn"}) {
        buttons.push_back({name, 20, 20});
    }
    ExpectControls(window, buttons);
    // Left to right in the order of their values, all inside the window.
    int previous = 0;
    for (const Expected& b : buttons) {
        if (std::wstring(b.name) == L"light_pen_btn") continue;
        const RECT pos = window->Find(b.name)->GetPos();
        EXPECT_GT(pos.left, previous) << testing::PrintToString(std::wstring(b.name));
        EXPECT_LE(pos.right, 592 - 5);
        previous = pos.left;
    }
    EXPECT_FALSE(window->Find(L"undo_btn")->IsEnabled());
    EXPECT_FALSE(window->Find(L"light_pen_btn")->IsVisible());
    EXPECT_STREQ(static_cast<COptionUI*>(window->Find(L"ok_btn"))->GetGroup(), L"toolbar_btn");
    EXPECT_EQ(window->Find(L"undo_btn")->GetInterface(L"Option"), nullptr);
    ExpectControls(window, {{L"triangle", 16, 8}, {L"toolbar_left", 5, 36}, {L"toolbar_right", 5, 36}});

    window.Show({L"triangle", L"attribute_bar", L"normal_attribute_page"});
    ExpectControls(window, {{L"normal_attribute_page", 525, 36}, {L"line_width_combo", 111, 20},
                            {L"line_style_combo", 111, 20}, {L"line_style_vertical_line", 1, 18}});
    auto* page = static_cast<CContainerUI*>(window->Find(L"normal_attribute_page"));
    for (int n = 1; n <= 10; ++n) {
        const std::wstring name = L"normal_clr_" + std::to_wstring(n);
        CControlUI* swatch = page->FindSubControl(name.c_str());
        ASSERT_NE(swatch, nullptr);
        const RECT pos = swatch->GetPos();
        EXPECT_EQ(pos.right - pos.left, 16);
        EXPECT_NE(swatch->GetCustomAttribute(L"clr_value"), nullptr);
    }
    EXPECT_STREQ(page->FindSubControl(L"normal_clr_3")->GetCustomAttribute(L"clr_value"), L"#FF00A870");
    auto* widths = static_cast<CComboUI*>(window->Find(L"line_width_combo")->GetInterface(L"Combo"));
    EXPECT_EQ(widths->GetCount(), 5);
    EXPECT_EQ(widths->GetCurSel(), 1);

    window->Find(L"normal_attribute_page")->SetVisible(false);
    window.Show({L"text_attribute_page"});
    ExpectControls(window, {{L"text_attribute_page", 348, 36}, {L"font_size_combo", 70, 24}});
    auto* sizes = static_cast<CComboUI*>(window->Find(L"font_size_combo")->GetInterface(L"Combo"));
    EXPECT_EQ(sizes->GetCount(), 19);
    EXPECT_STREQ(sizes->GetText(), L"14");
    auto* fonts = static_cast<CComboUI*>(window->Find(L"font_name_combo")->GetInterface(L"Combo"));
    EXPECT_FALSE(fonts->IsVisible());
    EXPECT_EQ(fonts->GetCount(), 2);
    // The text page has its own colour row with the same names.
    auto* textPage = static_cast<CContainerUI*>(window->Find(L"text_attribute_page"));
    EXPECT_NE(textPage->FindSubControl(L"normal_clr_1"), page->FindSubControl(L"normal_clr_1"));
}

TEST(Skin, CountLabelStaysVisibleOverTheFeedbackBox) {
    Built window(L"feedback_wnd.xml");
    window->GetPaintManager()->Paint(nullptr);
    auto* edit = static_cast<CRichEditUI*>(window->Find(L"feedback_edit")->GetInterface(L"RichEdit"));
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    // The native text window leaves a hole where the label floats, so the label is not hidden.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(native, region), COMPLEXREGION);
    RECT label = window->Find(L"input_count_label")->GetPos();
    RECT nativeRect;
    GetWindowRect(native, &nativeRect);
    MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&nativeRect), 2);
    const POINT centre{(label.left + label.right) / 2 - nativeRect.left, (label.top + label.bottom) / 2 - nativeRect.top};
    EXPECT_FALSE(PtInRegion(region, centre.x, centre.y));
    EXPECT_TRUE(PtInRegion(region, 10, 10));
    DeleteObject(region);
}
