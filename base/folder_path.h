// Comparing and joining folder paths as Windows names them. Pure code.
#pragma once

#include <cstdint>
#include <string>

// folder + '\' + name, without doubling a separator folder already ends with; name alone when
// folder is empty.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Whether the two name the same folder as written: letters compared without case (ASCII only:
// the program compares paths it got from the same system calls, which spell them alike), and
// trailing separators ignored. Empty paths name no folder and are never the same.
bool SameFolder(const std::wstring& a, const std::wstring& b);

// Whether path is folder itself or lies anywhere below it, compared as SameFolder does. "C:\a"
// holds "C:\a\b" but not "C:\ab".
bool IsInsideFolder(const std::wstring& path, const std::wstring& folder);

// The name of a temporary file beside path, told apart by a random word: path + "." + the word
// in 16 hexadecimal digits + ".tmp".
std::wstring TemporaryFileBeside(const std::wstring& path, uint64_t random);
