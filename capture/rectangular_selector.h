// CRectangularSelector: one region capture. It freezes the virtual screen, covers it with the
// overlay window and lets the user drag out, move and resize the selection (SelectionModel); the
// magnifier (CMagnifier) and the overlay's painting (COverlayRenderer) are parts of their own.
// This class runs the capture's life: start, the cursor poller, the message loop, input, the
// toolbar beside the finished selection and its actions, and the end; a finishing action is
// carried out by FinishCapture (finish_capture.h), with the picture target it was given.
// Everything but the poller runs on the capture's own thread. Every capture ends with exactly
// one message to the requester: WM_CAPTURE_RESULT after a finishing action, else
// WM_RESTORE_AFTER_CAPTURE.
#pragma once

#include <windows.h>

#include <atomic>
#include <climits>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/app_messages.h"
#include "capture/capture_annotations.h"
#include "capture/finish_capture.h"
#include "capture/hidden_windows_win.h"
#include "capture/magnifier_win.h"
#include "capture/overlay_chrome.h"
#include "capture/overlay_renderer_win.h"
#include "capture/selection_model.h"
#include "capture/toolbar_actions.h"
#include "toolbar/rectangular_selector_tool_bar.h"

class CRectangularSelector {
public:
    // target tells where a picture is saved, when one is; sink, when given, writes it in the
    // background.
    // hidden: how the windows hidden for the capture looked; the grab waits until they are gone.
    CRectangularSelector(HWND requester, ICaptureAnnotations& annotations, PictureTargetSource target,
                         PictureSink sink = {}, HiddenWindowsLook hidden = {});
    ~CRectangularSelector();
    CRectangularSelector(const CRectangularSelector&) = delete;
    CRectangularSelector& operator=(const CRectangularSelector&) = delete;

    // Grabs the screen, shows the overlay and starts the cursor poller. False when the overlay
    // cannot be made (the capture then ends at once).
    bool Start();
    void RunMessageLoop();
    // Ends the capture (once; later calls do nothing); tells the requester to restore itself
    // when no result was posted, and whether the capture could not start.
    void End(bool failedToStart = false);

    HWND Overlay() const { return overlay_; }
    int Width() const { return screen_.Width(); }
    int Height() const { return screen_.Height(); }
    const uint32_t* FrozenPixels() const { return renderer_.Frozen().Bits(); }
    const uint32_t* FramePixels() const { return renderer_.Frame().Bits(); }
    const capture::SelectionModel& Model() const { return model_; }
    bool FollowMode() const { return magnifier_.FollowMode(); }

    // The selection as the output picture: exactly its (r - l) x (b - t) pixels of the frozen
    // screen with the annotations, none of the overlay's own drawing. Null without a selection.
    HBITMAP ComposeOutput();
    // Called after a colour value was copied, with the copy toast's text (the toast window shows
    // it, parented to the overlay, bottom right, 1.5 s).
    void SetColorCopiedHandler(std::function<void(const std::wstring& toastText)> handler) {
        onColorCopied_ = std::move(handler);
    }

    // The colour panel's texts for the colour under the last cursor point.
    std::wstring HexText() const { return magnifier_.HexText(); }
    std::wstring DecimalText() const { return magnifier_.DecimalText(); }

private:
    // What a key did that its handler reports: a colour copy (event 0: none).
    struct ColorCopy {
        int event = 0;      // the usage event of the copy
        std::wstring text;  // the text copied
        bool copied = false;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Poll();
    void StopPoller();

    void OnPress(POINT client);
    void OnDragStep(POINT client);
    void OnRelease(POINT client);
    ColorCopy OnKey(WPARAM key);
    // Records a colour copy, reports it and shows its toast.
    void OnColorCopy(const ColorCopy& copy);
    bool MovingAllowed() const;
    // Creates the toolbar on the first finished selection and puts it beside the selection.
    void PlaceToolbar();
    void ShowToolbar(bool show);
    // Tells the toolbar whether a shape is selected (its delete button follows).
    void PostShapeSelected();
    // The toolbar's button callback: a tool, delete or a finishing action.
    void OnToolbarButton(TOOL_BAR_BTN_TYPE value);
    // Shows at once what a toolbar button or the attribute bar changed in the shapes.
    void RepaintShapes();
    // On monitors of mixed scale the size label and the handles take the scale of the monitor
    // the selection starts on.
    void FollowSelectionMonitor();
    void Finish(const capture::FinishingAction& action);

    HWND requester_;
    HiddenWindowsLook hidden_;
    PictureTargetSource target_;
    PictureSink sink_;
    ICaptureAnnotations& annotations_;
    capture::Rect screen_;
    std::vector<base::ScaledMonitor> monitors_;  // physical rectangles and their DPIs
    capture::OverlayChrome chrome_;               // at the primary monitor's DPI
    capture::SelectionModel model_;
    CMagnifier magnifier_;
    COverlayRenderer renderer_;
    bool resultPosted_ = false;
    bool finishing_ = false;  // a finishing action ran: later presses are ignored
    bool ended_ = false;
    HWND overlay_ = nullptr;
    CRectangularSelectorToolBar toolbar_;
    std::atomic<bool> pollerRunning_{false};
    std::mutex pollerMutex_;
    std::condition_variable pollerWake_;
    std::atomic<DWORD> lastActivity_{0};
    // The client point the poller posted last; none yet at the start.
    std::atomic<LONG> lastPostedX_{LONG_MIN};
    std::atomic<LONG> lastPostedY_{LONG_MIN};
    std::thread poller_;
    std::function<void(const std::wstring&)> onColorCopied_;
};

// Runs one region capture on the calling thread, in physical pixels (the thread is per-monitor
// DPI aware meanwhile): builds the selector, runs the overlay until it ends, then ends the
// capture. onStarted (optional) sees the selector once it runs; sink (optional) writes a saved
// picture in the background; hidden, taken per-monitor aware, is how the windows hidden for it
// looked.
void RunRegionCapture(HWND requester, ICaptureAnnotations& annotations, PictureTargetSource target,
                      const std::function<void(CRectangularSelector&)>& onStarted = {}, PictureSink sink = {},
                      const HiddenWindowsLook& hidden = {});
