// The settings, about and feedback dialogs under Wine, built from the program's skin and driven
// by real clicks and typing: what they show, what OK and cancel store, the feedback text's limit
// and the empty-text toast, and the system close command ending the application.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

const wchar_t* const kDialogClasses[] = {L"SetWnd", L"AboutWnd", L"FeedbackWnd"};

// Creates the dialog as the program does, minus the modal loop, and brings it to the front.
HWND Open(std::unique_ptr<CModalDialog> dialog, const wchar_t* title) {
    HWND hwnd = dialog->CreateCentred(nullptr, title);
    if (!hwnd) return nullptr;
    dialog.release();  // the window owns it now
    SetForegroundWindow(hwnd);
    PumpFor(150);
    return hwnd;
}

bool Selected(HWND hwnd, const wchar_t* name) {
    DuiLib::CControlUI* control = FindControlOf(hwnd, name);
    auto* option = control ? static_cast<DuiLib::COptionUI*>(control->GetInterface(L"Option")) : nullptr;
    return option && option->IsSelected();
}

std::wstring TextOf(HWND hwnd, const wchar_t* name) {
    DuiLib::CControlUI* control = FindControlOf(hwnd, name);
    return control ? control->GetText().Str() : L"<missing>";
}

SIZE WindowSize(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

HWND FindToast() { return FindWindowW(L"ToastWnd", nullptr); }

// Keeps the settings store and its file beside this executable as they were before a test.
class SettingsBackup {
public:
    SettingsBackup()
        : config_(CConfig::Instance()),
          hide_(config_.GetHideMainWndWhenCapture()),
          format_(config_.GetPicSaveFormat()),
          folder_(config_.GetPicSavePath()),
          fileExisted_(FileExists(config_.GetSettingsFilePath())),
          bytes_(fileExisted_ ? ReadBytes(config_.GetSettingsFilePath()) : std::string()) {}
    ~SettingsBackup() {
        config_.SetHideMainWndWhenCapture(hide_);
        config_.SetPicSaveFormat(format_);
        config_.SetPicSavePath(folder_);
        if (fileExisted_) {
            WriteBytes(config_.GetSettingsFilePath(), bytes_);
        } else {
            DeleteFileW(config_.GetSettingsFilePath().c_str());
        }
    }
    SettingsBackup(const SettingsBackup&) = delete;
    SettingsBackup& operator=(const SettingsBackup&) = delete;

private:
    CConfig& config_;
    bool hide_;
    PicSaveFormat format_;
    std::wstring folder_;
    bool fileExisted_;
    std::string bytes_;
};

class DialogsTest : public testing::Test {
protected:
    void TearDown() override {
        for (const wchar_t* name : kDialogClasses) {
            for (HWND hwnd; (hwnd = FindWindowW(name, nullptr)) != nullptr;) DestroyWindow(hwnd);
        }
        EXPECT_TRUE(PumpUntil([] { return FindToast() == nullptr; }, 10000)) << "a toast outlived its time";
    }

    // Opens the settings dialog over these settings, with a picker that answers pickedFolder.
    HWND OpenSettings(bool hide, PicSaveFormat format, const std::wstring& folder, const std::wstring& pickedFolder) {
        CConfig& config = CConfig::Instance();
        config.SetHideMainWndWhenCapture(hide);
        config.SetPicSaveFormat(format);
        config.SetPicSavePath(folder);
        auto picker = [this, pickedFolder](HWND owner, std::wstring& picked) {
            pickerOwner_ = owner;
            picked = pickedFolder;
            return true;
        };
        return Open(std::make_unique<CSetWnd>(picker), L"设置窗口");
    }

    SettingsBackup backup_;
    HWND pickerOwner_ = nullptr;
};

}  // namespace

