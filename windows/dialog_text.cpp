#include "windows/dialog_text.h"

#include <cwchar>

std::wstring FeedbackCountText(std::size_t length) {
    return std::to_wstring(length) + L"/" + std::to_wstring(kFeedbackMaxChars);
}

std::wstring BuildDateText(int year, int month, int day) {
    wchar_t text[32] = {0};
    std::swprintf(text, sizeof text / sizeof text[0], L"%04d-%02d-%02d", year, month, day);
    return text;
}
