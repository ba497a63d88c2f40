// Small helpers the benchmarks share: a millisecond clock, the median of a set of figures and
// paths in the temporary folder.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// The performance counter in milliseconds.
inline double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The middle value (the upper one of an even count); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// name in the temporary folder.
inline std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp, length < MAX_PATH ? length : 0) + name;
}
