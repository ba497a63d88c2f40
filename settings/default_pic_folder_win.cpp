#include <windows.h>

#include <atomic>

#include "base/folder_path.h"
#include "base/folder_probe.h"
#include "base/known_folders.h"
#include "settings/default_pic_folder.h"

namespace {

std::atomic<bool> picturesUnwritableForTests{false};

// The folder exists (made when missing) and is a folder: a file of that name is no place to save.
bool MadeFolder(const std::wstring& folder) {
    if (folder.empty()) return false;
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writing is tried for real: Controlled Folder Access lets the folder be listed and refuses only
// the program's writes, so neither the folder's attributes nor its access list would tell.
bool PicturesPicFolderWritable(const DefaultPicPlaces& places) {
    if (picturesUnwritableForTests || places.pictures.empty()) return false;
    const std::wstring folder = DefaultPicFolder(places, true);
    return MadeFolder(folder) && CanCreateFilesIn(folder);
}

}  // namespace

DefaultPicPlaces CurrentDefaultPicPlaces() { return DefaultPicPlaces{PicturesFolder(), TemporaryFolder()}; }

std::wstring DefaultPicSaveFolder() {
    const DefaultPicPlaces places = CurrentDefaultPicPlaces();
    const std::wstring folder = DefaultPicFolder(places, PicturesPicFolderWritable(places));
    MadeFolder(folder);
    return folder;
}

void SetPicturesUnwritableForTests(bool unwritable) { picturesUnwritableForTests = unwritable; }
