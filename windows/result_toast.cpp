#include "windows/result_toast.h"

namespace {

const std::wstring kSaved = L"\x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";                     // 已保存到图库
// The product's own wording, kept exactly as given (as the toolbar's "复制到剪切板" tooltip is);
// the texts of ours spell the word the standard way, 剪贴板.
const std::wstring kCopied = L"\x5DF2\x590D\x5236\x5230\x526A\x5207\x677F";              // 已复制到剪切板
const std::wstring kCopiedAndSaved = L"\x5DF2\x590D\x5236 \x5DF2\x4FDD\x5B58\x5230\x56FE\x5E93";  // 已复制 已保存到图库
const std::wstring kSaveFailed = L"\x4FDD\x5B58\x5931\x8D25";                            // 保存失败
const std::wstring kCopyFailed = L"\x590D\x5236\x5931\x8D25";                            // 复制失败
const std::wstring kOpenFailed = L"\x6253\x5F00\x5931\x8D25";                            // 打开失败

// "保存失败", the reason where it is known, and where the picture went instead.
std::wstring SaveFailedText(unsigned failed, bool copies) {
    std::wstring text = kSaveFailed;
    if (failed & kCaptureFolderMissing) text += L"：文件夹不存在";
    if (failed & kCaptureFileInTheWay) text += L"：文件夹的位置已被同名文件占用";
    if (failed & kCaptureNoPermission) text += L"：没有写入权限";
    if ((failed & kCaptureNoPermission) && (failed & kCaptureProtectedFolder)) {
        text += L"，可能被 Windows“受控文件夹访问”阻止";
    }
    if (failed & kCaptureDiskFull) text += L"：磁盘已满";
    const bool onClipboard = (failed & kCaptureCopiedInstead) || (copies && !(failed & kCaptureClipboardNotSet));
    if (onClipboard) text += L"，图片已复制到剪贴板";
    return text;
}

// The failures of the outputs the action made, or empty when they all succeeded.
std::wstring FailureText(unsigned failed, bool saves, bool copies) {
    std::wstring text;
    if (saves && (failed & kCaptureFileNotWritten)) text = SaveFailedText(failed, copies);
    if (copies && (failed & kCaptureClipboardNotSet)) text += (text.empty() ? L"" : L" ") + kCopyFailed;
    return text;
}

}  // namespace

std::wstring CaptureResultToast(CaptureResult result, unsigned failed) {
    switch (result) {
        case CaptureResult::kPin: {
            // A saved picture that cannot be shown: the file is there, the window is not.
            const std::wstring failure = FailureText(failed, true, false);
            return failure.empty() && (failed & kCapturePinNotShown) ? kOpenFailed : failure;
        }
        case CaptureResult::kClipboard: {
            const std::wstring failure = FailureText(failed, false, true);
            return failure.empty() ? kCopied : failure;
        }
        case CaptureResult::kSave: {
            const std::wstring failure = FailureText(failed, true, false);
            return failure.empty() ? kSaved : failure;
        }
        case CaptureResult::kCopyAndSave: return FullScreenResultToast(failed);
        default: return std::wstring();
    }
}

std::wstring CaptureFailedToast() { return L"\x622A\x56FE\x5931\x8D25"; }

std::wstring FullScreenResultToast(unsigned failed) {
    const std::wstring failure = FailureText(failed, true, true);
    return failure.empty() ? kCopiedAndSaved : failure;
}
