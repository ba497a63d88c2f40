// Where Windows keeps the user's folders: Pictures, the temporary folder, the roaming
// application data and the folders Windows' Controlled Folder Access guards by default. Each is
// given without a trailing separator, empty when the system cannot say.
#pragma once

#include <string>
#include <vector>

// The program's own folder under the roaming application data: app.id lives there, and so does
// config.json when the program's folder cannot be written.
constexpr wchar_t kProgramDataFolderName[] = L"screenshot";

std::wstring PicturesFolder();
std::wstring TemporaryFolder();
// %APPDATA%, created when missing.
std::wstring RoamingAppDataFolder();
// %APPDATA%\screenshot, created (one level) when missing; empty when it cannot be made.
std::wstring ProgramDataFolder();

// The folders Controlled Folder Access protects unless told otherwise: the user's and the
// public Documents, Pictures, Videos, Music and Desktop, and Favorites. Those the system cannot
// name are left out.
std::vector<std::wstring> ProtectedUserFolders();
