// The attribute bar's rules, apart from its controls: which page a tool shows and how wide, the
// colour text of the palette, which combo entry stands for a width or a style, and writing a
// chosen value into a tool's configuration. Pure code.
#pragma once

#include <cstdint>
#include <string>

#include "annotation/shape_config.h"

// What a chosen value sets in a tool's configuration.
enum class AttributeKind : int {
    kLineWidth = 1,  // text: a number of pixels
    kLineStyle = 2,  // text: the style entry, "0" solid, "1" dotted, "2" dashed
    kColor = 3,      // text: a colour text
    kFontSize = 4,   // text: points (text tool only)
    kFontName = 5,   // text: a face name (text tool only)
};

// The page of the attribute bar for a toolbar value: the normal page for tools 1 to 5, the text
// page for 7, none (nullptr) for the mosaic and the actions.
const wchar_t* AttributePageName(int tool);
// The normal page is narrower for the arrow, which has no line style.
int NormalPageWidth(int tool);
bool ShowsLineStyle(int tool);

// "#AARRGGBB", "AARRGGBB", "#RRGGBB" or "RRGGBB" (made opaque); nine characters lose the first.
// Anything else, and no text, is opaque black. Reading stops at the first non-hex digit.
uint32_t ParseColorText(const std::wstring& text);

// The line width entry (0 to 4) for a width: one less, truncated towards zero.
int LineWidthEntry(float lineWidth);
// The line style entry (0 to 2) for a style 1 to 3; -1 for any other.
int LineStyleEntry(int lineStyle);

// Writes a chosen value into the configuration of tool (1 to 7). False when nothing was
// written: no tool, no text, an unknown kind, or a width that is not a number. Font kinds on a
// configuration that is not a text's change nothing and still count as written.
bool WriteAttribute(ShapeConfigRegistry& registry, int tool, AttributeKind kind, const std::wstring& text);
