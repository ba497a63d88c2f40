// The feedback window sending what the user typed: the text reaches a real log server on
// 127.0.0.1 (started beside this test by http_test_server.py; its port comes in TEST_HTTP_PORT)
// exactly as typed, the owner hears WM_FEEDBACK_SENT and the window closes.
#include <windows.h>
#include <shlwapi.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "base/utf_convert.h"
#include "telemetry/event_tracker.h"
#include "toolkit_test_window.h"
#include "window_test_util.h"
#include "windows/feedback_wnd.h"

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

unsigned Port() {
    const char* port = std::getenv("TEST_HTTP_PORT");
    return port ? static_cast<unsigned>(std::atoi(port)) : 0;
}

// The body of a GET to the test server's control path.
std::string ServerGet(const wchar_t* path) {
    WinHttpHandle session(WinHttpOpen(L"feedback-test", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
    WinHttpHandle connection(WinHttpConnect(session.Get(), L"127.0.0.1", static_cast<INTERNET_PORT>(Port()), 0));
    WinHttpHandle request(WinHttpOpenRequest(connection.Get(), L"GET", path, nullptr, WINHTTP_NO_REFERER,
                                             WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    std::string body;
    if (!request || !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, nullptr, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return body;
    }
    char block[4096];
    DWORD read = 0;
    while (WinHttpReadData(request.Get(), block, sizeof block, &read) && read > 0) body.append(block, read);
    return body;
}

// The decoded "data" field of the first recorded event, or "<none>".
std::string RecordedData() {
    const std::string records = ServerGet(L"/_control/records");
    const size_t start = records.find("&data=");
    if (start == std::string::npos) return "<none>";
    const size_t end = records.find_first_of("&\"", start + 6);
    const std::string encoded = records.substr(start + 6, end - start - 6);
    // The tracker percent-encodes every byte but the unreserved characters; the shell decodes.
    std::vector<char> decoded(encoded.begin(), encoded.end());
    decoded.push_back('\0');
    if (FAILED(UrlUnescapeA(decoded.data(), nullptr, nullptr, URL_UNESCAPE_INPLACE))) return "<undecodable>";
    return decoded.data();
}

// The owner of the dialog: counts the WM_FEEDBACK_SENT it is posted.
int g_feedbackSent = 0;
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_FEEDBACK_SENT) ++g_feedbackSent;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(FeedbackSend, TypedTextArrivesAtTheLogServerExactlyAndTheOwnerIsTold) {
    ASSERT_NE(Port(), 0u) << "run through http_test_server.py";
    ServerGet(L"/_control/reset");
    LogServiceConfig service;
    service.secure = false;
    service.host = L"127.0.0.1";
    service.port = Port();
    CEventTracker::Instance().Start(service, L"machine", L"1.0.0.1");

    WNDCLASSW ownerClass{};
    ownerClass.lpfnWndProc = &OwnerProc;
    ownerClass.hInstance = GetModuleHandleW(nullptr);
    ownerClass.lpszClassName = L"FeedbackOwner";
    RegisterClassW(&ownerClass);
    HWND owner = CreateWindowExW(0, L"FeedbackOwner", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);

    auto dialog = std::make_unique<CFeedbackWnd>();
    HWND hwnd = dialog->CreateCentred(owner, L"用户反馈");
    ASSERT_NE(hwnd, nullptr);
    dialog.release();  // the window owns it now
    SetForegroundWindow(hwnd);
    PumpFor(150);

    const std::wstring text = L"a&b=c #1  好用 100% ok";
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_edit"));
    TypeText(text);
    ASSERT_TRUE(PumpUntil([&] { return FindControlOf(hwnd, L"feedback_edit")->GetText().Str() == text; }, 3000));
    EXPECT_STREQ(FindControlOf(hwnd, L"input_count_label")->GetText(), L"20/200");
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_btn"));

    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 5000)) << "sending closes the window";
    EXPECT_TRUE(PumpUntil([] { return g_feedbackSent == 1; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return RecordedData() == WideToUtf8(text); }, 10000)) << RecordedData();
    const std::string records = ServerGet(L"/_control/records");
    EXPECT_NE(records.find("feedback_msg"), std::string::npos) << records;
    EXPECT_EQ(FindWindowW(L"ToastWnd", nullptr), nullptr) << "no toast for a sent text";

    DestroyWindow(owner);
    CEventTracker::Instance().Stop();
}
