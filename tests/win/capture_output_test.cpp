// Picture files, the clipboard and the full-screen capture on a real Wine desktop.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture/app_context.h"
#include "base/dib_canvas.h"
#include "base/capture_failures.h"
#include "base/clipboard.h"
#include "base/exe_directory.h"
#include "base/folder_path.h"
#include "base/known_folders.h"
#include "base/unique_handle.h"
#include "capture/capture_output.h"
#include "capture/finish_capture.h"
#include "capture/toolbar_actions.h"
#include "settings/config.h"
#include "settings/default_pic_folder.h"
#include "picture_files.h"
#include "tests/common/photo_picture.h"
#include "test_folder.h"

namespace {

class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// A 32-bit top-down DIB whose pixel (x, y) is 0x00RRGGBB = colour(x, y).
HBITMAP MakeImage(int width, int height, uint32_t (*colour)(int, int)) {
    uint32_t* pixels = nullptr;
    HBITMAP bitmap = CreateTopDownDib(nullptr, width, height, &pixels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels[y * width + x] = colour(x, y);
    }
    return bitmap;
}

uint32_t Pattern(int x, int y) {
    return static_cast<uint32_t>(((x * 40) & 0xFF) << 16 | ((y * 60) & 0xFF) << 8 | ((x + y) & 0xFF));
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PictureFiles, NamesAreNumberedInTheFolder) {
    TestFolder base;
    const std::wstring folder = base.File(L"pics");
    // Building a name records nothing: the last picture path is the caller's to set.
    CAppContext::Instance().SetLastPicturePath(L"before");
    const std::wstring first = BuildPictureFileName(folder, PicSaveFormat::kPng);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.substr(0, folder.size() + 6), folder + L"\\0001_");
    EXPECT_EQ(first.size(), folder.size() + 1 + 4 + 1 + 8 + 1 + 6 + 4);
    EXPECT_EQ(first.substr(first.size() - 4), L".png");
    EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");
    WriteBytes(folder + L"\\0007_20240101_101010.png", "x");
    WriteBytes(folder + L"\\notes.txt", "x");
    const std::wstring next = BuildPictureFileName(folder, PicSaveFormat::kBmp);
    EXPECT_EQ(next.substr(folder.size() + 1, 5), L"0008_");
    EXPECT_EQ(next.substr(next.size() - 4), L".bmp");
    // A folder whose parent is missing cannot be made: no name.
    EXPECT_EQ(BuildPictureFileName(base.File(L"missing\\pics"), PicSaveFormat::kPng), L"");
    EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");
}

TEST(PictureFiles, BmpBytesAreBottomUpAndPadded) {
    TestFolder folder;
    HBITMAP image = MakeImage(3, 2, Pattern);
    const std::wstring path = folder.File(L"0001_x.bmp");
    ASSERT_TRUE(WriteBmpFile(image, path));
    DeleteObject(image);
    const std::string bytes = Bytes(path);
    ASSERT_EQ(bytes.size(), 54u + 12u * 2u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24u);
    // The first stored row is the image's bottom row (y = 1); B, G, R per pixel, then padding.
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (int x = 0; x < 3; ++x) {
        const uint32_t expected = Pattern(x, 1);
        EXPECT_EQ(at(54 + 3 * x), expected & 0xFF);
        EXPECT_EQ(at(54 + 3 * x + 1), (expected >> 8) & 0xFF);
        EXPECT_EQ(at(54 + 3 * x + 2), (expected >> 16) & 0xFF);
    }
    EXPECT_EQ(at(54 + 12 + 2), (Pattern(0, 0) >> 16) & 0xFF);
}

TEST(PictureFiles, PngDecodesToTheSamePixels) {
    TestFolder folder;
    HBITMAP image = MakeImage(100, 50, Pattern);
    const std::wstring path = folder.File(L"0001_x.png");
    ASSERT_TRUE(WritePictureFile(image, path, PicSaveFormat::kPng));
    DeleteObject(image);
    EXPECT_EQ(Bytes(path).substr(1, 3), "PNG");
    Gdiplus::Bitmap decoded(path.c_str());
    ASSERT_EQ(decoded.GetLastStatus(), Gdiplus::Ok);
    ASSERT_EQ(decoded.GetWidth(), 100u);
    ASSERT_EQ(decoded.GetHeight(), 50u);
    for (int y = 0; y < 50; y += 7) {
        for (int x = 0; x < 100; x += 9) {
            Gdiplus::Color c;
            decoded.GetPixel(x, y, &c);
            EXPECT_EQ(c.GetValue() & 0xFFFFFF, Pattern(x, y)) << x << "," << y;
        }
    }
}

