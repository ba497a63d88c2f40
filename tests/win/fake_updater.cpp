// Stands in for the downloaded updater: leaves "updater_ran.txt" beside itself, holding its own
// command line, and exits. Built a second time as other_updater.exe, which leaves
// "other_ran.txt": a program someone might swap in, and as slow_updater.exe, which first waits
// 5 s (an updater held up by an antivirus) and leaves "slow_ran.txt".
#include <windows.h>

#include <string>

#ifndef FAKE_UPDATER_MARKER
#define FAKE_UPDATER_MARKER L"updater_ran.txt"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
#ifdef FAKE_UPDATER_DELAY_MS
    Sleep(FAKE_UPDATER_DELAY_MS);
#endif
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder = folder.substr(0, folder.find_last_of(L"\\/"));
    HANDLE marker = CreateFileW((folder + L"\\" FAKE_UPDATER_MARKER).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        const wchar_t* commandLine = GetCommandLineW();
        DWORD written = 0;
        WriteFile(marker, commandLine, static_cast<DWORD>(lstrlenW(commandLine) * sizeof(wchar_t)), &written,
                  nullptr);
        CloseHandle(marker);
    }
    return 0;
}
