// CRectangularSelector: one region capture. It freezes the virtual screen, covers it with the
// overlay window, lets the user drag out, move and resize the selection (SelectionModel), and
// paints the dimmed screen, the selection, its size label and, before a selection exists, the
// magnifier with its colour panel. Everything runs on the capture's own thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "base/app_messages.h"
#include "base/dib_canvas.h"
#include "capture/capture_annotations.h"
#include "capture/overlay_layout.h"
#include "capture/selection_model.h"

class CRectangularSelector {
public:
    CRectangularSelector(HWND requester, ICaptureAnnotations& annotations);
    ~CRectangularSelector();
    CRectangularSelector(const CRectangularSelector&) = delete;
    CRectangularSelector& operator=(const CRectangularSelector&) = delete;

    // Grabs the screen, shows the overlay and starts the cursor poller. False when the overlay
    // cannot be made (the capture then ends at once).
    bool Start();
    void RunMessageLoop();
    // Ends the capture; tells the requester to restore itself when no result was posted.
    void End();

    HWND Overlay() const { return overlay_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint32_t* FrozenPixels() const { return frozen_.Bits(); }
    const uint32_t* FramePixels() const { return back_.Bits(); }
    const capture::SelectionModel& Model() const { return model_; }
    bool FollowMode() const { return followMode_; }

    // The selection as the output picture: exactly its (r - l) x (b - t) pixels of the frozen
    // screen with the annotations, none of the overlay's own drawing. Null without a selection.
    HBITMAP ComposeOutput();
    void MarkResultPosted() { resultPosted_ = true; }
    // Called after a colour value was copied, with the copy toast's text (the toast window shows
    // it, parented to the overlay, bottom right, 1.5 s).
    void SetColorCopiedHandler(std::function<void(const std::wstring& toastText)> handler) {
        onColorCopied_ = std::move(handler);
    }

    // The colour panel's texts for the colour under the last cursor point.
    std::wstring HexText() const { return hexText_; }
    std::wstring DecimalText() const { return decimalText_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Poll();
    void StopPoller();

    void OnPress(POINT client);
    void OnDragStep(POINT client);
    void OnRelease(POINT client);
    void OnKey(WPARAM key);
    bool CopyText(const std::wstring& text);

    // Invalidates what the last frame drew over the screen and what the next one will.
    void InvalidateChrome();
    void ChromeRects(RECT out[4]) const;
    void Render(const RECT& area);
    void PaintUpdate(HDC dc, HRGN update, const RECT& bounds);
    void DrawSelection(HDC dc, const RECT& sel, const RECT& area);
    void DrawSizeLabel(HDC dc, const RECT& sel);
    // Draws the magnifier and its colour panel for this frame into their own small bitmaps.
    void PrepareMagnifier();
    capture::Point MagnifierPosition();
    capture::Point LabelPosition(const RECT& sel, SIZE& extent) const;
    std::wstring LabelText(const RECT& sel) const;
    RECT SelectionClient() const;
    // What the overlay shows where nothing is drawn: the dimmed screen, or the frozen one when
    // there was no room for the dimmed copy.
    HDC PlainScreen() const { return dimmed_ ? dimmed_.Dc() : frozen_.Dc(); }
    bool MovingAllowed() const;
    POINT ToClient(capture::Point screen) const;

    HWND requester_;
    ICaptureAnnotations& annotations_;
    capture::Rect screen_;
    capture::Rect primary_;
    capture::SelectionModel model_;
    capture::CornerMagnifier corner_;
    bool followMode_ = true;
    bool showHandles_ = true;
    bool resultPosted_ = false;
    int width_ = 0;
    int height_ = 0;
    HWND overlay_ = nullptr;
    HFONT labelFont_ = nullptr;
    // Frozen screen, the same dimmed once, the back buffer, and the magnifier's and colour
    // panel's own small canvases.
    DibCanvas frozen_, dimmed_, back_, magnifier_, panel_;
    bool magnifierShown_ = false;
    RECT magnifierRect_{};
    RECT panelRect_{};
    RECT lastChrome_[4] = {};
    std::wstring hexText_;
    std::wstring decimalText_;
    std::atomic<bool> pollerRunning_{false};
    std::atomic<DWORD> lastActivity_{0};
    std::thread poller_;
    std::function<void(const std::wstring&)> onColorCopied_;
};

// Runs one region capture on the calling thread: builds the selector, runs the overlay until it
// ends, then ends the capture. onStarted (optional) sees the selector once it runs.
void RunRegionCapture(HWND requester, ICaptureAnnotations& annotations,
                      const std::function<void(CRectangularSelector&)>& onStarted = {});
