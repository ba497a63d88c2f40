// What the overlay draws with: its accent colour, line widths, and GDI objects selected for a
// scope.
#pragma once

#include <windows.h>

#include "capture/selection_model.h"

namespace capture {

constexpr COLORREF kAccent = RGB(0x16, 0x77, 0xFF);
constexpr int kBorderWidth = 2;
constexpr int kHandleHalf = kHandleSize / 2;

// A GDI pen or brush selected for a scope and, when owned, deleted after.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object, bool owned) : dc_(dc), object_(object), owned_(owned) {
        old_ = SelectObject(dc, object);
    }
    ~ScopedSelect() {
        SelectObject(dc_, old_);
        if (owned_) DeleteObject(object_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
    bool owned_;
};

}  // namespace capture
