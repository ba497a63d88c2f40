// A window of the toolkit's tests: built from a layout of the test skin, it records every
// notification and tells when it has deleted itself.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui_toolkit/UIlib.h"

// Starts GDI+ and hands this executable's skin archive (resource ZIPRES 130) to the toolkit.
class SkinEnvironment : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    ULONG_PTR token_ = 0;
};

struct RecordedNotify {
    std::wstring type;
    std::wstring sender;
    WPARAM wParam;
    LPARAM lParam;
};

class TestWindow : public DuiLib::WindowImplBase {
public:
    TestWindow(const wchar_t* skinFile, bool* deleted) : skinFile_(skinFile), deleted_(deleted) {}

    LPCTSTR GetWindowClassName() const override { return L"ToolkitTestWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return skinFile_; }
    void OnFinalMessage(HWND hWnd) override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    // Creates the window at (x, y), topmost, shown without activation.
    HWND CreateAt(int x, int y);
    DuiLib::CControlUI* Find(const wchar_t* name) { return m_pm.FindControl(name); }
    int Count(const std::wstring& type, const std::wstring& sender) const;

    std::vector<RecordedNotify> notifications;
    std::vector<std::wstring> clicks;

private:
    std::wstring skinFile_;
    bool* deleted_;
};
