#include "picture_files.h"

#include <ctime>

#include "base/file_io.h"
#include "capture/capture_output.h"
#include "capture/picture_name.h"

std::wstring BuildPictureFileName(const std::wstring& folder, PicSaveFormat format) {
    if (!MakeFolder(folder)) return std::wstring();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return FormatPictureName(folder, NextPictureNumber(FolderEntryNames(folder)), local, PictureExtension(format));
}

bool WriteBmpFile(HBITMAP image, const std::wstring& path) {
    return WritePictureFile(image, path, PicSaveFormat::kBmp);
}

bool WritePngFile(HBITMAP image, const std::wstring& path) {
    return WritePictureFile(image, path, PicSaveFormat::kPng);
}
