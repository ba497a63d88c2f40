#include "capture/picture_name.h"

#include <cwchar>

long long NextPictureNumber(const std::vector<std::wstring>& names) {
    long long largest = 0;
    for (const std::wstring& name : names) {
        const size_t underscore = name.find(L'_');
        if (underscore == std::wstring::npos || underscore == 0) continue;
        long long value = 0;
        bool digits = true;
        for (size_t i = 0; i < underscore && digits; ++i) {
            const wchar_t c = name[i];
            digits = c >= L'0' && c <= L'9';
            // Stops before passing the largest number: a long run of digits cannot overflow.
            if (digits && value > (kMaxPictureNumber - (c - L'0')) / 10) digits = false;
            if (digits) value = value * 10 + (c - L'0');
        }
        if (digits && value > largest) largest = value;
    }
    return largest + 1;
}

std::wstring FormatPictureName(const std::wstring& folder, long long number, const std::tm& t,
                               const std::wstring& extension) {
    wchar_t name[96];
    std::swprintf(name, sizeof name / sizeof name[0], L"%04lld_%04d%02d%02d_%02d%02d%02d", number,
                  t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return folder + L"\\" + name + L"." + extension;
}
