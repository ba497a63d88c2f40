// A region capture with its toolbar: the toolbar beside the selection, the tools reaching the
// annotations, each finishing action's file, clipboard, result message and recorded path, and
// exactly one message to the requester however the capture ends.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app_messages.h"
#include "base/clipboard.h"
#include "capture/app_context.h"
#include "capture_fixture.h"
#include "settings/config.h"
#include "test_folder.h"
#include "toolbar_geometry.h"
#include "ui_toolkit/skin_loader.h"

using Btn = TOOL_BAR_BTN_TYPE;

namespace {

class SkinArchive : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(LoadSkinArchive(GetModuleHandleW(nullptr))); }
};
const testing::Environment* const kSkin = testing::AddGlobalTestEnvironment(new SkinArchive);

// The selection every test drags out, in screen coordinates.
constexpr RECT kSelection{700, 100, 1000, 300};

HWND FindToolbar() { return FindWindowW(L"RectangularSelectorToolBar", L"rectangular_selector_tool_bar"); }

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(folder + L"\\" + entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// Pixels of the picture that differ from the pattern under the selection; -1 for a wrong size.
int WrongPixels(Gdiplus::Bitmap& picture) {
    return ::WrongPixels(picture, kSelection.right - kSelection.left, kSelection.bottom - kSelection.top,
                       [](int x, int y) { return PatternAt(kSelection.left + x, kSelection.top + y); });
}

// The clipboard's bitmap compared with the selection; -1 when there is none or of a wrong size,
// -2 when the clipboard cannot be opened.
int WrongClipboardPixels() {
    if (!OpenClipboard(nullptr)) return -2;
    int wrong = -1;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        wrong = WrongPixels(picture);
    }
    CloseClipboard();
    return wrong;
}

// A capture whose pictures go into a fresh folder, with the selection dragged out.
class ToolbarCapture : public Capture {
protected:
    void SetUp() override {
        CConfig::Instance().SetPicSavePath(folder_.File(L"pictures"));
        CConfig::Instance().SetPicSaveFormat(PicSaveFormat::kPng);
        CAppContext::Instance().SetLastPicturePath(L"before");
        ASSERT_TRUE(PutTextOnClipboard(L"before"));
        Capture::SetUp();
        Drag(kSelection.left, kSelection.top, kSelection.right, kSelection.bottom);
        ASSERT_TRUE(WaitFor([] { return IsWindowVisible(FindToolbar()) != FALSE; }));
        toolbar_ = FindToolbar();
    }

