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
#include "capture/picture_writer.h"
#include "capture/toolbar_actions.h"
#include "settings/pic_save_format.h"

// Asked when a picture is saved; empty: no folder, so a save fails.
using PictureTargetSource = std::function<PictureTarget()>;
// Takes a composed picture to be written in the background (the main window's writer). Without
// one, the picture is written before the capture ends.
using PictureSink = std::function<void(PictureWrite)>;

// The selection (overlay client pixels of frozen) as a picture: exactly its pixels of the frozen
// screen with the committed annotations drawn on, none of the overlay's own drawing. Null for an
// empty selection or when no bitmap can be made.
HBITMAP ComposePicture(const DibCanvas& frozen, const RECT& selection, ICaptureAnnotations& annotations);

// Runs the finishing action: reports its event (with the shape summary where it carries one);
// for a save or copy commits the text being typed and composes the picture with compose; a pin's
// picture waits in the application context for its window. With a sink, a picture to be saved is
// copied first where the action copies, handed to the sink, and WM_CAPTURE_ENDED is posted to
// requester at once. Without one, the picture is delivered to target here, a saved file recorded
// as the last picture, and WM_CAPTURE_RESULT posted with the failed outputs; so it is also for
// the actions that save nothing. True when a message was posted (a requester was given).
bool FinishCapture(const capture::FinishingAction& action, ICaptureAnnotations& annotations,
                   const std::function<HBITMAP()>& compose, const PictureTargetSource& target,
                   const PictureSink& sink, HWND requester);
