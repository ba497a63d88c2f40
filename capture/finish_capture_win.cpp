#include "capture/finish_capture.h"

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "capture/app_context.h"
#include "capture/capture_output.h"
#include "telemetry/event_tracker.h"

HBITMAP ComposePicture(const DibCanvas& frozen, const RECT& selection, ICaptureAnnotations& annotations) {
    const int w = selection.right - selection.left;
    const int h = selection.bottom - selection.top;
    if (w <= 0 || h <= 0) return nullptr;
    WindowDc screen(nullptr);
    UniqueBitmap output(CreateCompatibleBitmap(screen.Get(), w, h));
    UniqueDc dc(CreateCompatibleDC(screen.Get()));
    if (!output || !dc) return nullptr;
    SelectedObject selected(dc.Get(), output.Get());
    const RECT shapes = annotations.Extent();
    if (shapes.right <= shapes.left) {
        BitBlt(dc.Get(), 0, 0, w, h, frozen.Dc(), selection.left, selection.top, SRCCOPY);
        return output.Release();
    }
    // Shapes are drawn on a DIB section, as on the overlay's back buffer, so the picture holds
    // the very pixels the overlay showed. They draw in overlay coordinates: shifted onto the
    // output, as committed (no handles).
    DibCanvas composed;
    if (!composed.Create(screen.Get(), w, h)) return nullptr;
    BitBlt(composed.Dc(), 0, 0, w, h, frozen.Dc(), selection.left, selection.top, SRCCOPY);
    annotations.Draw(composed.Dc(), RECT{0, 0, w, h}, POINT{-selection.left, -selection.top}, false);
    GdiFlush();
    BitBlt(dc.Get(), 0, 0, w, h, composed.Dc(), 0, 0, SRCCOPY);
    return output.Release();
}

bool FinishCapture(const capture::FinishingAction& action, ICaptureAnnotations& annotations,
                   const std::function<HBITMAP()>& compose, const PictureTargetSource& target, HWND requester) {
    CEventTracker::Instance().Report(action.event, action.withSummary ? annotations.ShapeSummary() : std::wstring());
    CaptureDelivery delivery;
    if (action.save || action.copy) {
        annotations.CommitEditing();
        UniqueBitmap picture(compose());
        const PictureTarget where = target ? target() : PictureTarget{};
        delivery = DeliverPicture(picture, action.save, action.copy, where.folder, where.format);
        if (delivery.saved) CAppContext::Instance().SetLastPicturePath(delivery.path);
        // A pinned window shows the picture from memory.
        if (delivery.saved && action.result == CaptureResult::kPin) {
            CAppContext::Instance().SetPinnedPicture(DuiLib::ImageFromBitmap(picture.Get()));
        }
    }
    if (!requester) return false;
    PostMessageW(requester, WM_CAPTURE_RESULT, static_cast<WPARAM>(action.result), delivery.failed);
    return true;
}