TEST_F(DialogsTest, SettingsShowTheStoredValuesAndOkStoresBmpSoTheNextCaptureIsABmp) {
    TestFolder before;
    TestFolder picked;
    HWND hwnd = OpenSettings(true, PicSaveFormat::kPng, before.Path(), picked.Path());
    ASSERT_NE(hwnd, nullptr);
    for (const wchar_t* name : {L"closebtn", L"hide_main_wnd_when_capture", L"not_hide_main_wnd_when_capture",
                                L"pic_format_png", L"pic_format_bmp", L"label_save_path", L"change_btn", L"ok_btn",
                                L"cancel_btn"}) {
        EXPECT_NE(FindControlOf(hwnd, name), nullptr) << WideToUtf8(name);
    }
    EXPECT_EQ(WindowSize(hwnd).cx, 500);
    EXPECT_EQ(WindowSize(hwnd).cy, 500);
    EXPECT_TRUE(Selected(hwnd, L"hide_main_wnd_when_capture"));
    EXPECT_FALSE(Selected(hwnd, L"not_hide_main_wnd_when_capture"));
    EXPECT_TRUE(Selected(hwnd, L"pic_format_png"));
    EXPECT_FALSE(Selected(hwnd, L"pic_format_bmp"));
    EXPECT_EQ(TextOf(hwnd, L"label_save_path"), before.Path());

    ASSERT_TRUE(ClickControl(hwnd, L"change_btn"));
    EXPECT_EQ(pickerOwner_, hwnd) << "the picker is owned by the dialog";
    EXPECT_EQ(TextOf(hwnd, L"label_save_path"), picked.Path());
    EXPECT_EQ(FindControlOf(hwnd, L"label_save_path")->GetToolTip().Str(), picked.Path());
    ASSERT_TRUE(ClickControl(hwnd, L"pic_format_bmp"));
    ASSERT_TRUE(ClickControl(hwnd, L"not_hide_main_wnd_when_capture"));
    EXPECT_FALSE(Selected(hwnd, L"pic_format_png"));
    ASSERT_TRUE(ClickControl(hwnd, L"ok_btn"));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 5000)) << "OK closes the dialog";

    const std::string file = ReadBytes(CConfig::Instance().GetSettingsFilePath());
    EXPECT_NE(file.find("\"pic_save_format\": \"BMP\""), std::string::npos) << file;
    EXPECT_NE(file.find("\"hide_main_wnd_when_capture\": false"), std::string::npos) << file;
    EXPECT_EQ(CConfig::Instance().GetPicSavePath(), picked.Path());

    // The next capture is saved the way the capture saves it: in the stored folder and format.
    uint32_t* bits = nullptr;
    UniqueBitmap capture(CreateTopDownDib(nullptr, 40, 30, &bits));
    ASSERT_TRUE(capture);
    const std::wstring saved =
        SavePicture(CConfig::Instance().GetPicSavePath(), CConfig::Instance().GetPicSaveFormat(), capture.Get());
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(saved.substr(saved.size() - 4), L".bmp");
    EXPECT_EQ(saved.rfind(picked.Path(), 0), 0u) << "saved in the picked folder";
    EXPECT_EQ(ReadBytes(saved).substr(0, 2), "BM");
}

TEST_F(DialogsTest, SettingsCancelOrCloseAfterAPickKeepTheOldFolderAndFile) {
    TestFolder before;
    TestFolder picked;
    CConfig::Instance().Save();
    const std::string file = ReadBytes(CConfig::Instance().GetSettingsFilePath());
    for (const wchar_t* button : {L"cancel_btn", L"closebtn"}) {
        HWND hwnd = OpenSettings(false, PicSaveFormat::kBmp, before.Path(), picked.Path());
        ASSERT_NE(hwnd, nullptr);
        EXPECT_TRUE(Selected(hwnd, L"not_hide_main_wnd_when_capture"));
        EXPECT_TRUE(Selected(hwnd, L"pic_format_bmp"));
        ASSERT_TRUE(ClickControl(hwnd, L"change_btn"));
        EXPECT_EQ(TextOf(hwnd, L"label_save_path"), picked.Path());
        ASSERT_TRUE(ClickControl(hwnd, button));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 5000)) << WideToUtf8(button);
        EXPECT_EQ(CConfig::Instance().GetPicSavePath(), before.Path());
        EXPECT_EQ(ReadBytes(CConfig::Instance().GetSettingsFilePath()), file) << "nothing saved";
    }
}

TEST_F(DialogsTest, AboutShowsTheVersionResourceAndTheProgramFileDate) {
    HWND hwnd = Open(std::make_unique<CAboutWnd>(), L"关于");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(WindowSize(hwnd).cx, 400);
    EXPECT_EQ(WindowSize(hwnd).cy, 250);
    EXPECT_EQ(TextOf(hwnd, L"version_label"), Utf8ToWide(SCREENSHOT_VERSION_TEXT));

    // The date of this executable's last write, read another way: attributes, local file time.
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &attributes));
    FILETIME local{};
    SYSTEMTIME date{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &date));
    wchar_t expected[16] = {0};
    swprintf(expected, 16, L"%04u-%02u-%02u", date.wYear, date.wMonth, date.wDay);
    EXPECT_EQ(TextOf(hwnd, L"last_update"), expected);
    EXPECT_EQ(TextOf(hwnd, L"home_url_btn"), L"https://screenshot.invalid");

    ASSERT_TRUE(ClickControl(hwnd, L"closebtn"));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 5000));
}

TEST_F(DialogsTest, FeedbackKeepsTwoHundredCharactersAndCountsThem) {
    HWND hwnd = Open(std::make_unique<CFeedbackWnd>(), L"用户反馈");
    ASSERT_NE(hwnd, nullptr);
    for (const wchar_t* name : {L"closebtn", L"feedback_btn", L"feedback_edit", L"input_count_label"}) {
        EXPECT_NE(FindControlOf(hwnd, name), nullptr) << WideToUtf8(name);
    }
    EXPECT_EQ(WindowSize(hwnd).cx, 500);
    EXPECT_EQ(WindowSize(hwnd).cy, 320);
    EXPECT_EQ(TextOf(hwnd, L"input_count_label"), L"0/200");

    ASSERT_TRUE(ClickControl(hwnd, L"feedback_edit"));
    TypeText(L"截图");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(hwnd, L"input_count_label") == L"2/200"; }, 3000))
        << WideToUtf8(TextOf(hwnd, L"input_count_label"));
    TypeText(std::wstring(199, L'x'));
    EXPECT_TRUE(PumpUntil([&] { return TextOf(hwnd, L"input_count_label") == L"200/200"; }, 5000))
        << WideToUtf8(TextOf(hwnd, L"input_count_label"));
    EXPECT_EQ(TextOf(hwnd, L"feedback_edit"), L"截图" + std::wstring(198, L'x'));
}

