// The settings, about and feedback dialogs under Wine, built from the program's skin and driven
// by real clicks and typing (sending feedback: feedback_send_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/version.h"
#include "base/dib_canvas.h"
#include "base/unique_handle.h"
#include "base/utf_convert.h"
#include "capture/capture_output.h"
#include "settings/config.h"
#include "test_folder.h"
#include "toolkit_test_window.h"
#include "window_test_util.h"
#include "windows/about_wnd.h"
#include "windows/feedback_wnd.h"
#include "windows/set_wnd.h"

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

bool Selected(HWND hwnd, const wchar_t* name) {
    DuiLib::CControlUI* control = FindControlOf(hwnd, name);
    return control && static_cast<DuiLib::COptionUI*>(control->GetInterface(L"Option"))->IsSelected();
}

// The settings store over config.json beside this executable, given back as it was.
class DialogsTest : public testing::Test {
protected:
    void SetUp() override { file_ = ReadBytes(config_.GetSettingsFilePath()); }
    void TearDown() override {
        WriteBytes(config_.GetSettingsFilePath(), file_);
        config_.Load();
        for (const wchar_t* name : {L"SetWnd", L"AboutWnd", L"FeedbackWnd"}) DestroyWindow(FindWindowW(name, nullptr));
        EXPECT_TRUE(PumpUntil([] { return !FindWindowW(L"ToastWnd", nullptr); }, 10000));
    }
    HWND OpenSettings(const std::wstring& folder, const std::wstring& picked) {
        config_.SetHideMainWndWhenCapture(true);
        config_.SetPicSaveFormat(PicSaveFormat::kPng);
        config_.SetPicSavePath(folder);
        return OpenDialog(new CSetWnd([picked](HWND, std::wstring& out) {
            out = picked;
            return true;
        }));
    }

    CConfig& config_ = CConfig::Instance();
    std::string file_;
    TestFolder before_, picked_;
};

}  // namespace

TEST_F(DialogsTest, SettingsCancelKeepsThePickedFolderOutAndOkStoresItWithBmpForTheNextCapture) {
    HWND hwnd = OpenSettings(before_.Path(), picked_.Path());
    EXPECT_TRUE(Selected(hwnd, L"hide_main_wnd_when_capture") && Selected(hwnd, L"pic_format_png"));
    EXPECT_EQ(FindControlOf(hwnd, L"label_save_path")->GetToolTip().Str(), before_.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"change_btn"));
    EXPECT_EQ(FindControlOf(hwnd, L"label_save_path")->GetToolTip().Str(), picked_.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"cancel_btn") && ClosesSoon(hwnd));
    EXPECT_EQ(config_.GetPicSavePath(), before_.Path());

    hwnd = OpenSettings(before_.Path(), picked_.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"change_btn"));
    ASSERT_TRUE(ClickControl(hwnd, L"pic_format_bmp") && ClickControl(hwnd, L"not_hide_main_wnd_when_capture"));
    ASSERT_TRUE(ClickControl(hwnd, L"ok_btn") && ClosesSoon(hwnd));
    const std::string file = ReadBytes(config_.GetSettingsFilePath());
    EXPECT_NE(file.find("\"pic_save_format\": \"BMP\""), std::string::npos) << file;
    EXPECT_FALSE(config_.GetHideMainWndWhenCapture());
    uint32_t* bits = nullptr;
    UniqueBitmap capture(CreateTopDownDib(nullptr, 40, 30, &bits));
    const std::wstring saved = SavePicture(config_.GetPicSavePath(), config_.GetPicSaveFormat(), capture.Get());
    EXPECT_EQ(saved.rfind(picked_.Path(), 0), 0u);
    EXPECT_EQ(saved.substr(saved.size() - 4), L".bmp");
}

