// The crash handler: an unhandled exception on any thread writes a minidump into the current
// folder ("crash_dump.dmp", or a time-stamped name when that file cannot be written), or when
// nothing can be written there into the program's folder and then the temporary folder, and
// ends the process without the system's error dialog. The dump is written by a thread made at
// start, so a thread that overflowed its stack still gets one.
// A dump holds the process's private memory (the frozen screen, typed text): the file allows the
// current user alone; a folder keeps only the newest three of our dumps; and a disk with less
// than 1 GiB free gets none (tests set another least free space, in bytes, with the environment
// variable SCREENSHOT_TEST_DUMP_MIN_FREE_BYTES).
#pragma once

#include <windows.h>

// The process's unhandled-exception filter. EXCEPTION_EXECUTE_HANDLER (1) once a dump was
// written, EXCEPTION_CONTINUE_SEARCH (0) when no dump file could be created.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers);

// Selects the full dump, makes the dump-writer thread and installs CrashFilter. Called first
// thing at start.
void InstallCrashFilter();
