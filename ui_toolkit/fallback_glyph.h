// A character outside the BMP (an emoji such as U+1F4A1) as one glyph of the first installed
// font that has it. GDI+ draws such a character as two boxes (one per surrogate) in a font that
// lacks it, so the toolkit draws it separately by glyph index.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace DuiLib {

struct FallbackGlyph {
    std::unique_ptr<Gdiplus::Font> font;  // null when no font has the character
    UINT16 glyph = 0;
    float advance = 0;  // pixels
};

// The character (a surrogate pair: two code units) at the given em size in pixels and style.
FallbackGlyph FindFallbackGlyph(const wchar_t* character, int length, float emSize, INT style);

}  // namespace DuiLib
