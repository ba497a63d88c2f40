#include <gtest/gtest.h>

#include "windows/result_toast.h"

namespace {

const std::wstring kSaved = L"\x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";
const std::wstring kCopied = L"\x5DF2\x590D\x5236\x5230\x526A\x5207\x677F";
const std::wstring kBoth = L"\x5DF2\x590D\x5236 \x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";
const std::wstring kSaveFailed = L"\x4FDD\x5B58\x5931\x8D25";
const std::wstring kCopyFailed = L"\x590D\x5236\x5931\x8D25";

}  // namespace

TEST(ResultToast, SuccessTextsOnlyWhenEveryOutputOfTheActionWasMade) {
    EXPECT_EQ(CaptureResultToast(9, 0), kCopied);
    EXPECT_EQ(CaptureResultToast(11, 0), kSaved);
    EXPECT_EQ(CaptureResultToast(13, 0), kBoth);
    EXPECT_EQ(FullScreenResultToast(0), kBoth);
    // A failure of an output the action did not make does not count against it.
    EXPECT_EQ(CaptureResultToast(9, kCaptureFileNotWritten), kCopied);
    EXPECT_EQ(CaptureResultToast(11, kCaptureClipboardNotSet), kSaved);
}

TEST(ResultToast, FailuresAreNamedInsteadOfTheSuccessText) {
    EXPECT_EQ(CaptureResultToast(11, kCaptureFileNotWritten), kSaveFailed);
    EXPECT_EQ(CaptureResultToast(9, kCaptureClipboardNotSet), kCopyFailed);
    EXPECT_EQ(CaptureResultToast(13, kCaptureFileNotWritten), kSaveFailed);
    EXPECT_EQ(CaptureResultToast(13, kCaptureClipboardNotSet), kCopyFailed);
    EXPECT_EQ(CaptureResultToast(13, kCaptureFileNotWritten | kCaptureClipboardNotSet), kSaveFailed + L" " + kCopyFailed);
    EXPECT_EQ(FullScreenResultToast(kCaptureFileNotWritten | kCaptureClipboardNotSet), kSaveFailed + L" " + kCopyFailed);
    // A pin shows its picture when saved, and the failure when not.
    EXPECT_EQ(CaptureResultToast(8, 0), L"");
    EXPECT_EQ(CaptureResultToast(8, kCaptureFileNotWritten), kSaveFailed);
    // Cancel and unknown values: no toast.
    EXPECT_EQ(CaptureResultToast(0, 0), L"");
    EXPECT_EQ(CaptureResultToast(12, kCaptureFileNotWritten), L"");
}
