// Names such as "crash_dump_20240131_235959.dmp": prefix, local time, extension.
#pragma once

#include <ctime>
#include <string>

// prefix + "_" + time as %Y%m%d_%H%M%S + "." + extension.
std::wstring FormatTimestampedName(const std::wstring& prefix, const std::wstring& extension,
                                   const std::tm& localTime);

// The same with the current local time from the C library clock.
std::wstring MakeTimestampedName(const std::wstring& prefix, const std::wstring& extension);
