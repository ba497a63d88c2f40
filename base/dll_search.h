// Where the program's DLLs come from: the Windows system folder, never the program's own folder
// or the current one, where anybody who can write there could leave a DLL of a system name.
#pragma once

// The exit code of a process that ended because a system DLL or one of its functions was missing.
constexpr unsigned kMissingSystemDllExitCode = 0xC0DE0D11;

// Narrows the search of every later load to the system folder (where Windows has
// SetDefaultDllDirectories: Windows 8 on, Windows 7 with KB2533623) and leaves the current folder
// out of it everywhere. Delay-loaded DLLs load by their full path in the system folder whether
// this ran or not; called first thing at start.
void LoadDllsFromSystemFolderOnly();