uint32_t Noise(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return (h ^ (h >> 15)) & 0xFFFFFF;
}

TEST(PictureFiles, PngOfOddSizesDecodesInGdiplusToEveryPixel) {
    TestFolder folder;
    const SIZE sizes[] = {{1, 1}, {1, 77}, {77, 1}, {3, 5}, {131, 67}, {66, 200}};
    for (const SIZE size : sizes) {
        for (auto colour : {Pattern, Noise}) {
            HBITMAP image = MakeImage(size.cx, size.cy, colour);
            const std::wstring path = folder.File(L"odd.png");
            ASSERT_TRUE(WritePictureFile(image, path, PicSaveFormat::kPng));
            DeleteObject(image);
            Gdiplus::Bitmap decoded(path.c_str());
            ASSERT_EQ(decoded.GetLastStatus(), Gdiplus::Ok);
            ASSERT_EQ(decoded.GetWidth(), static_cast<UINT>(size.cx));
            ASSERT_EQ(decoded.GetHeight(), static_cast<UINT>(size.cy));
            int wrong = 0;
            for (int y = 0; y < size.cy; ++y) {
                for (int x = 0; x < size.cx; ++x) {
                    Gdiplus::Color c;
                    decoded.GetPixel(x, y, &c);
                    wrong += c.GetValue() != (0xFF000000u | colour(x, y));
                }
            }
            EXPECT_EQ(wrong, 0) << size.cx << "x" << size.cy;
        }
    }
}

TEST(PictureFiles, APhotoPngDecodesInGdiplusToEveryPixelAcrossTheWritersStrips) {
    // The writer's strips join inside photo content, where rows are filtered against the row
    // above: every row of the file decodes right in a decoder we did not write.
    const std::vector<uint32_t> photo = test_pictures::PhotoPicture(640, 480, 11);
    uint32_t* bits = nullptr;
    UniqueBitmap image(CreateTopDownDib(nullptr, 640, 480, &bits));
    ASSERT_TRUE(image);
    std::copy(photo.begin(), photo.end(), bits);
    TestFolder folder;
    const std::wstring path = folder.File(L"photo.png");
    ASSERT_TRUE(WritePictureFile(image.Get(), path, PicSaveFormat::kPng));
    Gdiplus::Bitmap decoded(path.c_str());
    ASSERT_EQ(decoded.GetLastStatus(), Gdiplus::Ok);
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect all(0, 0, 640, 480);
    ASSERT_EQ(decoded.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data), Gdiplus::Ok);
    std::vector<int> wrongRows;
    for (int y = 0; y < 480; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < 640; ++x) {
            if (row[x] != (0xFF000000u | photo[y * 640 + x])) {
                wrongRows.push_back(y);
                break;
            }
        }
    }
    decoded.UnlockBits(&data);
    EXPECT_EQ(wrongRows, std::vector<int>{});
}

TEST(PictureFiles, APictureTooLargeForMemoryIsReportedNotWritten) {
    // A one-bit bitmap is cheap to hold, but as 24-bit BMP bytes (2.4 GB) it cannot be held by
    // this 32-bit process: the encoder's allocation fails.
    UniqueBitmap huge(CreateBitmap(40000, 20000, 1, 1, nullptr));
    ASSERT_TRUE(huge);
    TestFolder folder;
    EXPECT_FALSE(WritePictureFile(huge.Get(), folder.File(L"huge.bmp"), PicSaveFormat::kBmp));
    EXPECT_FALSE(FileExists(folder.File(L"huge.bmp")));
    EXPECT_EQ(SavePicture(folder.Path(), PicSaveFormat::kBmp, huge.Get()), L"");
}

TEST(PictureFiles, FailedWritesReportFalseAndLeaveNoFile) {
    TestFolder folder;
    HBITMAP image = MakeImage(4, 4, Pattern);
    const std::wstring missing = folder.File(L"missing\\0001_x.png");
    EXPECT_FALSE(WritePictureFile(image, missing, PicSaveFormat::kPng));
    EXPECT_FALSE(WritePictureFile(image, folder.File(L"missing\\0001_x.bmp"), PicSaveFormat::kBmp));
    EXPECT_FALSE(WritePictureFile(image, L"", PicSaveFormat::kPng));
    EXPECT_FALSE(WriteBmpFile(nullptr, folder.File(L"a.bmp")));
    EXPECT_FALSE(FileExists(missing));
    DeleteObject(image);
}

