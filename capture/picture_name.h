// Names of saved pictures: "0001_20240131_235959.png" in the picture folder, numbered one past
// the largest number already in the folder. Pure code.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// The largest picture number that counts: the int range. A foreign file with a longer number
// (a time stamp in milliseconds, say) leaves the numbering alone.
constexpr long long kMaxPictureNumber = 2147483647LL;

// The largest leading number of the names (the digits before the first "_"), plus one; 1 for
// none. A name whose part before "_" is empty, holds anything but digits, or is above
// kMaxPictureNumber does not count. After the largest int the next number is one past it (no
// wrap); a save whose numbered name is taken moves on to the next one, so nothing is replaced.
long long NextPictureNumber(const std::vector<std::wstring>& names);

// folder + "\" + number (at least four digits) + "_" + %Y%m%d + "_" + %H%M%S + "." + extension.
std::wstring FormatPictureName(const std::wstring& folder, long long number, const std::tm& localTime,
                               const std::wstring& extension);