    void ClickButton(Btn value) {
        POINT at = ToolbarButtonCenter(value);
        ClientToScreen(toolbar_, &at);
        ClickAt(at.x, at.y);
    }
    // The button pressed and released by messages posted to the toolbar, without waiting.
    void PostClick(Btn value) {
        const POINT at = ToolbarButtonCenter(value);
        PostMessageW(toolbar_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        PostMessageW(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(toolbar_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    // The one message the requester got; fails the test when it got none or more.
    MSG OnlyMessage() {
        EXPECT_EQ(received_.size(), 1u);
        return received_.empty() ? MSG{} : received_.front();
    }

    TestFolder folder_;
    HWND toolbar_ = nullptr;
};

}  // namespace

TEST_F(ToolbarCapture, ToolbarStandsBesideTheSelectionAndHidesWhileMoving) {
    EXPECT_EQ(GetWindow(toolbar_, GW_OWNER), overlay_);
    RECT window;
    GetWindowRect(toolbar_, &window);
    // Right edges aligned, 10 pixels below the selection.
    EXPECT_EQ(window.left, kSelection.right - 592);
    EXPECT_EQ(window.top, kSelection.bottom + 10);
    EXPECT_EQ(window.right - window.left, 592);
    EXPECT_EQ(window.bottom - window.top, 84);
    EXPECT_TRUE(GetWindowLongW(toolbar_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Moving the selection hides the toolbar until the release, which places it again.
    MoveTo(850, 200);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(80);
    MoveTo(900, 260);
    // The capture's thread hides and places the toolbar: wait for each, not for a time.
    EXPECT_TRUE(WaitFor([this] { return !IsWindowVisible(toolbar_); }));
    Mouse(MOUSEEVENTF_LEFTUP);
    const auto placed = [this, &window] {
        GetWindowRect(toolbar_, &window);
        return IsWindowVisible(toolbar_) && window.top != kSelection.bottom + 10;
    };
    ASSERT_TRUE(WaitFor(placed));
    EXPECT_EQ(window.left, kSelection.right + 50 - 592);
    EXPECT_EQ(window.top, kSelection.bottom + 60 + 10);
}

TEST_F(ToolbarCapture, ToolsReachTheAnnotationsAndStopMovingTheSelection) {
    ClickButton(Btn::kRectangle);
    ASSERT_TRUE(WaitFor([this] { return annotations_.ActiveTool() == Btn::kRectangle; }));
    // With a tool active a press inside does not move the selection.
    Drag(850, 200, 900, 260);
    EXPECT_EQ(selector_.load()->Model().Selection(),
              (capture::Rect{kSelection.left, kSelection.top, kSelection.right, kSelection.bottom}));
    // The press on the overlay left the toolbar on top, where the next click finds it.
    POINT ellipse = ToolbarButtonCenter(Btn::kEllipse);
    ClientToScreen(toolbar_, &ellipse);
    EXPECT_EQ(WindowFromPoint(ellipse), toolbar_);
    ClickButton(Btn::kEllipse);
    ASSERT_TRUE(WaitFor([this] { return annotations_.ActiveTool() == Btn::kEllipse; }));
    Pump(600);  // long enough for the button's tooltip to show
    ClickButton(Btn::kEllipse);  // the same tool again drops it
    ASSERT_TRUE(WaitFor([this] { return annotations_.ActiveTool() == Btn::kNone; }));
    EXPECT_TRUE(received_.empty());
    EXPECT_FALSE(finished_.load());
}

struct ActionCase {
    Btn button;
    PicSaveFormat format;
    bool saves;
    bool copies;
};

class FinishingAction : public ToolbarCapture, public testing::WithParamInterface<ActionCase> {};

TEST_P(FinishingAction, WritesCopiesRecordsAndReports) {
    const ActionCase c = GetParam();
    CConfig::Instance().SetPicSaveFormat(c.format);
    ClickButton(c.button);
    ASSERT_TRUE(WaitForEnd());
    const MSG result = OnlyMessage();
    EXPECT_EQ(result.message, WM_CAPTURE_RESULT);
    EXPECT_EQ(result.wParam, static_cast<WPARAM>(c.button == Btn::kCancel ? 0 : static_cast<int>(c.button)));
    EXPECT_EQ(result.lParam, 0);
    EXPECT_FALSE(IsWindow(toolbar_));
    EXPECT_FALSE(IsWindow(overlay_));
    const std::vector<std::wstring> files = FilesIn(folder_.File(L"pictures"));
    if (c.saves) {
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), files[0]);
        const std::wstring ext = c.format == PicSaveFormat::kPng ? L".png" : L".bmp";
        EXPECT_EQ(files[0].substr(files[0].size() - 4), ext);
        Gdiplus::Bitmap saved(files[0].c_str());
        ASSERT_EQ(saved.GetLastStatus(), Gdiplus::Ok);
        EXPECT_EQ(WrongPixels(saved), 0);
    } else {
        EXPECT_TRUE(files.empty());
        EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");
    }
    if (c.copies) {
        EXPECT_EQ(WrongClipboardPixels(), 0);
    } else {
        // The clipboard still holds the text put there before the capture.
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_NE(GetClipboardData(CF_UNICODETEXT), nullptr);
        EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
        CloseClipboard();
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, FinishingAction,
                         testing::Values(ActionCase{Btn::kPin, PicSaveFormat::kPng, true, false},
                                         ActionCase{Btn::kClipboard, PicSaveFormat::kPng, false, true},
                                         ActionCase{Btn::kSave, PicSaveFormat::kBmp, true, false},
                                         ActionCase{Btn::kCancel, PicSaveFormat::kPng, false, false},
                                         ActionCase{Btn::kOk, PicSaveFormat::kPng, true, true}));

TEST_F(ToolbarCapture, FailedOutputsAreReportedNotHidden) {
    // A folder whose parent is missing cannot be made; the clipboard is held open by this
    // thread's requester window, so the capture's thread cannot open it.
    CConfig::Instance().SetPicSavePath(folder_.File(L"no\\such"));
    ASSERT_TRUE(OpenClipboard(requester_));
    ClickButton(Btn::kOk);
    const bool ended = WaitForEnd();
    CloseClipboard();
    ASSERT_TRUE(ended);
    const MSG result = OnlyMessage();
    EXPECT_EQ(result.message, WM_CAPTURE_RESULT);
    EXPECT_EQ(result.wParam, 13u);
    EXPECT_EQ(result.lParam, kCaptureFileNotWritten | kCaptureFolderMissing | kCaptureClipboardNotSet);
    EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");
}

TEST_F(ToolbarCapture, SaveIntoAFolderThatCannotBeMadeReportsWhyAndKeepsThePictureOnTheClipboard) {
    CConfig::Instance().SetPicSavePath(folder_.File(L"no\\such"));
    ClickButton(Btn::kSave);
    ASSERT_TRUE(WaitForEnd());
    const MSG result = OnlyMessage();
    EXPECT_EQ(result.wParam, 11u);
    EXPECT_EQ(result.lParam, kCaptureFileNotWritten | kCaptureFolderMissing | kCaptureCopiedInstead);
    EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");
    EXPECT_EQ(WrongClipboardPixels(), 0);
}

// Every way a capture ends, and the one message the requester must get.
enum class Ending { kEscapeOverlay, kEscapeToolbar, kCloseOverlay, kCloseToolbar, kCancel, kSave, kTwoActions, kActionThenEscape };

class EndingCapture : public ToolbarCapture, public testing::WithParamInterface<Ending> {};

TEST_P(EndingCapture, ExactlyOneMessage) {
    UINT expected = WM_RESTORE_AFTER_CAPTURE;
    WPARAM wParam = 0;
    switch (GetParam()) {
        case Ending::kEscapeOverlay: PostMessageW(overlay_, WM_KEYDOWN, VK_ESCAPE, 0); break;
        case Ending::kEscapeToolbar: PostMessageW(toolbar_, WM_KEYDOWN, VK_ESCAPE, 0); break;
        case Ending::kCloseOverlay: PostMessageW(overlay_, WM_CLOSE, 0, 0); break;
        case Ending::kCloseToolbar: PostMessageW(toolbar_, WM_CLOSE, 0, 0); break;
        case Ending::kCancel:
            PostClick(Btn::kCancel);
            expected = WM_CAPTURE_RESULT;
            break;
        case Ending::kSave:
            PostClick(Btn::kSave);
            expected = WM_CAPTURE_RESULT;
            wParam = 11;
            break;
        case Ending::kTwoActions:  // both queued before the first is handled
            PostClick(Btn::kClipboard);
            PostClick(Btn::kSave);
            expected = WM_CAPTURE_RESULT;
            wParam = 9;
            break;
        case Ending::kActionThenEscape:
            PostClick(Btn::kCancel);
            PostMessageW(overlay_, WM_KEYDOWN, VK_ESCAPE, 0);
            expected = WM_CAPTURE_RESULT;
            break;
    }
    ASSERT_TRUE(WaitForEnd());
    Pump(100);  // anything sent late would arrive now
    const MSG only = OnlyMessage();
    EXPECT_EQ(only.message, expected);
    EXPECT_EQ(only.wParam, wParam);
}

INSTANTIATE_TEST_SUITE_P(Endings, EndingCapture,
                         testing::Values(Ending::kEscapeOverlay, Ending::kEscapeToolbar, Ending::kCloseOverlay,
                                         Ending::kCloseToolbar, Ending::kCancel, Ending::kSave, Ending::kTwoActions,
                                         Ending::kActionThenEscape));

namespace {

LRESULT CALLBACK RefuseEveryWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == WM_NCCREATE ? FALSE : DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

TEST(CaptureEnd, ACaptureWhoseOverlayCannotBeMadeSaysSo) {
    std::vector<MSG> received;
    HWND requester = CreateRecordingRequester(&received);
    // The overlay's class, registered first by a procedure that refuses every window.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    UnregisterClassW(L"ScreenCaptureWindow", instance);
    WNDCLASSEXW refusing{};
    refusing.cbSize = sizeof refusing;
    refusing.hInstance = instance;
    refusing.lpszClassName = L"ScreenCaptureWindow";
    refusing.lpfnWndProc = RefuseEveryWindow;
    ASSERT_TRUE(RegisterClassExW(&refusing));
    NoAnnotations annotations;
    bool started = false;
    RunRegionCapture(requester, annotations, ConfiguredTarget, [&](CRectangularSelector&) { started = true; });
    UnregisterClassW(L"ScreenCaptureWindow", instance);
    Pump(50);
    EXPECT_FALSE(started);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_RESTORE_AFTER_CAPTURE));
    EXPECT_EQ(received[0].wParam, 1u);  // the requester tells the user
    DestroyWindow(requester);
}

TEST(CaptureEnd, AStartThatNeverRanStillRestoresOnce) {
    std::vector<MSG> received;
    HWND requester = CreateRecordingRequester(&received);
    NoAnnotations annotations;
    {
        CRectangularSelector selector(requester, annotations, ConfiguredTarget);
        selector.End();  // as after a failed start
        selector.End();
    }
    Pump(50);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_RESTORE_AFTER_CAPTURE));
    // Without a requester nothing is posted and nothing fails.
    CRectangularSelector alone(nullptr, annotations, ConfiguredTarget);
    alone.End();
    Pump(50);
    EXPECT_EQ(received.size(), 1u);
    DestroyWindow(requester);
}
