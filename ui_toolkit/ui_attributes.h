// Parsers for the attribute values of layout files: rectangles, sizes, colours, flags and image
// descriptions. Pure code; malformed text gives the documented fallback, never an exception.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/geometry.h"

namespace DuiLib {

// "l,t,r,b" (spaces allowed). Missing numbers count as 0, as the toolkit has always read them.
base::Rect ParseRectAttribute(const std::wstring& text);
// "cx,cy".
base::Size ParseSizeAttribute(const std::wstring& text);
// A decimal integer with optional sign; digits only up to the first other character; 0 if none.
int ParseIntAttribute(const std::wstring& text);
// Exactly "true" (any case) is true.
bool ParseBoolAttribute(const std::wstring& text);
// "#AARRGGBB", "#RRGGBB" (made opaque), or "0xAARRGGBB" / "0XAARRGGBB". Nothing when unreadable.
std::optional<uint32_t> ParseColorAttribute(const std::wstring& text);

// An image reference: either a bare file name, or key='value' pairs:
//   file='main_wnd/bk.png' dest='l,t,r,b' source='l,t,r,b' corner='l,t,r,b' fade='255'
// dest is relative to the control's rectangle; source selects part of the image; corner gives
// the nine-grid borders kept unscaled when stretching.
struct ImageDescriptor {
    std::wstring file;
    std::optional<base::Rect> dest;
    std::optional<base::Rect> source;
    base::Rect corner;
    int fade = 255;

    bool IsEmpty() const { return file.empty(); }
};
ImageDescriptor ParseImageDescriptor(const std::wstring& text);

// Replaces the toolkit's line break marker "<n>" (also "{n}") with CR LF.
std::wstring ExpandLineBreaks(const std::wstring& text);

// Lower-cases ASCII letters.
std::wstring ToLowerAscii(std::wstring text);

}  // namespace DuiLib

namespace DuiLib {

// An attribute list as styles and defaults carry it: name="value" pairs separated by spaces.
// Values may hold single quotes (image descriptors). Reading stops at the first malformed pair.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& text);

}  // namespace DuiLib
