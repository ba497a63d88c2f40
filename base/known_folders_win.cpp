#include <windows.h>
#include <shlobj.h>

#include "base/file_io.h"
#include "base/folder_path.h"
#include "base/known_folders.h"

namespace {

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = {0};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? std::wstring(buffer)
                                                                                              : std::wstring();
}

}  // namespace

std::wstring PicturesFolder() { return ShellFolder(CSIDL_MYPICTURES | CSIDL_FLAG_CREATE); }

std::wstring TemporaryFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    while (length > 0 && buffer[length - 1] == L'\\') --length;
    return std::wstring(buffer, length);
}

std::wstring RoamingAppDataFolder() { return ShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE); }

std::wstring ProgramDataFolder() {
    const std::wstring parent = RoamingAppDataFolder();
    if (parent.empty()) return std::wstring();
    const std::wstring folder = JoinPath(parent, kProgramDataFolderName);
    return MakeFolder(folder) ? folder : std::wstring();
}

std::vector<std::wstring> ProtectedUserFolders() {
    std::vector<std::wstring> folders;
    for (int csidl : {CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYVIDEO, CSIDL_MYMUSIC, CSIDL_DESKTOPDIRECTORY,
                      CSIDL_FAVORITES, CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_PICTURES, CSIDL_COMMON_VIDEO,
                      CSIDL_COMMON_MUSIC, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        std::wstring folder = ShellFolder(csidl);
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}