TEST(FinishCapture, ASaveWhosePixelsCannotBeReadPutsThePictureOnTheClipboardInstead) {
    // Its pixels (3.2 GB as 32-bit ones) cannot be held by this 32-bit process: nothing can be
    // written, and the picture is not lost either.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    const HWND requester = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    NoAnnotations annotations;
    int handedOver = 0;
    ASSERT_TRUE(FinishCapture(*capture::FinishingActionFor(TOOL_BAR_BTN_TYPE::kSave), annotations,
                              [] { return CreateBitmap(40000, 20000, 1, 1, nullptr); },
                              [] { return PictureTarget{L"C:\\unused", PicSaveFormat::kPng}; },
                              [&](PictureWrite) { ++handedOver; }, requester));
    EXPECT_EQ(handedOver, 0);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, requester, WM_CAPTURE_RESULT, WM_CAPTURE_RESULT, PM_REMOVE));
    EXPECT_EQ(static_cast<CaptureResult>(message.wParam), CaptureResult::kSave);
    EXPECT_EQ(message.lParam, static_cast<LPARAM>(kCaptureFileNotWritten | kCaptureCopiedInstead));
    ASSERT_TRUE(OpenClipboard(nullptr));
    BITMAP held{};
    const auto onClipboard = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    EXPECT_TRUE(onClipboard && GetObjectW(onClipboard, sizeof held, &held));
    CloseClipboard();
    EXPECT_EQ(held.bmWidth, 40000);
    EXPECT_EQ(held.bmHeight, 20000);
    DestroyWindow(requester);
}

TEST(Clipboard, TakesTheBitmap) {
    HBITMAP image = MakeImage(20, 10, Pattern);
    ASSERT_TRUE(PutBitmapOnClipboard(image));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biWidth, 20);
    EXPECT_EQ(std::abs(header->biHeight), 10);
    GlobalUnlock(dib);
    CloseClipboard();
}

// Windows lets SetClipboardData fail for a clipboard opened without a window: a copy opens it for
// a window, which the previous owner sees as it is told the clipboard was emptied.
HWND g_openedBy = nullptr;
LRESULT CALLBACK PreviousOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROYCLIPBOARD) g_openedBy = GetOpenClipboardWindow();
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Clipboard, IsOpenedForAWindow) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PreviousOwner;
    windowClass.lpszClassName = L"PreviousClipboardOwner";
    ASSERT_TRUE(RegisterClassW(&windowClass));
    HWND previous = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(previous));
    EmptyClipboard();
    CloseClipboard();
    for (int round = 0; round < 2; ++round) {
        g_openedBy = nullptr;
        EXPECT_TRUE(round == 0 ? PutTextOnClipboard(L"owned") : PutBitmapOnClipboard(MakeImage(4, 4, Pattern)));
        EXPECT_NE(g_openedBy, nullptr) << round;
        EXPECT_NE(g_openedBy, previous);
        EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"STATIC", nullptr), nullptr) << "the window is gone again";
        ASSERT_TRUE(OpenClipboard(previous));  // the previous owner again, for the next round
        EmptyClipboard();
        CloseClipboard();
    }
    DestroyWindow(previous);
}

TEST(Clipboard, HeldAMomentByAnotherThreadTheCopyWaitsForIt) {
    std::atomic<int> state{0};  // 1: the holder has it open, 2: could not open it
    std::thread holder([&] {
        // Opened for a window of another thread, as another program opens it.
        HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (!OpenClipboard(window)) {
            state = 2;
            DestroyWindow(window);
            return;
        }
        state = 1;
        Sleep(50);  // as a clipboard manager reading a change
        CloseClipboard();
        DestroyWindow(window);
    });
    while (state == 0) Sleep(1);
    ASSERT_EQ(state, 1);
    EXPECT_FALSE(OpenClipboard(nullptr));  // it is really held now
    EXPECT_TRUE(PutTextOnClipboard(L"after the hold"));
    holder.join();
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_STREQ(text, L"after the hold");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
}

