// Hands the skin archive held in the program's resources (type "ZIPRES", id 130) to the window
// toolkit, which then reads every layout and image from it by file name.
#pragma once

#include <windows.h>

// The skin archive's resource id under the type "ZIPRES".
constexpr int kSkinArchiveResourceId = 130;

// True when the archive was found and accepted. Without it windows find no layouts.
bool LoadSkinArchive(HINSTANCE instance);
