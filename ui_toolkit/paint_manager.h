// CPaintManagerUI: the per-window engine of the toolkit (control tree, layout, double-buffered
// painting, mouse and focus routing, notifications, fonts, images, tooltips) and the
// process-wide resource settings (instance, resource path, the skin archive).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/dib_canvas.h"
#include "ui_toolkit/option_groups.h"
#include "ui_toolkit/ui_control.h"
#include "ui_toolkit/ui_render.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
class Font;
}

namespace DuiLib {

// Where windows find their layouts and images.
enum UILIB_RESOURCETYPE {
    UILIB_FILE = 1,      // loose files under the resource path
    UILIB_ZIP = 2,       // a ZIP file under the resource path
    UILIB_RESOURCE = 3,  // a resource of the program
    UILIB_ZIPRESOURCE = 4,  // a ZIP held in memory (from the program's resources)
};

struct TFontInfo {
    HFONT hFont = nullptr;
    std::unique_ptr<Gdiplus::Font> font;
    CDuiString sFontName;
    int iSize = 0;
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    ~TFontInfo();
};

class CEditUI;
class ShadowWindow;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Process-wide settings.
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    static CDuiString GetInstancePath();  // the program's folder with a trailing separator
    static void SetResourcePath(LPCTSTR pStrPath);
    static const CDuiString& GetResourcePath();
    static void SetResourceType(int nType);
    static int GetResourceType();
    static void SetResourceDll(HINSTANCE hInst);
    static HINSTANCE GetResourceDll();
    // Hands over the skin archive as a memory block (copied). False when it is not a ZIP.
    static bool SetResourceZip(LPVOID pVoid, unsigned int len, LPCTSTR password = nullptr);
    // Reads a file of the skin: from the archive, or from the resource path for loose files.
    static bool LoadResourceFile(LPCTSTR pstrName, std::vector<uint8_t>& bytes);
    // A decoded image of the skin (cached for the process), or a picture file on disk.
    std::shared_ptr<const UiImage> GetImage(const CDuiString& file);
    static void MessageLoop();

    // The window.
    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    HWND GetTooltipWindow() const { return m_hwndTooltip; }
    bool AttachDialog(CControlUI* pControl);
    CControlUI* GetRoot() const { return m_pRoot; }
    void ReapObjects(CControlUI* pControl);  // forgets a control that is being deleted

    CControlUI* FindControl(LPCTSTR pstrName) const;
    CControlUI* FindControl(POINT pt) const;
    void NameControl(CControlUI* pControl);

    void Invalidate();
    void Invalidate(const RECT& rcItem);
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }

    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
    bool IsLayered() const { return m_bLayered; }
    void SetLayered(bool bLayered) { m_bLayered = bLayered; }
    int GetTextRenderingHint() const { return m_nTextRenderingHint; }
    void SetTextRenderingHint(int nHint) { m_nTextRenderingHint = nHint; }
    void SetShadow(bool bShow, int nSize, DWORD dwColor);

    // Fonts: by id, and a default one for controls that name none.
    void AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    void SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    TFontInfo* GetFontInfo(int id);  // the default font for unknown ids
    bool HasFont(int id) const { return m_fonts.count(id) > 0; }
    const std::map<int, std::unique_ptr<TFontInfo>>& GetFonts() const { return m_fonts; }
    SIZE MeasureText(LPCTSTR pstrText, int iFont);

    // Default attribute lists per control class, and named styles.
    void AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList);
    LPCTSTR GetDefaultAttributeList(LPCTSTR pStrControlName) const;
    void AddStyle(LPCTSTR pName, LPCTSTR pStyle);
    LPCTSTR GetStyle(LPCTSTR pName) const;

    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    void SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0);

    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* pControl);
    void RegisterNativeEdit(HWND hWnd, CEditUI* pEdit);
    OptionGroups& GetOptionGroups() { return m_optionGroups; }

    // The graphics of the paint pass in progress (null outside one).
    Gdiplus::Graphics* GetCanvas() const { return m_canvas.get(); }
    // The frame being painted (null outside a paint), for controls that copy pixels into it.
    uint32_t* FrameBits(int& width, int& height) {
        width = m_buffer.Width();
        height = m_buffer.Height();
        return m_canvas ? m_buffer.Bits() : nullptr;
    }
    // Gives this window a picture for an absolute path, so it is not read from the file.
    void AddFileImage(const std::wstring& path, std::shared_ptr<const UiImage> image) {
        if (image) m_fileImages[path] = std::move(image);
    }

    // The window is gone: drops what belonged to it (tooltip, shadow, native edits).
    void OnPaintWindowDestroyed();

    // Runs the filters, then the toolkit's own handling. True when the message was consumed.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Paints the whole window into the back buffer and shows it (on screen or layered).
    void Paint(HDC hdcTarget);
    // The last painted frame's pixels (premultiplied BGRA), for tests and screenshots.
    const uint32_t* GetFramePixels(int& width, int& height) const;

private:
    void UpdateLayout();
    void EnsureBackBuffer(int width, int height);
    void ShowTooltip(CControlUI* pControl);
    void HideTooltip();
    void SetHover(CControlUI* pControl, POINT pt);
    bool OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWndPaint = nullptr;
    HWND m_hwndTooltip = nullptr;
    CControlUI* m_pTooltipControl = nullptr;
    std::wstring m_tooltipText;  // the tooltip window points at it while shown
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    bool m_bMouseTracking = false;
    bool m_bUpdateNeeded = true;
    bool m_bLayered = false;
    int m_nTextRenderingHint = 0;
    SIZE m_szInitWindowSize{};
    SIZE m_szRoundCorner{};
    RECT m_rcCaption{};

    std::map<std::wstring, CControlUI*> m_names;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_filters;
    std::map<HWND, CEditUI*> m_edits;
    std::map<int, std::unique_ptr<TFontInfo>> m_fonts;
    std::unique_ptr<TFontInfo> m_defaultFont;
    std::map<std::wstring, std::wstring> m_defaultAttributes;
    std::map<std::wstring, std::wstring> m_styles;
    std::map<std::wstring, std::shared_ptr<const UiImage>> m_fileImages;
    std::unique_ptr<ShadowWindow> m_shadow;
    OptionGroups m_optionGroups;

    // Back buffer: a DIB section with its DC, and a GDI+ bitmap over the same pixels.
    DibCanvas m_buffer;
    std::unique_ptr<Gdiplus::Bitmap> m_bufferBitmap;
    std::unique_ptr<Gdiplus::Graphics> m_canvas;
};

}  // namespace DuiLib
