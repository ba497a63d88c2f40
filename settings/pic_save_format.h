// The picture format of saved captures, as config.json stores it ("pic_save_format": 1 PNG,
// 0 BMP) and as the capture output writes it.
#pragma once

enum class PicSaveFormat : int { kBmp = 0, kPng = 1 };

// The file name extension the format is saved under, without the dot.
inline const wchar_t* PictureExtension(PicSaveFormat format) {
    return format == PicSaveFormat::kPng ? L"png" : L"bmp";
}
