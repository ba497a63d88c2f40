// One argument for another program's command line, quoted so that nothing in it (spaces,
// commas, which explorer reads as separators between its switches) splits it. Pure code.
#pragma once

#include <string>

// The path in double quotes. Trailing backslashes are dropped (one before the closing quote would
// escape it), except for a drive's root such as "C:\"; quotes cannot occur in Windows paths and
// are dropped too.
std::wstring QuotedPathArgument(const std::wstring& path);
