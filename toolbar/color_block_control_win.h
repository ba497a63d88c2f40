// CColorBlockControlUI: an option that shows a colour as a block inside a border. While selected
// its border takes the selected width and colour, and the block shrinks with the wider border.
#pragma once

#include "toolbar/control_attributes.h"
#include "ui_toolkit/ui_button.h"

namespace DuiLib {

class CColorBlockControlUI : public COptionUI {
public:
    CColorBlockControlUI();
    ~CColorBlockControlUI() override;

    LPCTSTR GetClass() const override;
    // "ColorBlock" is this control; other names are the option's.
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    // The border and the block, under the option's own background image.
    void PaintBkImage(HDC hDC) override;

private:
    ColorBlockLook look_;
};

}  // namespace DuiLib