TEST(FullScreen, SavesCopiesAndTellsTheRequester) {
    TestFolder folder;
    HWND requester = CreateWindowExW(0, L"STATIC", L"requester", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                     nullptr);
    ASSERT_NE(requester, nullptr);
    CAppContext::Instance().SetLastPicturePath(L"before");
    const FullScreenCaptureResult result = CaptureFullScreen(folder.File(L"shots"), PicSaveFormat::kPng, requester);
    EXPECT_EQ(CAppContext::Instance().GetLastPicturePath(), L"before");  // the caller records it
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(result.copied);
    ASSERT_FALSE(result.path.empty());
    Gdiplus::Bitmap saved(result.path.c_str());
    EXPECT_EQ(static_cast<int>(saved.GetWidth()), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(static_cast<int>(saved.GetHeight()), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, requester, WM_FULLSCREEN_CAPTURE_DONE, WM_FULLSCREEN_CAPTURE_DONE, PM_REMOVE));
    // A folder that cannot be made: nothing saved, the requester is still told.
    const FullScreenCaptureResult failed = CaptureFullScreen(folder.File(L"no\\such"), PicSaveFormat::kBmp, requester);
    EXPECT_FALSE(failed.saved);
    EXPECT_TRUE(failed.path.empty());
    EXPECT_TRUE(PeekMessageW(&msg, requester, WM_FULLSCREEN_CAPTURE_DONE, WM_FULLSCREEN_CAPTURE_DONE, PM_REMOVE));
    DestroyWindow(requester);
}

namespace {

// Returns once the local time has just entered a new second (waiting at most two seconds), so
// that what follows at once happens within one second.
void WaitForNextSecond() {
    const std::time_t start = std::time(nullptr);
    for (int i = 0; i < 400 && std::time(nullptr) == start; ++i) Sleep(5);
}

int Width(const std::wstring& path) {
    Gdiplus::Bitmap decoded(path.c_str());
    return decoded.GetLastStatus() == Gdiplus::Ok ? static_cast<int>(decoded.GetWidth()) : -1;
}

size_t EntriesIn(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        count += entry.cFileName[0] != L'.';
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return count;
}

}  // namespace

TEST(SavePicture, AfterTheLargestIntTwoSavesInOneSecondKeepBothFiles) {
    TestFolder base;
    const std::wstring& folder = base.Path();
    WriteBytes(folder + L"\\2147483647_20240101_101010.png", "old");
    HBITMAP narrow = MakeImage(8, 4, Pattern), wide = MakeImage(12, 4, Pattern);
    WaitForNextSecond();
    const std::wstring first = SavePicture(folder, PicSaveFormat::kPng, narrow);
    const std::wstring second = SavePicture(folder, PicSaveFormat::kPng, wide);
    const std::wstring third = SavePicture(folder, PicSaveFormat::kBmp, wide);
    DeleteObject(narrow);
    DeleteObject(wide);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(first.substr(folder.size() + 1, 11), L"2147483648_");
    EXPECT_EQ(second.substr(folder.size() + 1, 11), L"2147483649_");
    // Numbers past the int range do not count: the BMP, whose name is free, takes the first again.
    EXPECT_EQ(third.substr(folder.size() + 1, 11), L"2147483648_");
    EXPECT_EQ(third.substr(third.size() - 4), L".bmp");
    // Each save is a file of its own with its own picture; the old file is untouched.
    EXPECT_EQ(Width(first), 8);
    EXPECT_EQ(Width(second), 12);
    EXPECT_EQ(ReadBytes(folder + L"\\2147483647_20240101_101010.png"), "old");
    EXPECT_EQ(EntriesIn(folder), 4u);
}

