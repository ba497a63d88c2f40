// Imports version.dll at load time, as Screenshot.exe once did: the end-to-end test's proof that
// a DLL left beside a program is loaded in its place where nothing prevents it.
#include <windows.h>

int wmain() {
    DWORD handle = 0;
    return GetFileVersionInfoSizeW(L"kernel32.dll", &handle) > 0 ? 0 : 1;
}
