#include "app/single_instance.h"

#include "base/app_messages.h"

namespace {

constexpr wchar_t kMutexName[] = L"Screenshot_87E5B883-BE25-4248-8B72-AC1981F0FFEE";

}  // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, TRUE, kMutexName)) {
    another_ = mutex_.Valid() && GetLastError() == ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    if (mutex_.Valid() && !another_) ReleaseMutex(mutex_.Get());
}

void SingleInstance::ActivateExisting(const wchar_t* title) {
    HWND existing = FindWindowW(nullptr, title);
    if (!existing) return;
    // It may take the foreground when it gets to the message; a posted message never blocks.
    DWORD process = 0;
    GetWindowThreadProcessId(existing, &process);
    AllowSetForegroundWindow(process);
    PostMessageW(existing, WM_SHOW_MAIN_WINDOW, 0, 0);
}