// A folder too long for its field shows its start and its last name with "..." between (the
// whole path in the tooltip), and OK stores it whole.
TEST_F(DialogsTest, SettingsShortenALongFolderInTheMiddleAndStoreItWhole) {
    const std::wstring last = L"\x622A\x56FE_screenshots_of_the_week";  // 截图_screenshots_of_the_week
    const std::wstring folder = before_.Path() + L"\\a_folder_with_a_rather_long_name\\" + last;
    HWND hwnd = OpenSettings(folder, picked_.Path());
    auto* field = static_cast<DuiLib::CLabelUI*>(FindControlOf(hwnd, L"label_save_path")->GetInterface(L"Label"));
    const std::wstring shown = field->GetText().Str();
    const size_t dots = shown.find(L"...\\");
    ASSERT_NE(dots, std::wstring::npos) << shown;
    EXPECT_EQ(shown.substr(dots + 4), last);
    EXPECT_EQ(folder.rfind(shown.substr(0, dots), 0), 0u) << shown;
    EXPECT_GE(dots, 3u) << "the drive stays: " << shown;
    const SIZE width = ToolkitWindow(hwnd)->GetPaintManager()->MeasureText(shown.c_str(), field->GetFont());
    EXPECT_LE(width.cx, field->GetFixedWidth()) << shown;
    EXPECT_EQ(field->GetToolTip().Str(), folder);
    ASSERT_TRUE(ClickControl(hwnd, L"ok_btn") && ClosesSoon(hwnd));
    EXPECT_EQ(config_.GetPicSavePath(), folder);
}

TEST_F(DialogsTest, SettingsOkThatCannotSaveSaysSoAndStaysOpenWithTheChoices) {
    HWND hwnd = OpenSettings(before_.Path(), picked_.Path());
    const std::wstring path = config_.GetSettingsFilePath();
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(ClickControl(hwnd, L"pic_format_bmp") && ClickControl(hwnd, L"ok_btn"));
    PumpFor(300);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(Selected(hwnd, L"pic_format_bmp"));
    EXPECT_EQ(ControlText(FindWindowW(L"ToastWnd", nullptr), L"toast_label"), L"\x4FDD\x5B58\x5931\x8D25");
    EXPECT_EQ(config_.GetPicSaveFormat(), PicSaveFormat::kPng);  // nothing stored that is not on disk
    DestroyWindow(hwnd);
}

TEST_F(DialogsTest, TheHotkeyFieldStopsListeningWhenTheWindowLosesTheKeyboard) {
    std::vector<bool> heard;
    SetWndHooks hooks;
    hooks.hotkeyListening = [&heard](bool listening) { heard.push_back(listening); };
    HWND hwnd = OpenDialog(new CSetWnd(BrowseForFolder, std::move(hooks)));
    const std::wstring shown = ControlText(hwnd, L"hotkey_field");
    ASSERT_TRUE(ClickControl(hwnd, L"hotkey_field"));
    EXPECT_EQ(ControlText(hwnd, L"hotkey_field"), L"请按下快捷键");
    SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(heard, (std::vector<bool>{true, false})) << "the hotkey is taken back";
    EXPECT_EQ(ControlText(hwnd, L"hotkey_field"), shown);
    DestroyWindow(hwnd);
}

// Escape cancels each dialog, from its window or from its text box; a listening hotkey field
// takes the first one for itself. Enter is the settings' OK.
TEST_F(DialogsTest, EscapeClosesEachDialogWithoutApplyingAnythingAndEnterIsOk) {
    HWND hwnd = OpenSettings(before_.Path(), picked_.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"pic_format_bmp") && ClickControl(hwnd, L"hotkey_field"));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(IsWindow(hwnd)) << "the field stops listening first";
    EXPECT_NE(ControlText(hwnd, L"hotkey_field"), L"请按下快捷键");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(ClosesSoon(hwnd));
    EXPECT_EQ(config_.GetPicSaveFormat(), PicSaveFormat::kPng);
    // Enter presses OK.
    hwnd = OpenSettings(before_.Path(), picked_.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"pic_format_bmp"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(ClosesSoon(hwnd));
    EXPECT_EQ(config_.GetPicSaveFormat(), PicSaveFormat::kBmp);
    hwnd = OpenDialog(new CAboutWnd);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(ClosesSoon(hwnd));
    hwnd = OpenDialog(new CFeedbackWnd);
    auto* edit = static_cast<DuiLib::CEditUI*>(FindControlOf(hwnd, L"feedback_edit")->GetInterface(L"Edit"));
    SetFocus(edit->GetNativeWindow());
    TypeText(L"abc");
    // Other keys stay the text box's.
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    EXPECT_EQ(ControlText(hwnd, L"feedback_edit"), L"bc");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(ClosesSoon(hwnd));
}

