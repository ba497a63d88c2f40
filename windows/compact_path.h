// A folder path shortened in the middle to fit a width, as the system's PathCompactPathEx does:
// the start of the path and the last folder's name are kept, what lies between becomes "...".
// Pure code: the width of a text comes from the caller.
#pragma once

#include <functional>
#include <string>

// The width the text takes when drawn.
using TextWidth = std::function<int(const std::wstring& text)>;

// The path as it is when it fits maxWidth. Else as many of its first characters as fit before
// "...\" and the last name; else the last name's start with "..." after it; else "...".
// A character outside the BMP is never split.
std::wstring CompactPath(const std::wstring& path, int maxWidth, const TextWidth& width);
