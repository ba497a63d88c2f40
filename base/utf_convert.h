// UTF-16 <-> UTF-8 through the system's CP_UTF8 conversion. Empty in, empty out; text that cannot
// be converted also gives an empty result.
#pragma once

#include <string>

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
