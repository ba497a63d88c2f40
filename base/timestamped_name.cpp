#include "base/timestamped_name.h"

#include <cwchar>

std::wstring FormatTimestampedName(const std::wstring& prefix, const std::wstring& extension,
                                   const std::tm& t) {
    wchar_t stamp[64];
    std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L"%04d%02d%02d_%02d%02d%02d",
                  t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return prefix + L"_" + stamp + L"." + extension;
}

std::wstring MakeTimestampedName(const std::wstring& prefix, const std::wstring& extension) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return FormatTimestampedName(prefix, extension, local);
}
