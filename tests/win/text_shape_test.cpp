// A text annotation on a window of its own: typed into its editor, painted onto a back buffer in
// its colour with a caret and a frame while edited, committed whole by a press outside, opened
// again, and its editor released once whichever goes first, the shape or the owner window.
// Wine draws the alpha-1 editor host opaque on the screen (Windows shows nothing of it), so these
// checks read the shape's own painting, never the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <string>

#include "annotation/shape_painter_win.h"
#include "annotation/text_shape_win.h"
#include "base/dib_canvas.h"
#include "real_input.h"

namespace {

constexpr uint32_t kBlue = 0x009BFF;

class TextShape : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"text owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(owner_);
        ASSERT_TRUE(canvas_.Create(nullptr, 400, 300));
        text_ = std::make_unique<CShapeText>(registry_, GetModuleHandleW(nullptr), owner_);
        text_->OnMouseDown(100, 80);  // opens the editor there
        text_->OnMouseUp();
        ASSERT_NE(text_->Editor(), nullptr);
        edit_ = text_->Editor()->Edit();
        ASSERT_TRUE(edit_);
    }
    void TearDown() override {
        text_.reset();
        if (IsWindow(owner_)) DestroyWindow(owner_);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(edit_, WM_CHAR, c, 0);
    }
    // Paints the shape on black, as the overlay (editing) or the picture does; counts blue pixels.
    int Paint(bool editing) {
        std::fill(canvas_.Bits(), canvas_.Bits() + 400 * 300, 0u);
        {
            GdiplusShapePainter painter(canvas_.Dc(), RECT{0, 0, 400, 300}, POINT{0, 0}, editing);
            text_->Draw(painter);
        }
        GdiFlush();
        int blue = 0;
        for (int i = 0; i < 400 * 300; ++i) blue += (canvas_.Bits()[i] & 0xFFFFFF) == kBlue;
        return blue;
    }
    uint32_t At(int x, int y) const { return canvas_.Bits()[y * 400 + x] & 0xFFFFFF; }

    ShapeConfigRegistry registry_;
    HWND owner_ = nullptr;
    HWND edit_ = nullptr;
    DibCanvas canvas_;
    std::unique_ptr<CShapeText> text_;
};

}  // namespace

TEST_F(TextShape, TypedTextIsPaintedWithCaretAndFrameWhileEditedAndAloneWhenCommitted) {
    const base::Rect empty = text_->Box();
    EXPECT_EQ(empty.left, 100);
    EXPECT_EQ(empty.top, 80);
    EXPECT_TRUE(text_->Selected());
    Type(L"Hello\r你好");
    const base::Rect box = text_->Box();
    EXPECT_GT(box.Width(), empty.Width());
    EXPECT_GT(box.Height(), empty.Height());  // two lines
    // The frame (2 wide) on the box's left edge, the caret and the glyphs inside.
    SetFocus(edit_);
    ASSERT_TRUE(text_->Editor()->Focused());
    const int edited = Paint(true);
    EXPECT_EQ(At(box.left, box.top + box.Height() / 2), kBlue);
    // Committed by a press outside: the editor hides, the text is painted alone.
    text_->OnMouseDown(350, 250);
    EXPECT_EQ(text_->CommittedText(), L"Hello\r\n你好");
    EXPECT_FALSE(text_->Editor()->Visible());
    const int committed = Paint(false);
    EXPECT_GT(committed, 50);
    EXPECT_LT(committed, edited);
    EXPECT_NE(At(box.left, box.top + box.Height() / 2), kBlue);
    EXPECT_EQ(Paint(true), committed);  // not selected: no frame, and no caret without focus
    // A double click opens it again; a press inside moves the box.
    text_->ReopenEditor();
    EXPECT_TRUE(text_->Editor()->Visible());
    text_->OnMouseDown(box.left + 3, box.top + 3);
    text_->OnMouseMove(box.left + 23, box.top + 13);
    text_->OnMouseUp();
    EXPECT_EQ(text_->Box().left, box.left + 20);
    EXPECT_EQ(text_->Box().top, box.top + 10);
}

TEST_F(TextShape, CaretBlinksAndTheColourAndSizeTakeEffectAtOnce) {
    SetFocus(edit_);
    Type(L"x");
    ASSERT_TRUE(text_->Editor()->CaretVisible());
    EXPECT_TRUE(WaitFor([this] { return !text_->Editor()->CaretVisible(); }, 3000));
    EXPECT_TRUE(WaitFor([this] { return text_->Editor()->CaretVisible(); }, 3000));
    const base::Rect small = text_->Box();
    TextConfig& config = registry_.Get<TextConfig>();
    config.fontSize = 36;
    config.color = 0x80FF3141;  // the alpha does not reach the text
    text_->ReloadConfig();
    EXPECT_GT(text_->Box().Height(), small.Height());
    Paint(false);
    int red = 0;
    for (int i = 0; i < 400 * 300; ++i) red += (canvas_.Bits()[i] & 0xFFFFFF) == 0xFF3141;
    EXPECT_GT(red, 20);
}

