// What the region-capture tests share: a known picture covering the screen, real pointer input,
// bounded waits, and a fixture running one capture on its own thread with a stand-in requester.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "capture/rectangular_selector.h"
#include "real_input.h"

// The test picture's colour at a screen point.
uint32_t PatternAt(int x, int y);
// Pixels of a width x height picture that differ from expected(x, y) (0xRRGGBB); -1 for a
// wrong size. The first one found is reported as a test failure.
int WrongPixels(Gdiplus::Bitmap& picture, int width, int height, const std::function<uint32_t(int x, int y)>& expected);
// The settings' picture folder and format, read when the capture saves (tests change them
// while a capture runs).
PictureTarget ConfiguredTarget();
// Covers the primary screen with the pattern, topmost.
HWND ShowPattern();
// A message-only window that appends each WM_CAPTURE_RESULT and WM_RESTORE_AFTER_CAPTURE it
// receives to received.
HWND CreateRecordingRequester(std::vector<MSG>* received);

// The pattern on screen, a requester window, and a capture running on its own thread.
class Capture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Renders the whole frame on the capture thread and gives its pixel at (x, y).
    uint32_t Frame(int x, int y);
    // A pixel of the frame rendered last.
    uint32_t Pixel(int x, int y);
    void Drag(int x0, int y0, int x1, int y1);
    // Waits (bounded) until the capture thread has ended and joins it; then dispatches what the
    // requester was sent.
    bool WaitForEnd();
    // The annotations the capture runs with; a stand-in that only keeps the tool unless a test
    // brings real shapes.
    virtual ICaptureAnnotations& Annotations() { return annotations_; }

    NoAnnotations annotations_;
    std::vector<MSG> received_;  // what the requester was told, in order
    HWND pattern_ = nullptr;
    HWND requester_ = nullptr;
    HWND overlay_ = nullptr;
    std::thread thread_;
    std::atomic<CRectangularSelector*> selector_{nullptr};
    std::atomic<bool> finished_{false};
};
