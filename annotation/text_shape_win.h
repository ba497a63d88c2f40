// CShapeText: a text annotation typed in place. The press that makes it opens the editor
// (CTextEditWnd) at that point; a press outside the box commits the text and hides the editor;
// a double click inside the box reopens it; a press inside selects and moves the box. The
// shape paints the editor's lines in its colour and font, with a caret and, while selected, a
// frame; the committed picture holds the text alone.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "annotation/shape_base.h"
#include "annotation/shape_config.h"
#include "annotation/text_edit_wnd_win.h"

class CShapeText : public CShapeBase {
public:
    // The text starts this far in from the box's top left corner.
    static constexpr int kTextInset = 5;

    // The text is typed into an editor owned by overlay, made with the program's instance.
    CShapeText(ShapeConfigRegistry& registry, HINSTANCE instance, HWND overlay);

    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override { moving_ = false; }
    void Draw(ShapePainter& painter) const override;
    bool HitTest(int x, int y) const override { return Box().Contains(x, y); }
    bool IsValid() const override { return !Box().IsEmpty(); }
    void ReloadConfig() override;
    int Type() const override { return TextConfig::kType; }
    std::optional<base::CursorKind> CursorAt(int x, int y) const override;
    base::Rect Extent() const override;
    void StoreConfig() const override { registry_.Get<TextConfig>() = config_; }
    void ReopenEditor() override;

    // The box: where the text shows, 5 pixels in from its top left corner.
    base::Rect Box() const;
    const std::wstring& CommittedText() const { return text_; }
    const TextConfig& GetConfig() const { return config_; }
    bool Selected() const { return selected_; }
    bool Opening() const { return opening_; }
    const CTextEditWnd* Editor() const { return editor_.get(); }

private:
    void Open(int x, int y);
    void Commit();
    void PlaceHost();

    ShapeConfigRegistry& registry_;
    HINSTANCE instance_;
    HWND overlay_;
    base::Rect box_;
    base::Rect boxAtPress_;
    base::Point press_;
    std::wstring text_;
    TextConfig config_;
    std::unique_ptr<CTextEditWnd> editor_;
    bool moving_ = false;
    bool opening_ = false;
    bool selected_ = false;
    bool shown_ = false;
};
