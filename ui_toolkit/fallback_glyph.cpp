#include "ui_toolkit/fallback_glyph.h"

#include <usp10.h>

#include <cmath>

#include "base/unique_handle.h"

namespace DuiLib {

namespace {

// Windows' colour-less emoji and symbol faces, then a free font with the same coverage.
const wchar_t* const kFallbackFaces[] = {L"Segoe UI Emoji", L"Segoe UI Symbol", L"Symbola"};

// Frees a Uniscribe cache at the end of a scope.
class ScriptCache {
public:
    ScriptCache() = default;
    ~ScriptCache() { ScriptFreeCache(&cache_); }
    ScriptCache(const ScriptCache&) = delete;
    ScriptCache& operator=(const ScriptCache&) = delete;
    SCRIPT_CACHE* Get() { return &cache_; }

private:
    SCRIPT_CACHE cache_ = nullptr;
};

// The glyph and advance of the character in the face, when the face is installed and has it.
bool ShapeInFace(HDC dc, const wchar_t* face, const wchar_t* character, int length, float emSize, bool bold,
                 WORD& glyph, int& advance) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(emSize));
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&lf));
    if (!font) return false;
    SelectedObject selected(dc, font.Get());
    wchar_t chosen[LF_FACESIZE] = {0};
    GetTextFaceW(dc, LF_FACESIZE, chosen);
    if (lstrcmpiW(chosen, face) != 0) return false;  // not installed: GDI picked another face

    SCRIPT_ITEM items[4];
    int itemCount = 0;
    if (FAILED(ScriptItemize(character, length, 3, nullptr, nullptr, items, &itemCount)) || itemCount < 1) {
        return false;
    }
    ScriptCache cache;
    WORD glyphs[4];
    WORD clusters[4];
    SCRIPT_VISATTR visual[4];
    int glyphCount = 0;
    if (FAILED(ScriptShape(dc, cache.Get(), character, length, 4, &items[0].a, glyphs, clusters, visual, &glyphCount)) ||
        glyphCount != 1) {
        return false;
    }
    SCRIPT_FONTPROPERTIES properties{};
    properties.cBytes = sizeof properties;
    if (SUCCEEDED(ScriptGetFontProperties(dc, cache.Get(), &properties)) && glyphs[0] == properties.wgDefault) {
        return false;  // the face lacks the character
    }
    int advances[4];
    GOFFSET offsets[4];
    ABC abc{};
    if (FAILED(ScriptPlace(dc, cache.Get(), glyphs, glyphCount, visual, &items[0].a, advances, offsets, &abc))) {
        return false;
    }
    glyph = glyphs[0];
    advance = advances[0];
    return true;
}

}  // namespace

FallbackGlyph FindFallbackGlyph(const wchar_t* character, int length, float emSize, INT style) {
    FallbackGlyph found;
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return found;
    for (const wchar_t* face : kFallbackFaces) {
        WORD glyph = 0;
        int advance = 0;
        if (!ShapeInFace(dc.Get(), face, character, length, emSize, (style & Gdiplus::FontStyleBold) != 0, glyph,
                         advance)) {
            continue;
        }
        Gdiplus::FontFamily family(face);
        if (family.GetLastStatus() != Gdiplus::Ok) continue;
        auto font = std::make_unique<Gdiplus::Font>(&family, emSize, style, Gdiplus::UnitPixel);
        if (font->GetLastStatus() != Gdiplus::Ok) continue;
        found.font = std::move(font);
        found.glyph = glyph;
        found.advance = static_cast<float>(advance);
        break;
    }
    return found;
}

}  // namespace DuiLib
