#include <gtest/gtest.h>

#include <string>

#include "settings/config_codec.h"

TEST(ConfigText, EmptyObjectGivesNothing) {
    auto values = ParseConfigText("{}");
    ASSERT_TRUE(values);
    EXPECT_FALSE(values->picSavePath);
    EXPECT_FALSE(values->hideMainWndWhenCapture);
    EXPECT_FALSE(values->restoreMainWndAfterCapture);
    EXPECT_FALSE(values->picSaveFormat);
    EXPECT_FALSE(values->captureHotkey);
}

TEST(ConfigText, ReadsEachMemberOnlyWithItsKind) {
    auto values = ParseConfigText(R"({"pic_save_path": "D:\\pics", "hide_main_wnd_when_capture":
        false, "is_need_restore_main_wnd_after_capture": true, "pic_save_format": "PNG",
        "capture_hotkey": "Alt+F1", "other": 1})");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->picSavePath, "D:\\pics");
    EXPECT_EQ(values->hideMainWndWhenCapture, false);
    EXPECT_EQ(values->restoreMainWndAfterCapture, true);
    EXPECT_EQ(values->picSaveFormat, PicSaveFormat::kPng);
    EXPECT_EQ(values->captureHotkey, "Alt+F1");

    auto wrongKinds = ParseConfigText(R"({"pic_save_path": 5, "hide_main_wnd_when_capture": "true",
        "is_need_restore_main_wnd_after_capture": 1, "pic_save_format": true, "capture_hotkey": 44})");
    ASSERT_TRUE(wrongKinds);
    EXPECT_FALSE(wrongKinds->picSavePath);
    EXPECT_FALSE(wrongKinds->hideMainWndWhenCapture);
    EXPECT_FALSE(wrongKinds->restoreMainWndAfterCapture);
    EXPECT_FALSE(wrongKinds->picSaveFormat);
    EXPECT_FALSE(wrongKinds->captureHotkey);
}

TEST(ConfigText, OnlyUpperCasePngSelectsPng) {
    for (const char* other : {"png", "BMP", "Png", "PNG ", "", "JPG"}) {
        auto values = ParseConfigText(std::string(R"({"pic_save_format": ")") + other + "\"}");
        ASSERT_TRUE(values) << other;
        EXPECT_EQ(values->picSaveFormat, PicSaveFormat::kBmp) << other;
    }
}

TEST(ConfigText, PathStopsAtAnEscapedNul) {
    auto values = ParseConfigText(R"({"pic_save_path": "C:\\a\u0000b"})");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->picSavePath, "C:\\a");
}

TEST(ConfigText, ByteOrderMarkAndCrLfAreRead) {
    auto values = ParseConfigText("\xEF\xBB\xBF{\r\n    \"hide_main_wnd_when_capture\": false\r\n}");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->hideMainWndWhenCapture, false);
}

TEST(ConfigText, DamagedOrNonObjectTextIsRefused) {
    for (const char* bad : {"", "garbage", "[]", "\"text\"", "{\"a\":", "{\"a\":1,\"a\":2}",
                            "\x00{}", "null"}) {
        EXPECT_FALSE(ParseConfigText(bad)) << bad;
    }
}

TEST(ConfigText, SaveTextHasFixedOrderEscapesAndCrLf) {
    EXPECT_EQ(FormatConfigText("C:\\Users\\a/b", true, false, PicSaveFormat::kPng, "Ctrl+Shift+A"),
              "{\r\n"
              "    \"pic_save_path\": \"C:\\\\Users\\\\a\\/b\",\r\n"
              "    \"hide_main_wnd_when_capture\": true,\r\n"
              "    \"is_need_restore_main_wnd_after_capture\": false,\r\n"
              "    \"pic_save_format\": \"PNG\",\r\n"
              "    \"capture_hotkey\": \"Ctrl+Shift+A\"\r\n"
              "}");
    const std::string bmp = FormatConfigText("", false, true, PicSaveFormat::kBmp, "");
    EXPECT_EQ(bmp.find("pic_save_path"), std::string::npos);  // no folder: the default
    EXPECT_NE(bmp.find("\"pic_save_format\": \"BMP\""), std::string::npos);
    EXPECT_NE(bmp.find("\"is_need_restore_main_wnd_after_capture\": true"), std::string::npos);
    EXPECT_NE(bmp.find("\"capture_hotkey\": \"\""), std::string::npos);
    EXPECT_EQ(FormatConfigText("x", true, true, static_cast<PicSaveFormat>(7), "").find("PNG"), std::string::npos);
}

TEST(ConfigText, SavedTextReadsBackTheSame) {
    const std::string path = "D:\\\xE6\x88\xAA\xE5\x9B\xBE \"quoted\"/sub";
    auto values = ParseConfigText(FormatConfigText(path, false, true, PicSaveFormat::kBmp, "F2"));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->picSavePath, path);
    EXPECT_EQ(values->hideMainWndWhenCapture, false);
    EXPECT_EQ(values->restoreMainWndAfterCapture, true);
    EXPECT_EQ(values->picSaveFormat, PicSaveFormat::kBmp);
    EXPECT_EQ(values->captureHotkey, "F2");
}

TEST(ConfigText, InvalidUtf8PathCannotBeSaved) {
    EXPECT_EQ(FormatConfigText("\xFF\xFE", true, false, PicSaveFormat::kPng, ""), "");
}

TEST(ConfigText, LineFeedsBecomeCrLf) {
    EXPECT_EQ(ToCrLf("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(ToCrLf(""), "");
}
