#include "settings/pic_folder_rule.h"

#include "base/folder_path.h"

namespace {

std::wstring PicFolderIn(const std::wstring& parent) {
    return parent.empty() ? std::wstring() : JoinPath(parent, kPicFolderName);
}

}  // namespace

bool IsOldDefaultFolder(const std::wstring& stored, const std::wstring& temporaryFolder) {
    return SameFolder(stored, PicFolderIn(temporaryFolder));
}

std::wstring ChosenFolderFromStored(const std::wstring& stored, const std::wstring& temporaryFolder) {
    return IsOldDefaultFolder(stored, temporaryFolder) ? std::wstring() : stored;
}

std::wstring ChosenFolderToStore(const std::wstring& folder, const DefaultPicPlaces& places) {
    const bool isDefault = SameFolder(folder, PicFolderIn(places.pictures)) ||
                           SameFolder(folder, PicFolderIn(places.temporary));
    return isDefault ? std::wstring() : folder;
}

std::wstring DefaultPicFolder(const DefaultPicPlaces& places, bool picturesWritable) {
    return picturesWritable && !places.pictures.empty() ? PicFolderIn(places.pictures)
                                                         : PicFolderIn(places.temporary);
}
