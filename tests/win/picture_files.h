// Picture files as the tests make and name them, through the program's own writer and naming.
#pragma once

#include <windows.h>

#include <string>

#include "settings/pic_save_format.h"

// The next numbered name in folder (made when missing, last level only) for the format, as a
// save would take it now. Empty when the folder cannot be made.
std::wstring BuildPictureFileName(const std::wstring& folder, PicSaveFormat format);

// The picture as a BMP, or a PNG, file at path.
bool WriteBmpFile(HBITMAP image, const std::wstring& path);
bool WritePngFile(HBITMAP image, const std::wstring& path);
