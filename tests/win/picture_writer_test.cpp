// The picture writer's thread: a picture counts as pending from its save until its file is
// there, so that an exit or an update that waits for the writer never drops it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "capture/picture_writer.h"
#include "test_folder.h"

TEST(PictureWriter, APictureIsPendingUntilItsFileIsWritten) {
    TestFolder folder;
    PictureWriter writer;
    // Held by the thread a while before it is written, as a slow disk would hold it.
    const std::wstring gate = folder.File(L"hold");
    WriteBytes(gate, "");
    writer.HoldWritesWhileFileExists(gate);
    auto picture = std::make_shared<PixelPicture>();
    picture->width = 8;
    picture->height = 4;
    picture->pixels.assign(32, 0x336699);
    writer.Submit(PictureWrite{picture, PictureTarget{folder.Path(), PicSaveFormat::kBmp}, CaptureResult::kSave, 0, false});
    picture.reset();
    Sleep(300);
    EXPECT_FALSE(writer.WaitIdle(0)) << "held back while the file exists";
    EXPECT_FALSE(writer.TakeWritten().has_value());
    std::thread release([&gate] {
        Sleep(200);
        DeleteFileW(gate.c_str());
    });
    // The first moment the writer says it is idle, the file is there and its outcome waits.
    const DWORD start = GetTickCount();
    while (!writer.WaitIdle(0) && GetTickCount() - start < 20000) Sleep(1);
    release.join();
    const std::optional<PictureWritten> written = writer.TakeWritten();
    ASSERT_TRUE(written.has_value()) << "idle before the picture was written";
    EXPECT_EQ(written->failed, 0u);
    EXPECT_TRUE(FileExists(written->path));
}
