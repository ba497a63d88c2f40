// The feedback window sending what the user typed to a real log server on 127.0.0.1, run beside
// this test by http_test_server.py (its port in TEST_HTTP_PORT).
#include <windows.h>
#include <shlwapi.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "base/utf_convert.h"
#include "telemetry/event_tracker.h"
#include "toolkit_test_window.h"
#include "window_test_util.h"
#include "windows/feedback_wnd.h"

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

// The body the test server gives for a GET of path.
std::string ServerGet(const wchar_t* path) {
    const char* port = std::getenv("TEST_HTTP_PORT");
    WinHttpHandle session(WinHttpOpen(L"t", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0));
    WinHttpHandle connection(WinHttpConnect(session.Get(), L"127.0.0.1", static_cast<INTERNET_PORT>(port ? std::atoi(port) : 0), 0));
    WinHttpHandle request(WinHttpOpenRequest(connection.Get(), L"GET", path, nullptr, nullptr, nullptr, 0));
    std::string body;
    char block[4096];
    DWORD read = 0;
    if (WinHttpSendRequest(request.Get(), nullptr, 0, nullptr, 0, 0, 0) && WinHttpReceiveResponse(request.Get(), nullptr)) {
        while (WinHttpReadData(request.Get(), block, sizeof block, &read) && read > 0) body.append(block, read);
    }
    return body;
}

// The "data" field of the first event the server recorded, percent-decoded.
std::string RecordedData() {
    const std::string records = ServerGet(L"/_control/records");
    const size_t start = records.find("&data=");
    if (start == std::string::npos) return "<none>";
    std::string data = records.substr(start + 6, records.find_first_of("&\"", start + 6) - start - 6);
    UrlUnescapeA(&data[0], nullptr, nullptr, URL_UNESCAPE_INPLACE);
    return data.c_str();
}

int g_feedbackSent = 0;
LRESULT CALLBACK CountFeedbackSent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_FEEDBACK_SENT) ++g_feedbackSent;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(FeedbackSend, TypedTextArrivesExactlyTheOwnerIsToldAndTheWindowCloses) {
    ASSERT_NE(std::getenv("TEST_HTTP_PORT"), nullptr) << "run through http_test_server.py";
    LogServiceConfig service;
    service.secure = false;
    service.host = L"127.0.0.1";
    service.port = static_cast<unsigned>(std::atoi(std::getenv("TEST_HTTP_PORT")));
    CEventTracker::Instance().Start(service, L"machine", L"1.0.0.1");
    WNDCLASSW ownerClass{0, &CountFeedbackSent, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"FeedbackOwner"};
    RegisterClassW(&ownerClass);
    HWND owner = CreateWindowExW(0, L"FeedbackOwner", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND hwnd = OpenDialog(new CFeedbackWnd, owner);
    const std::wstring text = L"a&b=c #1  好用 100% ok";
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_edit"));
    TypeText(text);
    EXPECT_TRUE(PumpUntil([&] { return ControlText(hwnd, L"input_count_label") == L"20/200"; }, 3000));
    ASSERT_TRUE(ClickControl(hwnd, L"feedback_btn") && ClosesSoon(hwnd));
    EXPECT_EQ(g_feedbackSent, 1);
    EXPECT_TRUE(PumpUntil([&] { return RecordedData() == WideToUtf8(text); }, 10000)) << RecordedData();
    EXPECT_NE(ServerGet(L"/_control/records").find("feedback_msg"), std::string::npos);
    CEventTracker::Instance().Stop();
    DestroyWindow(owner);
}

