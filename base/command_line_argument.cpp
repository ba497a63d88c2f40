#include "base/command_line_argument.h"

std::wstring QuotedPathArgument(const std::wstring& path) {
    std::wstring plain;
    for (const wchar_t c : path) {
        if (c != L'"') plain += c;
    }
    while (plain.size() > 1 && (plain.back() == L'\\' || plain.back() == L'/') &&
           !(plain.size() == 3 && plain[1] == L':')) {
        plain.pop_back();
    }
    // A drive's root keeps its backslash; a dot after it keeps the quote from being escaped.
    if (plain.size() == 3 && plain[1] == L':') plain += L'.';
    return L"\"" + plain + L"\"";
}
