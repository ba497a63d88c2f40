#include "capture/finish_capture.h"

#include "base/app_messages.h"
#include "base/clipboard.h"
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

namespace {

// Hands the picture to the sink after copying it where the action copies; pixels is the
// picture read, or empty when it could not be, and then the picture is not written but goes on
// the clipboard instead. The failed outputs so far.
unsigned HandOver(const capture::FinishingAction& action, UniqueBitmap& picture,
                  std::shared_ptr<PixelPicture> pixels, const PictureTarget& where, const PictureSink& sink) {
    const bool read = pixels->width > 0;
    const bool copy = action.copy || !read;
    unsigned failed = read ? 0 : kCaptureFileNotWritten;
    bool copied = false;
    if (copy && picture) {
        copied = PutBitmapOnClipboard(picture.Get());
        if (copied) picture.Release();  // the clipboard owns it now
    }
    if (action.copy && !copied) failed |= kCaptureClipboardNotSet;
    if (!action.copy && copied) failed |= kCaptureCopiedInstead;
    if (read) sink(PictureWrite{std::move(pixels), where, action.result, failed, copied});
    return failed;
}

}  // namespace

bool FinishCapture(const capture::FinishingAction& action, ICaptureAnnotations& annotations,
                   const std::function<HBITMAP()>& compose, const PictureTargetSource& target,
                   const PictureSink& sink, HWND requester) {
    CEventTracker::Instance().Report(action.event, action.withSummary ? annotations.ShapeSummary() : std::wstring());
    CaptureDelivery delivery;
    bool handedOver = false;
    if (action.save || action.copy) {
        annotations.CommitEditing();
        UniqueBitmap picture(compose());
        const PictureTarget where = target ? target() : PictureTarget{};
        const bool inBackground = action.save && sink;
        const bool pin = action.result == CaptureResult::kPin;
        // The pixels are read once, for the writer and the pinned window alike.
        auto pixels = std::make_shared<PixelPicture>();
        if ((inBackground || pin) && picture && !ReadPixels(picture.Get(), *pixels)) *pixels = PixelPicture{};
        // A pinned window shows the picture from memory, at once.
        if (pin && picture) {
            CAppContext::Instance().SetPinnedPicture(
                pixels->width > 0 ? DuiLib::ImageFromPixels(pixels->pixels.data(), pixels->width, pixels->height)
                                  : DuiLib::ImageFromBitmap(picture.Get()));
        }
        if (inBackground) {
            delivery.failed = HandOver(action, picture, std::move(pixels), where, sink);
            handedOver = !(delivery.failed & kCaptureFileNotWritten);
        } else {
            delivery = DeliverPicture(picture, action.save, action.copy, where.folder, where.format);
            if (delivery.saved) CAppContext::Instance().SetLastPicturePath(delivery.path);
        }
    }
    if (!requester) return false;
    if (handedOver) {
        PostMessageW(requester, WM_CAPTURE_ENDED, static_cast<WPARAM>(action.result), 0);
    } else {
        PostMessageW(requester, WM_CAPTURE_RESULT, static_cast<WPARAM>(action.result), delivery.failed);
    }
    return true;
}
