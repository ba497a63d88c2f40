// The default picture folder on this machine, worked out now (see settings/pic_folder_rule.h).
#pragma once

#include <string>

#include "settings/pic_folder_rule.h"

// Pictures and the temporary folder as the system names them now.
DefaultPicPlaces CurrentDefaultPicPlaces();

// Pictures\screenshot_pic when it exists or could be made and a file could be made in it;
// otherwise the temporary folder's screenshot_pic, made when missing. Asked at each save, so
// pictures go back to Pictures as soon as it can be written again.
std::wstring DefaultPicSaveFolder();

// Tests only: while set, Pictures counts as unwritable, as under Controlled Folder Access.
// Nothing in the program sets it.
void SetPicturesUnwritableForTests(bool unwritable);
