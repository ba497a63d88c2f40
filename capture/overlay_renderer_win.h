// COverlayRenderer: what the region capture's overlay shows. It holds the frozen screen, its
// dimmed copy and the back buffer; it invalidates what changed since the last frame and paints
// the dirty area from the dimmed screen, the undimmed selection with its border, size label and
// handles, the annotations and the magnifier.
#pragma once

#include <windows.h>

#include <string>

#include "base/dib_canvas.h"
#include "base/unique_handle.h"
#include "capture/capture_annotations.h"
#include "capture/magnifier_win.h"
#include "capture/overlay_chrome.h"
#include "capture/selection_model.h"

class COverlayRenderer {
public:
    // screen: the virtual screen the overlay covers. The model, annotations and magnifier are
    // the capture's and outlive the renderer.
    COverlayRenderer(const capture::Rect& screen, const capture::SelectionModel& model,
                     ICaptureAnnotations& annotations, CMagnifier& magnifier,
                     const capture::OverlayChrome& chrome = capture::OverlayChrome{});

    // Makes the frozen screen and the back buffer (false when either cannot be made) and, room
    // permitting, the dimmed copy; without it the screen is shown undimmed.
    bool Create(HDC reference);
    const DibCanvas& Frozen() const { return frozen_; }
    const DibCanvas& Dimmed() const { return dimmed_; }
    const DibCanvas& Frame() const { return back_; }

    // The window painted into; its first paint covers what the current state draws.
    void Attach(HWND overlay);
    // Invalidates what the last frame drew over the screen and what the next one will.
    void InvalidateChrome();
    // The sizes the label, border and handles are drawn at from now on (another monitor's scale).
    void SetChrome(const capture::OverlayChrome& chrome);
    // Handles WM_PAINT.
    void Paint();
    // Renders the whole frame into the back buffer at once.
    void RenderFrame();

    // The selection in overlay client coordinates, normalised.
    RECT SelectionClient() const;

private:
    // What the overlay draws over the screen, as last painted: the selection's reach, its
    // label, the magnifier and its panel (empty when not shown), whether the selection's
    // handles show, and the label's text.
    struct Chrome {
        RECT rects[4] = {};
        bool handles = false;
        std::wstring label;
    };
    Chrome CurrentChrome() const;
    void ChromeRects(RECT out[4]) const;
    bool HandlesShown() const;
    bool MagnifierShown() const { return !model_.HasSelection() || model_.Resizing(); }
    void PrepareMagnifier();
    void PaintUpdate(HDC dc, HRGN update, const RECT& bounds);
    // Composes area (only its part inside clip, when given) in the back buffer.
    void Render(const RECT& area, HRGN clip = nullptr);
    void DrawSelection(HDC dc, const RECT& sel, const RECT& area);
    void DrawHandles(HDC dc, const RECT& sel);
    void DrawSizeLabel(HDC dc, const RECT& sel);
    capture::Point LabelPosition(const RECT& sel, SIZE& extent) const;
    std::wstring LabelText(const RECT& sel) const;
    // What the overlay shows where nothing is drawn: the dimmed screen, or the frozen one when
    // there was no room for the dimmed copy.
    HDC PlainScreen() const { return dimmed_ ? dimmed_.Dc() : frozen_.Dc(); }

    capture::Rect screen_;
    int width_;
    int height_;
    const capture::SelectionModel& model_;
    ICaptureAnnotations& annotations_;
    CMagnifier& magnifier_;
    HWND overlay_ = nullptr;
    capture::OverlayChrome chrome_;
    UniqueFont labelFont_;
    bool showHandles_ = true;
    DibCanvas frozen_, dimmed_, back_;
    Chrome lastChrome_;
};