TEST_F(DialogsTest, AboutShowsTheVersionResourceAndTheProgramFileDate) {
    HWND hwnd = OpenDialog(new CAboutWnd);
    EXPECT_EQ(ControlText(hwnd, L"version_label"), Utf8ToWide(SCREENSHOT_VERSION_TEXT));
    // The file's date read another way: its attributes, in local file time.
    wchar_t path[MAX_PATH] = {0}, expected[16] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    FILETIME local{};
    SYSTEMTIME date{};
    ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &file) &&
                FileTimeToLocalFileTime(&file.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &date));
    swprintf(expected, 16, L"%04u-%02u-%02u", date.wYear, date.wMonth, date.wDay);
    EXPECT_EQ(ControlText(hwnd, L"last_update"), expected);
    ASSERT_TRUE(ClickControl(hwnd, L"closebtn") && ClosesSoon(hwnd));
}

TEST_F(DialogsTest, FeedbackEmptyShowsAToastAndTwoHundredOneCharactersLeaveTwoHundred) {
    HWND hwnd = OpenDialog(new CFeedbackWnd);
    EXPECT_EQ(ControlText(hwnd, L"input_count_label"), L"0/200");
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_btn"));
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    EXPECT_EQ(ControlText(toast, L"toast_label"), L"先输入内容哈");
    auto* edit = static_cast<DuiLib::CEditUI*>(FindControlOf(hwnd, L"feedback_edit")->GetInterface(L"Edit"));
    EXPECT_EQ(GetFocus(), edit->GetNativeWindow());
    TypeText(L"截图" + std::wstring(199, L'x'));
    EXPECT_TRUE(PumpUntil([&] { return ControlText(hwnd, L"input_count_label") == L"200/200"; }, 5000));
    EXPECT_EQ(ControlText(hwnd, L"feedback_edit"), L"截图" + std::wstring(198, L'x'));
    EXPECT_TRUE(IsWindow(hwnd)) << "an empty send keeps the window open";
}

TEST_F(DialogsTest, FeedbackCountFitsItsLabelAtEveryLength) {
    HWND hwnd = OpenDialog(new CFeedbackWnd);
    auto* label = static_cast<DuiLib::CLabelUI*>(FindControlOf(hwnd, L"input_count_label")->GetInterface(L"Label"));
    ASSERT_NE(label, nullptr);
    const RECT pos = label->GetPos(), padding = label->GetTextPadding();
    const int room = (pos.right - pos.left) - padding.left - padding.right;
    DuiLib::CPaintManagerUI* pm = ToolkitWindow(hwnd)->GetPaintManager();
    for (const wchar_t* count : {L"0/200", L"99/200", L"188/200", L"200/200"}) {
        EXPECT_LE(pm->MeasureText(count, label->GetFont()).cx, room) << testing::PrintToString(std::wstring(count));
    }
    DestroyWindow(hwnd);
}

TEST_F(DialogsTest, AltF4OnEachDialogQuitsTheApplicationAndIsNotPassedOn) {
    for (CModalDialog* dialog : std::initializer_list<CModalDialog*>{new CSetWnd, new CAboutWnd, new CFeedbackWnd}) {
        HWND hwnd = OpenDialog(dialog);
        EXPECT_EQ(SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
        MSG quit{};
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0);
        EXPECT_TRUE(IsWindow(hwnd)) << "the default handling would have closed it";
        DestroyWindow(hwnd);
    }
}