TEST_F(TextShape, ASelectionShowsInHighlightColoursAndOnlyTheBoxAsksForACursor) {
    Type(L"Hello world");
    SetFocus(edit_);
    const uint32_t highlight = GetSysColor(COLOR_HIGHLIGHT);
    const uint32_t rgb = (highlight & 0xFF) << 16 | (highlight & 0xFF00) | (highlight >> 16 & 0xFF);
    const auto highlighted = [&] {
        int n = 0;
        for (int i = 0; i < 400 * 300; ++i) n += (canvas_.Bits()[i] & 0xFFFFFF) == rgb;
        return n;
    };
    Paint(true);
    EXPECT_EQ(highlighted(), 0);
    SendMessageW(edit_, EM_SETSEL, 0, 5);  // "Hello"
    Paint(true);
    const int hello = highlighted();
    EXPECT_GT(hello, 50);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    Paint(true);
    EXPECT_GT(highlighted(), hello);
    Paint(false);  // the picture never shows it
    EXPECT_EQ(highlighted(), 0);

    const base::Rect box = text_->Box();
    EXPECT_EQ(text_->CursorAt(box.left + 2, box.top + 2), base::CursorKind::kSizeAll);
    text_->OnMouseDown(box.right + 30, box.bottom + 30);  // a press outside lets it go
    EXPECT_FALSE(text_->Selected());
    EXPECT_EQ(text_->CursorAt(box.left + 2, box.top + 2), std::nullopt) << "only a selected text moves";
    EXPECT_EQ(text_->CursorAt(box.right + 30, box.bottom + 30), std::nullopt);  // the overlay's stays
}

TEST_F(TextShape, ASelectionOverTwoLinesShowsOnlyWhatIsSelectedOnEach) {
    Type(L"Hello\rworld");
    SetFocus(edit_);
    const uint32_t highlight = GetSysColor(COLOR_HIGHLIGHT);
    const uint32_t rgb = (highlight & 0xFF) << 16 | (highlight & 0xFF00) | (highlight >> 16 & 0xFF);
    // The highlighted pixels' leftmost and rightmost column on the upper and the lower line.
    struct Band {
        int left = 400, right = -1;
    };
    const auto bands = [&] {
        std::vector<int> rows;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x) {
                if ((canvas_.Bits()[y * 400 + x] & 0xFFFFFF) == rgb) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        Band upper, lower;
        if (rows.empty()) return std::make_pair(upper, lower);
        const int middle = (rows.front() + rows.back()) / 2;
        for (int y = rows.front(); y <= rows.back(); ++y) {
            Band& band = y <= middle ? upper : lower;
            for (int x = 0; x < 400; ++x) {
                if ((canvas_.Bits()[y * 400 + x] & 0xFFFFFF) != rgb) continue;
                band.left = std::min(band.left, x);
                band.right = std::max(band.right, x);
            }
        }
        return std::make_pair(upper, lower);
    };
    SendMessageW(edit_, EM_SETSEL, 0, 5);  // "Hello" whole, on its own line
    Paint(true);
    const auto [wholeTop, wholeBottom] = bands();
    const int helloRight = std::max(wholeTop.right, wholeBottom.right);
    SendMessageW(edit_, EM_SETSEL, 2, 9);  // "llo", the line break, "wo"
    Paint(true);
    const auto [upper, lower] = bands();
    ASSERT_GE(upper.right, 0);
    ASSERT_GE(lower.right, 0);
    EXPECT_GT(upper.left, lower.left + 5) << "the upper line's selection starts after \"He\"";
    EXPECT_EQ(upper.right, helloRight) << "a selection from inside the line reaches the end of \"llo\"";
    SendMessageW(edit_, EM_SETSEL, 7, 12);  // "world" whole
    Paint(true);
    EXPECT_GT(bands().second.right, lower.right + 5) << "\"wo\" only, not the whole lower line";
}

TEST_F(TextShape, EnterGrowsTheBoxAtOnce) {
    Type(L"ab");
    const int height = text_->Box().Height();
    SendMessageW(edit_, WM_CHAR, L'\r', 0);
    EXPECT_GT(text_->Box().Height(), height);  // the new, still empty line counts
}

TEST_F(TextShape, ALongTextIsCommittedWhole) {
    const std::wstring long_text(2000, L'a');
    SetWindowTextW(edit_, long_text.c_str());
    text_->OnMouseDown(390, 290);
    EXPECT_EQ(text_->CommittedText(), long_text);
}

TEST_F(TextShape, EditorIsReleasedOnceWhicheverGoesFirst) {
    const HWND host = text_->Editor()->Host();
    // The owner first: its windows go, the shape keeps an editor without them.
    DestroyWindow(owner_);
    EXPECT_FALSE(IsWindow(host));
    EXPECT_EQ(text_->Editor()->Host(), nullptr);
    EXPECT_EQ(text_->Editor()->Text(), L"");
    Paint(true);  // paints nothing, touches no window
    text_.reset();

    // The shape first: it takes its windows with it; the owner goes later on its own.
    owner_ = CreateWindowExW(0, L"STATIC", L"text owner", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    text_ = std::make_unique<CShapeText>(registry_, GetModuleHandleW(nullptr), owner_);
    text_->OnMouseDown(10, 10);
    const HWND second = text_->Editor()->Host();
    ASSERT_TRUE(IsWindow(second));
    text_.reset();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(DestroyWindow(owner_));
}
