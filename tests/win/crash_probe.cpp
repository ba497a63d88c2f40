// Installs the program's crash filter and then faults, so a test can look at the dump it left
// in the current folder and at the two lines it printed.
#include <windows.h>

#include "app/crash_dump_win.h"

int main() {
    InstallCrashFilter();
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
