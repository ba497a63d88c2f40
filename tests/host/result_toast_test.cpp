#include <gtest/gtest.h>

#include "windows/result_toast.h"

namespace {

const std::wstring kSaved = L"\x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";
const std::wstring kCopied = L"\x5DF2\x590D\x5236\x5230\x526A\x5207\x677F";
const std::wstring kBoth = L"\x5DF2\x590D\x5236 \x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";
const std::wstring kSaveFailed = L"\x4FDD\x5B58\x5931\x8D25";
const std::wstring kCopyFailed = L"\x590D\x5236\x5931\x8D25";
const std::wstring kOnClipboard = L"，图片已复制到剪贴板";

}  // namespace

TEST(ResultToast, SuccessTextsOnlyWhenEveryOutputOfTheActionWasMade) {
    EXPECT_EQ(CaptureResultToast(CaptureResult::kClipboard, 0), kCopied);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, 0), kSaved);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCopyAndSave, 0), kBoth);
    EXPECT_EQ(FullScreenResultToast(0), kBoth);
    // A failure of an output the action did not make does not count against it.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kClipboard, kCaptureFileNotWritten), kCopied);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, kCaptureClipboardNotSet), kSaved);
}

TEST(ResultToast, FailuresAreNamedInsteadOfTheSuccessText) {
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, kCaptureFileNotWritten), kSaveFailed);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kClipboard, kCaptureClipboardNotSet), kCopyFailed);
    // Copied but not saved: the picture is not lost, and the toast says where it is.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCopyAndSave, kCaptureFileNotWritten), kSaveFailed + kOnClipboard);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCopyAndSave, kCaptureClipboardNotSet), kCopyFailed);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCopyAndSave, kCaptureFileNotWritten | kCaptureClipboardNotSet), kSaveFailed + L" " + kCopyFailed);
    EXPECT_EQ(FullScreenResultToast(kCaptureFileNotWritten | kCaptureClipboardNotSet), kSaveFailed + L" " + kCopyFailed);
    // A pin shows its picture when saved, and the failure when not.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kPin, 0), L"");
    EXPECT_EQ(CaptureResultToast(CaptureResult::kPin, kCaptureFileNotWritten), kSaveFailed);
    // Saved, but the pinned window could not show it: the file is not what failed.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kPin, kCapturePinNotShown), L"\x6253\x5F00\x5931\x8D25");
    // Cancel and unknown values: no toast.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCancel, 0), L"");
    EXPECT_EQ(CaptureResultToast(static_cast<CaptureResult>(12), kCaptureFileNotWritten), L"");
}

TEST(ResultToast, AFailedSaveNamesItsReasonAndWhereThePictureWent) {
    const unsigned notWritten = kCaptureFileNotWritten;
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, notWritten | kCaptureFolderMissing | kCaptureCopiedInstead),
              kSaveFailed + L"：文件夹不存在" + kOnClipboard);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, notWritten | kCaptureFileInTheWay | kCaptureCopiedInstead),
              kSaveFailed + L"：文件夹的位置已被同名文件占用" + kOnClipboard);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, notWritten | kCaptureNoPermission | kCaptureCopiedInstead),
              kSaveFailed + L"：没有写入权限" + kOnClipboard);
    // Refused in a folder Controlled Folder Access guards: the likely cause is named.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave,
                                 notWritten | kCaptureNoPermission | kCaptureProtectedFolder | kCaptureCopiedInstead),
              kSaveFailed + L"：没有写入权限，可能被 Windows“受控文件夹访问”阻止" + kOnClipboard);
    EXPECT_EQ(CaptureResultToast(CaptureResult::kPin, notWritten | kCaptureDiskFull | kCaptureCopiedInstead),
              kSaveFailed + L"：磁盘已满" + kOnClipboard);
    // Neither saved nor copied: nothing claims the clipboard.
    EXPECT_EQ(CaptureResultToast(CaptureResult::kSave, notWritten | kCaptureDiskFull), kSaveFailed + L"：磁盘已满");
    EXPECT_EQ(CaptureResultToast(CaptureResult::kCopyAndSave, notWritten | kCaptureNoPermission | kCaptureClipboardNotSet),
              kSaveFailed + L"：没有写入权限 " + kCopyFailed);
}