TEST(SavePicture, AFileWithTheComputedNameIsNeverOverwritten) {
    TestFolder base;
    const std::wstring& folder = base.Path();
    // A foreign file with a long number leaves the numbering alone; then a name that is taken by
    // a folder is skipped.
    WriteBytes(folder + L"\\1706700000000_x.png", "old");
    HBITMAP image = MakeImage(8, 4, Pattern);
    WaitForNextSecond();
    const std::wstring first = SavePicture(folder, PicSaveFormat::kPng, image);
    const std::string firstBytes = ReadBytes(first);
    const std::wstring second = SavePicture(folder, PicSaveFormat::kPng, image);
    DeleteObject(image);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(first.substr(folder.size() + 1, 5), L"0001_");
    EXPECT_EQ(second.substr(folder.size() + 1, 5), L"0002_");
    EXPECT_EQ(ReadBytes(first), firstBytes);
    // A taken name that is not a file of the folder's numbering either: a folder.
    const std::wstring taken = second.substr(0, folder.size() + 1) + L"0003" + second.substr(folder.size() + 5);
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    HBITMAP other = MakeImage(5, 5, Pattern);
    const std::wstring third = SavePicture(folder, PicSaveFormat::kPng, other);
    DeleteObject(other);
    EXPECT_NE(third, taken);
    EXPECT_FALSE(third.empty());
    EXPECT_EQ(GetFileAttributesW(taken.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(EntriesIn(folder), 5u);
}

namespace {

// Pictures counts as unwritable while one lives, as under Controlled Folder Access.
class PicturesUnwritable {
public:
    PicturesUnwritable() { SetPicturesUnwritableForTests(true); }
    ~PicturesUnwritable() { SetPicturesUnwritableForTests(false); }
    PicturesUnwritable(const PicturesUnwritable&) = delete;
    PicturesUnwritable& operator=(const PicturesUnwritable&) = delete;
};

// A real save of a small picture into folder; the file's path.
std::wstring SaveTestPicture(const std::wstring& folder) {
    const PixelPicture picture{std::vector<uint32_t>(4 * 3, 0x00336699), 4, 3};
    const SaveOutcome saved = SavePicture(folder, PicSaveFormat::kPng, picture);
    EXPECT_EQ(saved.failed, 0u);
    return saved.path;
}

}  // namespace

TEST(SavePicture, WhilePicturesCannotBeWrittenOnlyThatSaveGoesToTheTemporaryFolder) {
    const std::wstring temporaryDefault = JoinPath(TemporaryFolder(), L"screenshot_pic");
    const std::wstring picturesDefault = JoinPath(PicturesFolder(), L"screenshot_pic");
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    std::wstring inTemp;
    {
        PicturesUnwritable blocked;
        const std::wstring target = config.GetPicSavePath();
        EXPECT_EQ(target, temporaryDefault);
        inTemp = SaveTestPicture(target);
    }
    const std::wstring inPictures = SaveTestPicture(config.GetPicSavePath());
    EXPECT_EQ(ParentFolderOf(inTemp), temporaryDefault);
    EXPECT_TRUE(FileExists(inTemp));
    EXPECT_EQ(ParentFolderOf(inPictures), picturesDefault);
    EXPECT_TRUE(FileExists(inPictures));
    // The fallback was never written down: the file still names no folder.
    const std::optional<ConfigFileValues> stored = ParseConfigText(ReadBytes(path));
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->picSavePath);
    EXPECT_EQ(config.GetChosenPicFolder(), L"");
    DeleteFileW(inTemp.c_str());
    DeleteFileW(inPictures.c_str());
}

// A picture folder that is gone is made again (its parent is there); a file standing in its
// place, or in a parent's, is named as the reason instead of a missing folder, and stays as it was.
TEST(SavePicture, AMissingFolderIsMadeAgainAndAFileInItsPlaceIsNamed) {
    TestFolder folder;
    const PixelPicture picture{std::vector<uint32_t>(4 * 3, 0x00336699), 4, 3};
    const std::wstring gone = folder.File(L"screenshot_pic");
    EXPECT_EQ(ParentFolderOf(SaveTestPicture(gone)), gone);

    const std::wstring file = folder.File(L"taken");
    WriteBytes(file, "not a folder");
    for (const std::wstring& target : {file, file + L"\\below"}) {
        const SaveOutcome saved = SavePicture(target, PicSaveFormat::kPng, picture);
        EXPECT_EQ(saved.failed, kCaptureFileNotWritten | kCaptureFileInTheWay) << testing::PrintToString(target);
        EXPECT_EQ(saved.path, L"");
    }
    EXPECT_EQ(ReadBytes(file), "not a folder");
    const SaveOutcome missing = SavePicture(folder.File(L"no\\such"), PicSaveFormat::kPng, picture);
    EXPECT_EQ(missing.failed, kCaptureFileNotWritten | kCaptureFolderMissing);
}

TEST(SavePicture, AccessRefusedInAFolderWindowsGuardsNamesControlledFolderAccess) {
    const std::wstring pictures = PicturesFolder();
    ASSERT_FALSE(pictures.empty());
    const std::wstring inside = JoinPath(pictures, L"screenshot_pic");
    const unsigned refused = SaveFailureIn(inside, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(refused & kCaptureProtectedFolder);
    EXPECT_TRUE(refused & kCaptureNoPermission);
    // Another reason in a guarded folder, and access refused elsewhere, say nothing of it.
    EXPECT_FALSE(SaveFailureIn(inside, ERROR_DISK_FULL) & kCaptureProtectedFolder);
    const TestFolder elsewhere;
    EXPECT_FALSE(SaveFailureIn(elsewhere.Path(), ERROR_ACCESS_DENIED) & kCaptureProtectedFolder);
}
