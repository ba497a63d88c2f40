// What each finishing button of the capture toolbar does, checked against what the main window
// makes of its result: the outputs an action makes are exactly those its result's toast can
// report as failed.
#include <gtest/gtest.h>

#include <set>

#include "capture/toolbar_actions.h"
#include "windows/result_toast.h"

namespace {

using Btn = TOOL_BAR_BTN_TYPE;

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(FinishingActions, TheResultTellsTheMainWindowExactlyTheOutputsMade) {
    const std::wstring saveFailed = L"\x4FDD\x5B58\x5931\x8D25";  // 保存失败
    const std::wstring copyFailed = L"\x590D\x5236\x5931\x8D25";  // 复制失败
    std::set<int> events;
    for (Btn value : {Btn::kPin, Btn::kClipboard, Btn::kSave, Btn::kCancel, Btn::kOk}) {
        const capture::FinishingAction* action = capture::FinishingActionFor(value);
        ASSERT_NE(action, nullptr) << static_cast<int>(value);
        const bool makes = action->save || action->copy;
        // Every output failing: the toast names the failure of each output made, and only those.
        const std::wstring failed = CaptureResultToast(action->result, kCaptureFileNotWritten | kCaptureClipboardNotSet);
        EXPECT_EQ(Contains(failed, saveFailed), action->save) << static_cast<int>(value);
        EXPECT_EQ(Contains(failed, copyFailed), action->copy) << static_cast<int>(value);
        EXPECT_EQ(MadePicture(action->result), makes) << static_cast<int>(value);
        // Only an ending that makes a picture reports what it holds.
        EXPECT_EQ(action->withSummary, makes) << static_cast<int>(value);
        events.insert(action->event);
    }
    EXPECT_EQ(events.size(), 5u);  // each button its own event
    for (int value : {0, 1, 2, 3, 4, 5, 6, 7, 10, 14}) {
        EXPECT_EQ(capture::FinishingActionFor(static_cast<Btn>(value)), nullptr) << value;
    }
}

}  // namespace
