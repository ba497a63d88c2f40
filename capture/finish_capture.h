// The end of a region capture by a finishing toolbar button: its usage event, the picture
// composed from the frozen screen and the annotations, its delivery (saved as a numbered file,
// put on the clipboard), the saved path recorded for the pinned window, and the result posted
// to the requester. The folder and format come from whoever started the capture.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "base/dib_canvas.h"
#include "capture/capture_annotations.h"
#include "capture/toolbar_actions.h"
#include "settings/pic_save_format.h"

// Where a capture's picture is saved.
struct PictureTarget {
    std::wstring folder;
    PicSaveFormat format = PicSaveFormat::kPng;
};
// Asked when a picture is saved; empty: no folder, so a save fails.
using PictureTargetSource = std::function<PictureTarget()>;

// The selection (overlay client pixels of frozen) as a picture: exactly its pixels of the frozen
// screen with the committed annotations drawn on, none of the overlay's own drawing. Null for an
// empty selection or when no bitmap can be made.
HBITMAP ComposePicture(const DibCanvas& frozen, const RECT& selection, ICaptureAnnotations& annotations);

// Runs the finishing action: reports its event (with the shape summary where it carries one);
// for a save or copy commits the text being typed, composes the picture with compose and
// delivers it to target, recording a saved file as the last picture; then posts
// WM_CAPTURE_RESULT with the action's result and the failed outputs to requester. True when a
// result was posted (a requester was given).
bool FinishCapture(const capture::FinishingAction& action, ICaptureAnnotations& annotations,
                   const std::function<HBITMAP()>& compose, const PictureTargetSource& target, HWND requester);
