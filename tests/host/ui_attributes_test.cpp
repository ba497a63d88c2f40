#include <gtest/gtest.h>

#include "base/utf8_codec.h"
#include "ui_toolkit/ui_attributes.h"

using namespace DuiLib;

TEST(UiAttributes, RectsSizesAndIntegers) {
    EXPECT_EQ(ParseRectAttribute(L"16,8,10,8"), (base::Rect{16, 8, 10, 8}));
    EXPECT_EQ(ParseRectAttribute(L" 1, 2 ,3,4 "), (base::Rect{1, 2, 3, 4}));
    EXPECT_EQ(ParseRectAttribute(L"5,6"), (base::Rect{5, 6, 0, 0}));
    EXPECT_EQ(ParseRectAttribute(L"-3,x,7,8"), (base::Rect{-3, 0, 7, 8}));
    EXPECT_EQ(ParseRectAttribute(L""), (base::Rect{}));
    EXPECT_EQ(ParseSizeAttribute(L"605,127"), (base::Size{605, 127}));
    EXPECT_EQ(ParseIntAttribute(L"12px"), 12);
    EXPECT_EQ(ParseIntAttribute(L"+7"), 7);
    EXPECT_EQ(ParseIntAttribute(L"99999999999"), 0x7FFFFFFF);
    EXPECT_EQ(ParseIntAttribute(L"abc"), 0);
}

TEST(UiAttributes, FlagsAreTrueOnlyForTrue) {
    EXPECT_TRUE(ParseBoolAttribute(L"true"));
    EXPECT_TRUE(ParseBoolAttribute(L"TRUE"));
    EXPECT_FALSE(ParseBoolAttribute(L"1"));
    EXPECT_FALSE(ParseBoolAttribute(L"yes"));
    EXPECT_FALSE(ParseBoolAttribute(L""));
}

TEST(UiAttributes, Colours) {
    EXPECT_EQ(ParseColorAttribute(L"#FF009BFF"), 0xFF009BFFu);
    EXPECT_EQ(ParseColorAttribute(L"#00FFFF00"), 0x00FFFF00u);
    EXPECT_EQ(ParseColorAttribute(L"#1677FF"), 0xFF1677FFu);  // six digits: opaque
    EXPECT_EQ(ParseColorAttribute(L"0XFFD9D9D9"), 0xFFD9D9D9u);
    EXPECT_EQ(ParseColorAttribute(L"0x1677FF"), 0xFF1677FFu);
    EXPECT_FALSE(ParseColorAttribute(L"#12345"));
    EXPECT_FALSE(ParseColorAttribute(L"#GG0000"));
    EXPECT_FALSE(ParseColorAttribute(L"red"));
    EXPECT_FALSE(ParseColorAttribute(L""));
}

TEST(UiAttributes, ImageDescriptors) {
    ImageDescriptor bare = ParseImageDescriptor(L"main_wnd/bk.png");
    EXPECT_EQ(bare.file, L"main_wnd/bk.png");
    EXPECT_FALSE(bare.dest);
    EXPECT_FALSE(bare.source);

    ImageDescriptor full = ParseImageDescriptor(
        L"file='set_wnd/radio.png' dest='0,16,17,33' source='17,0,34,17' corner='2,3,4,5' fade='128'");
    EXPECT_EQ(full.file, L"set_wnd/radio.png");
    ASSERT_TRUE(full.dest);
    EXPECT_EQ(*full.dest, (base::Rect{0, 16, 17, 33}));
    ASSERT_TRUE(full.source);
    EXPECT_EQ(*full.source, (base::Rect{17, 0, 34, 17}));
    EXPECT_EQ(full.corner, (base::Rect{2, 3, 4, 5}));
    EXPECT_EQ(full.fade, 128);

    EXPECT_EQ(ParseImageDescriptor(L"file=\"a b.png\" fade='999'").file, L"a b.png");
    EXPECT_EQ(ParseImageDescriptor(L"file=\"a b.png\" fade='999'").fade, 255);
    // An unquoted value ends the reading; what was read so far stands.
    ImageDescriptor broken = ParseImageDescriptor(L"file='x.png' dest=0,0,1,1");
    EXPECT_EQ(broken.file, L"x.png");
    EXPECT_FALSE(broken.dest);
    EXPECT_TRUE(ParseImageDescriptor(L"file='unterminated").IsEmpty());
}

TEST(UiAttributes, AttributeLists) {
    const auto pairs = ParseAttributeList(
        L"width=\"36\" textpadding=\"24,0,0,0\"  stateimage=\"file='r.png' dest='0,16,17,33'\"");
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0], (std::pair<std::wstring, std::wstring>{L"width", L"36"}));
    EXPECT_EQ(pairs[2].second, L"file='r.png' dest='0,16,17,33'");
    EXPECT_EQ(ParseAttributeList(L"a=\"1\" b=2 c=\"3\"").size(), 1u);
    EXPECT_TRUE(ParseAttributeList(L"").empty());
}

TEST(UiAttributes, LineBreakMarkersAndText) {
    EXPECT_EQ(ExpandLineBreaks(L"\x53CC\x51FB<n>\x53F3\x952E"), L"\x53CC\x51FB\r\n\x53F3\x952E");
    EXPECT_EQ(ExpandLineBreaks(L"a{n}b<n"), L"a\r\nb<n");
    EXPECT_EQ(Utf8ToUtf16("\xE5\xBE\xAE\xE8\xBD\xAF"), L"\x5FAE\x8F6F");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x92\xA1"), std::wstring(L"\xD83D\xDCA1"));
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), std::wstring(L"a\xFFFD" L"b"));
    EXPECT_EQ(Utf8ToUtf16("\xE5\xBE"), std::wstring(L"\xFFFD\xFFFD"));
    EXPECT_EQ(ToLowerAscii(L"Rectangle_BTN"), L"rectangle_btn");
}
