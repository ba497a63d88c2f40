// Which folder pictures are saved in. The settings file keeps a folder only when the user chose
// one; without it the default is worked out at each save: Pictures\screenshot_pic, or the
// temporary folder's screenshot_pic while Pictures cannot be written (Windows' Controlled Folder
// Access refuses unknown programs there). Pure code; the folders and the probe come from the
// caller.
#pragma once

#include <string>

constexpr wchar_t kPicFolderName[] = L"screenshot_pic";

// The folders the default lives in, as the system names them (no trailing separator needed).
struct DefaultPicPlaces {
    std::wstring pictures;
    std::wstring temporary;
};

// Whether a stored folder is the temporary folder's screenshot_pic: what earlier versions wrote
// into the file at a first start when Pictures could not be written, and kept for good.
bool IsOldDefaultFolder(const std::wstring& stored, const std::wstring& temporaryFolder);

// The chosen folder a stored one stands for: empty (the default) when nothing was stored or it
// is the old default; otherwise the stored folder as it is.
std::wstring ChosenFolderFromStored(const std::wstring& stored, const std::wstring& temporaryFolder);

// The folder to keep when the settings' OK gives folder: none when it is one of the default's
// places (the user left the default that was shown), otherwise folder.
std::wstring ChosenFolderToStore(const std::wstring& folder, const DefaultPicPlaces& places);

// The default: Pictures' screenshot_pic while Pictures is known and writable, otherwise the
// temporary folder's. Empty when neither folder is known.
std::wstring DefaultPicFolder(const DefaultPicPlaces& places, bool picturesWritable);
