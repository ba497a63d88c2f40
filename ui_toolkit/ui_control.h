// CControlUI: the base of every control: name, geometry, visibility, background colour and
// image, border, tooltip, text, custom attributes, and painting in layers.
#pragma once

#include <windows.h>

#include <map>

#include "ui_toolkit/ui_attributes.h"
#include "ui_toolkit/ui_notify.h"
#include "ui_toolkit/ui_string.h"

namespace Gdiplus {
class Graphics;
}

namespace DuiLib {

class CPaintManagerUI;

// Control state bits.
enum : UINT {
    UISTATE_HOT = 0x01,
    UISTATE_PUSHED = 0x02,
    UISTATE_SELECTED = 0x04,
    UISTATE_DISABLED = 0x08,
    UISTATE_FOCUSED = 0x10,
    UISTATE_CAPTURED = 0x20,
};

enum UiEventType {
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEMOVE,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_DBLCLICK,
    UIEVENT_SETFOCUS,
    UIEVENT_KILLFOCUS,
    UIEVENT_KEYDOWN,
};

struct TEventUI {
    UiEventType Type;
    CControlUI* pSender;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
};

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual LPCTSTR GetClass() const;
    virtual LPVOID GetInterface(LPCTSTR pstrName);

    const CDuiString& GetName() const { return m_sName; }
    void SetName(LPCTSTR pstrName) { m_sName = pstrName; }

    virtual CDuiString GetText() const { return m_sText; }
    virtual void SetText(LPCTSTR pstrText);

    // Geometry. SetPos places the control (containers place their children).
    const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    int GetFixedWidth() const { return m_cxyFixed.cx; }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.cy; }
    void SetFixedHeight(int cy);
    RECT GetPadding() const { return m_rcPadding; }
    void SetPadding(RECT rc);
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool bFloat);
    RECT GetFloatPos() const { return m_rcFloat; }
    // A floating control's place in its parent; a side of zero length takes the fixed size.
    void SetFloatPos(RECT rc);
    // The size the control wants in a layout; labels may measure their text.
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool bVisible = true);
    bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool bEnable = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool bEnable) { m_bMouseEnabled = bEnable; }
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool bEnable) { m_bMouseChildEnabled = bEnable; }
    // True for controls that act on clicks or typing; a press on them never drags the window.
    virtual bool IsInteractive() const { return false; }
    bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();
    // Controls that own a native child window (edits) say so; such windows are not layered.
    virtual bool NeedsNativeWindow() const { return false; }

    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwColor);
    LPCTSTR GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCTSTR pStrImage);
    void SetBorderColor(DWORD dwColor);
    void SetBorderSize(int nSize);
    void SetBorderRound(SIZE cxyRound);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }

    CDuiString GetToolTip() const { return m_sToolTip; }
    void SetToolTip(LPCTSTR pstrText);
    LPCTSTR GetCursorName() const { return m_sCursor; }

    // Layout attributes by name; unknown names are kept as custom attributes.
    virtual void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue);
    void AddCustomAttribute(LPCTSTR pstrName, LPCTSTR pstrAttr);
    LPCTSTR GetCustomAttribute(LPCTSTR pstrName) const;

    void Invalidate();
    void NeedUpdate();        // this control's layout must be redone
    void NeedParentUpdate();  // the parent's layout must be redone (size or visibility changed)
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }

    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual void DoInit() {}
    virtual void Init();

    // The deepest visible control under the point that takes the mouse, or null.
    virtual CControlUI* FindControlAt(POINT pt);
    // Calls visit for this control and every descendant.
    virtual void ForEach(void (*visit)(CControlUI*, void*), void* data);

    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    // Painting, in layers: background colour, background image, state image, text, border.
    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);

protected:
    // Draws an image description into this control's rectangle; false when the image is missing.
    bool DrawImage(HDC hDC, const CDuiString& image);
    // The graphics of the current paint pass.
    Gdiplus::Graphics* Canvas(HDC hDC) const;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sBkImage;
    CDuiString m_sCursor;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    RECT m_rcFloat{};
    SIZE m_cxyFixed{};
    SIZE m_cxyBorderRound{};
    DWORD m_dwBackColor = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bMouseChildEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bUpdateNeeded = true;
    std::map<std::wstring, std::wstring> m_customAttributes;
};

}  // namespace DuiLib