TEST_F(DialogsTest, FeedbackWithEmptyTextShowsAToastAndStaysOpenWithTheFocusInTheTextBox) {
    // The close button closes it without a word.
    HWND hwnd = Open(std::make_unique<CFeedbackWnd>(), L"用户反馈");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(ClickControl(hwnd, L"closebtn") && PumpUntil([&] { return !IsWindow(hwnd); }, 5000));
    EXPECT_EQ(FindToast(), nullptr);
    hwnd = Open(std::make_unique<CFeedbackWnd>(), L"用户反馈");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_btn"));
    HWND toast = FindToast();
    ASSERT_NE(toast, nullptr);
    EXPECT_EQ(TextOf(toast, L"toast_label"), L"先输入内容哈");
    EXPECT_EQ(GetWindow(toast, GW_OWNER), hwnd);
    PumpFor(200);
    EXPECT_TRUE(IsWindow(hwnd));
    auto* edit = static_cast<DuiLib::CEditUI*>(FindControlOf(hwnd, L"feedback_edit")->GetInterface(L"Edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit->GetNativeWindow());
    // The toast goes after its 1000 ms; the dialog stays.
    EXPECT_TRUE(PumpUntil([] { return FindToast() == nullptr; }, 5000));
    EXPECT_TRUE(IsWindow(hwnd));
}

namespace {

// What the probe saw of a dialog while its modal loop ran.
struct ModalProbe {
    const wchar_t* className = nullptr;
    HWND dialog = nullptr;
    HWND owner = nullptr;
    bool ownerDisabled = false;
    std::wstring title;
    LONG style = 0;
    LONG exStyle = 0;
    RECT rect{};
    int ticks = 0;
};
ModalProbe g_probe;

// Runs inside the dialog's modal loop: notes the dialog, then sends it the system close command.
void CALLBACK ProbeDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_probe.dialog) return;
    HWND dialog = FindWindowW(g_probe.className, nullptr);
    if (!dialog) {
        if (++g_probe.ticks > 100) PostQuitMessage(1);  // no dialog within 5 s: end the loop
        return;
    }
    g_probe.dialog = dialog;
    g_probe.owner = GetWindow(dialog, GW_OWNER);
    g_probe.ownerDisabled = g_probe.owner && !IsWindowEnabled(g_probe.owner);
    wchar_t title[64] = {0};
    GetWindowTextW(dialog, title, 64);
    g_probe.title = title;
    g_probe.style = GetWindowLongW(dialog, GWL_STYLE);
    g_probe.exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    GetWindowRect(dialog, &g_probe.rect);
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace

TEST_F(DialogsTest, EachDialogRunsModallyOverItsOwnerAndAltF4EndsTheApplication) {
    struct Case {
        void (*open)(HWND);
        const wchar_t* className;
        const wchar_t* title;
    };
    const Case cases[] = {{&OpenSetWnd, L"SetWnd", L"设置窗口"},
                          {&OpenAboutWnd, L"AboutWnd", L"关于"},
                          {&OpenFeedbackWnd, L"FeedbackWnd", L"用户反馈"}};
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const POINT centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, centre.x - 150, centre.y - 50, 300,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.className));
        g_probe = ModalProbe{};
        g_probe.className = c.className;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ProbeDialog);
        c.open(owner);  // returns when the quit request ends the modal loop
        KillTimer(nullptr, timer);
        MSG quit{};
        ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT reposted for the caller";
        EXPECT_EQ(quit.wParam, 0u) << "exit code";
        ASSERT_NE(g_probe.dialog, nullptr);
        EXPECT_EQ(g_probe.owner, owner);
        EXPECT_TRUE(g_probe.ownerDisabled) << "modal: the owner is disabled meanwhile";
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(g_probe.title, c.title);
        EXPECT_EQ(static_cast<DWORD>(g_probe.style) & (WS_POPUP | WS_VISIBLE), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
        EXPECT_TRUE(g_probe.exStyle & WS_EX_TOOLWINDOW);
        EXPECT_NEAR((g_probe.rect.left + g_probe.rect.right) / 2, centre.x, 1) << "centred over the owner";
        EXPECT_NEAR((g_probe.rect.top + g_probe.rect.bottom) / 2, centre.y, 1);
        // The close command was handled, not passed on: the dialog is still there.
        EXPECT_TRUE(IsWindow(g_probe.dialog));
        DestroyWindow(g_probe.dialog);
    }
    DestroyWindow(owner);
}
