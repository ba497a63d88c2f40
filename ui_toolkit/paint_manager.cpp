#include "ui_toolkit/paint_manager.h"

#include "base/unique_handle.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <mutex>

#include "base/dib_canvas.h"
#include "base/exe_directory.h"
#include "base/file_io.h"
#include "base/message_loop.h"
#include "base/font_face.h"
#include "base/utf8_codec.h"
#include "ui_toolkit/shadow_window.h"
#include "ui_toolkit/ui_edit.h"
#include "ui_toolkit/zip_archive.h"

namespace DuiLib {

namespace {

// Process-wide resource settings, written at start-up before any window exists.
struct ResourceSettings {
    HINSTANCE instance = nullptr;
    HINSTANCE resourceDll = nullptr;
    CDuiString resourcePath;
    int resourceType = UILIB_FILE;
    std::vector<uint8_t> zipBytes;
    ZipArchive zip;
    bool zipOpen = false;
};

ResourceSettings& Resources() {
    static ResourceSettings settings;
    return settings;
}

// Decoded skin images, shared by every window of every thread.
struct ImageCache {
    std::mutex mutex;
    std::map<std::wstring, std::shared_ptr<const UiImage>> images;
};

ImageCache& SkinImages() {
    static ImageCache cache;
    return cache;
}

bool IsAbsolutePath(const std::wstring& path) {
    return (path.size() > 2 && path[1] == L':') || (path.size() > 1 && path[0] == L'\\' && path[1] == L'\\');
}

bool ReadDiskFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    std::string content;
    if (ReadWholeFile(path, 64u << 20, content) != FileReadResult::kOk) return false;
    bytes.assign(content.begin(), content.end());
    return true;
}

std::unique_ptr<TFontInfo> MakeFont(LPCTSTR name, int size, bool bold, bool underline, bool italic) {
    auto info = std::make_unique<TFontInfo>();
    info->sFontName = name;
    info->iSize = size;
    info->bBold = bold;
    info->bUnderline = underline;
    info->bItalic = italic;
    LOGFONTW lf{};
    lf.lfHeight = -size;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, name, LF_FACESIZE);
    info->hFont = CreateFontIndirectW(&lf);
    // The face GDI really chose, with the system's substitutions applied ("微软雅黑" may be
    // drawn by another CJK font); GDI+ is given that family so both draw the same glyphs.
    wchar_t face[LF_FACESIZE] = {0};
    {
        WindowDc screen(nullptr);
        SelectedObject font(screen.Get(), info->hFont);
        GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    }
    const INT style = (bold ? Gdiplus::FontStyleBold : 0) | (italic ? Gdiplus::FontStyleItalic : 0) |
                      (underline ? Gdiplus::FontStyleUnderline : 0);
    // Fallbacks for a face GDI+ cannot use; the last ones ship with Wine and our CJK font.
    const wchar_t* const candidates[] = {face, L"Tahoma", L"Arial", L"WenQuanYi Micro Hei", L"DejaVu Sans"};
    for (const wchar_t* candidate : candidates) {
        Gdiplus::FontFamily family(candidate);
        if (family.GetLastStatus() != Gdiplus::Ok) continue;
        auto font = std::make_unique<Gdiplus::Font>(&family, static_cast<Gdiplus::REAL>(size), style,
                                                    Gdiplus::UnitPixel);
        if (font->GetLastStatus() == Gdiplus::Ok) {
            info->font = std::move(font);
            break;
        }
    }
    if (!info->font) {
        info->font = std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(),
                                                     static_cast<Gdiplus::REAL>(size), style,
                                                     Gdiplus::UnitPixel);
    }
    return info;
}

}  // namespace

TFontInfo::~TFontInfo() {
    font.reset();
    if (hFont) DeleteObject(hFont);
}

CPaintManagerUI::CPaintManagerUI() {
    // Until a layout names one, text uses the program's face at 12 pixels.
    m_defaultFont = MakeFont(kUiFontFace, 12, false, false, false);
}

CPaintManagerUI::~CPaintManagerUI() {
    delete m_pRoot;
    m_canvas.reset();
    m_bufferBitmap.reset();
    if (m_hwndTooltip) DestroyWindow(m_hwndTooltip);
}

// ---- process-wide settings ---------------------------------------------------------------

void CPaintManagerUI::SetInstance(HINSTANCE hInst) { Resources().instance = hInst; }
HINSTANCE CPaintManagerUI::GetInstance() { return Resources().instance; }

CDuiString CPaintManagerUI::GetInstancePath() {
    const std::wstring folder = ParentFolderOf(GetModulePath(GetInstance()));
    return CDuiString(folder.empty() ? folder : folder + L"\\");
}

void CPaintManagerUI::SetResourcePath(LPCTSTR pStrPath) { Resources().resourcePath = pStrPath; }
const CDuiString& CPaintManagerUI::GetResourcePath() { return Resources().resourcePath; }
void CPaintManagerUI::SetResourceType(int nType) { Resources().resourceType = nType; }
int CPaintManagerUI::GetResourceType() { return Resources().resourceType; }
void CPaintManagerUI::SetResourceDll(HINSTANCE hInst) { Resources().resourceDll = hInst; }

HINSTANCE CPaintManagerUI::GetResourceDll() {
    return Resources().resourceDll ? Resources().resourceDll : Resources().instance;
}

bool CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len, LPCTSTR /*password*/) {
    ResourceSettings& resources = Resources();
    resources.zipOpen = false;
    if (!pVoid || len == 0) return false;
    const auto* bytes = static_cast<const uint8_t*>(pVoid);
    resources.zipBytes.assign(bytes, bytes + len);
    resources.zipOpen = resources.zip.Open(resources.zipBytes.data(), resources.zipBytes.size());
    std::lock_guard<std::mutex> lock(SkinImages().mutex);
    SkinImages().images.clear();
    return resources.zipOpen;
}

bool CPaintManagerUI::LoadResourceFile(LPCTSTR pstrName, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!pstrName || !*pstrName) return false;
    const ResourceSettings& resources = Resources();
    const std::wstring name = pstrName;
    if (resources.zipOpen && !IsAbsolutePath(name)) {
        return resources.zip.Read(Utf16ToUtf8(name), bytes) == ZipReadStatus::kOk;
    }
    const std::wstring path = IsAbsolutePath(name) ? name : resources.resourcePath.Str() + name;
    return ReadDiskFile(path, bytes);
}

std::shared_ptr<const UiImage> CPaintManagerUI::GetImage(const CDuiString& file) {
    if (file.IsEmpty()) return nullptr;
    // Pictures from disk (a pinned capture) live as long as this window, not the process.
    if (IsAbsolutePath(file.Str())) {
        auto found = m_fileImages.find(file.Str());
        if (found != m_fileImages.end()) return found->second;
        auto image = LoadImageFile(file);
        m_fileImages[file.Str()] = image;
        return image;
    }
    ImageCache& cache = SkinImages();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        auto found = cache.images.find(file.Str());
        if (found != cache.images.end()) return found->second;
    }
    std::vector<uint8_t> bytes;
    std::shared_ptr<const UiImage> image;
    if (LoadResourceFile(file, bytes)) image = DecodeImage(bytes.data(), bytes.size());
    std::lock_guard<std::mutex> lock(cache.mutex);
    cache.images[file.Str()] = image;  // a missing image is remembered as missing too
    return image;
}

void CPaintManagerUI::MessageLoop() { RunMessageLoop(); }

// ---- the window --------------------------------------------------------------------------

void CPaintManagerUI::Init(HWND hWnd) { m_hWndPaint = hWnd; }

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (m_pRoot && m_pRoot != pControl) delete m_pRoot;
    m_names.clear();
    m_pFocus = m_pEventHover = m_pEventClick = m_pTooltipControl = nullptr;
    m_pRoot = pControl;
    if (!pControl) return false;
    pControl->SetManager(this, nullptr, true);
    m_bUpdateNeeded = true;
    return true;
}

void CPaintManagerUI::NameControl(CControlUI* pControl) {
    if (!pControl->GetName().IsEmpty() && !m_names.count(pControl->GetName().Str())) {
        m_names[pControl->GetName().Str()] = pControl;
    }
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (m_pEventHover == pControl) m_pEventHover = nullptr;
    if (m_pEventClick == pControl) m_pEventClick = nullptr;
    if (m_pFocus == pControl) m_pFocus = nullptr;
    if (m_pTooltipControl == pControl) HideTooltip();
    for (auto it = m_names.begin(); it != m_names.end();) {
        it = it->second == pControl ? m_names.erase(it) : std::next(it);
    }
    for (auto it = m_edits.begin(); it != m_edits.end();) {
        it = static_cast<CControlUI*>(it->second) == pControl ? m_edits.erase(it) : std::next(it);
    }
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    if (!pstrName) return nullptr;
    auto found = m_names.find(pstrName);
    return found == m_names.end() ? nullptr : found->second;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    return m_pRoot ? m_pRoot->FindControlAt(pt) : nullptr;
}

void CPaintManagerUI::Invalidate() {
    if (m_hWndPaint) InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (m_hWndPaint) InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (m_hWndPaint) {
        SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void CPaintManagerUI::SetShadow(bool bShow, int nSize, DWORD dwColor) {
    if (!bShow || nSize <= 0) {
        m_shadow.reset();
        return;
    }
    m_shadow = std::make_unique<ShadowWindow>(nSize, dwColor);
    if (m_hWndPaint) m_shadow->Attach(m_hWndPaint);
}

void CPaintManagerUI::AddFont(int id, LPCTSTR name, int nSize, bool bBold, bool bUnderline,
                              bool bItalic) {
    m_fonts[id] = MakeFont(name, nSize, bBold, bUnderline, bItalic);
}

void CPaintManagerUI::SetDefaultFont(LPCTSTR name, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic) {
    m_defaultFont = MakeFont(name, nSize, bBold, bUnderline, bItalic);
}

TFontInfo* CPaintManagerUI::GetFontInfo(int id) {
    auto found = m_fonts.find(id);
    return found != m_fonts.end() ? found->second.get() : m_defaultFont.get();
}

SIZE CPaintManagerUI::MeasureText(LPCTSTR pstrText, int iFont) {
    WindowDc screen(nullptr);
    Gdiplus::Graphics graphics(screen.Get());
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));
    return DuiLib::MeasureText(graphics, pstrText, GetFontInfo(iFont)->font.get());
}

void CPaintManagerUI::AddDefaultAttributeList(LPCTSTR name, LPCTSTR list) {
    m_defaultAttributes[ToLowerAscii(name)] = list;
}

LPCTSTR CPaintManagerUI::GetDefaultAttributeList(LPCTSTR name) const {
    auto found = m_defaultAttributes.find(ToLowerAscii(name));
    return found == m_defaultAttributes.end() ? nullptr : found->second.c_str();
}

void CPaintManagerUI::AddStyle(LPCTSTR pName, LPCTSTR pStyle) { m_styles[pName] = pStyle; }

LPCTSTR CPaintManagerUI::GetStyle(LPCTSTR pName) const {
    auto found = m_styles.find(pName);
    return found == m_styles.end() ? nullptr : found->second.c_str();
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) {
    for (INotifyUI* existing : m_notifiers) {
        if (existing == pNotifier) return false;
    }
    m_notifiers.push_back(pNotifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) {
    for (auto it = m_notifiers.begin(); it != m_notifiers.end(); ++it) {
        if (*it == pNotifier) {
            m_notifiers.erase(it);
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    m_filters.push_back(pFilter);
    return true;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam) {
    TNotifyUI msg;
    msg.sType = pstrMessage;
    msg.pSender = pControl;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.dwTimestamp = GetTickCount();
    GetCursorPos(&msg.ptMouse);
    if (m_hWndPaint) ScreenToClient(m_hWndPaint, &msg.ptMouse);
    // A copy: a notifier may register or remove notifiers while it runs.
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) notifier->Notify(msg);
}

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) return;
    CControlUI* old = m_pFocus;
    m_pFocus = pControl;
    if (old) {
        TEventUI event{UIEVENT_KILLFOCUS, pControl, POINT{}, 0, 0};
        old->Event(event);
    }
    if (pControl) {
        TEventUI event{UIEVENT_SETFOCUS, old, POINT{}, 0, 0};
        pControl->Event(event);
    }
}

void CPaintManagerUI::RegisterNativeEdit(HWND hWnd, CEditUI* pEdit) { m_edits[hWnd] = pEdit; }

void CPaintManagerUI::OnPaintWindowDestroyed() {
    // Owned windows (the tooltip) went with the window; their handles are stale now.
    m_hwndTooltip = nullptr;
    m_pTooltipControl = nullptr;
    m_shadow.reset();
    m_edits.clear();
    if (GetCapture() == m_hWndPaint) ReleaseCapture();
    m_hWndPaint = nullptr;
}

// ---- layout and painting -----------------------------------------------------------------

void CPaintManagerUI::UpdateLayout() {
    if (!m_pRoot || !m_hWndPaint) return;
    RECT client;
    GetClientRect(m_hWndPaint, &client);
    if (client.right <= client.left || client.bottom <= client.top) return;
    m_pRoot->SetPos(client, false);
    m_bUpdateNeeded = false;
}

void CPaintManagerUI::EnsureBackBuffer(int width, int height) {
    if (m_buffer && width == m_buffer.Width() && height == m_buffer.Height()) return;
    m_canvas.reset();
    m_bufferBitmap.reset();
    if (!m_buffer.Create(nullptr, width, height)) return;
    m_bufferBitmap = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4,
                                                       PixelFormat32bppPARGB,
                                                       reinterpret_cast<BYTE*>(m_buffer.Bits()));
}

void CPaintManagerUI::Paint(HDC hdcTarget) {
    if (!m_hWndPaint || !m_pRoot) return;
    if (m_bUpdateNeeded) UpdateLayout();
    RECT client;
    GetClientRect(m_hWndPaint, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    EnsureBackBuffer(width, height);
    if (!m_buffer) return;
    std::fill(m_buffer.Bits(), m_buffer.Bits() + static_cast<size_t>(width) * height, 0u);
    m_canvas = std::make_unique<Gdiplus::Graphics>(m_bufferBitmap.get());
    m_canvas->SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));
    // Pixel (x, y) covers [x, x+1) x [y, y+1), as in GDI: a 1-pixel line at x + 0.5 fills column x.
    m_canvas->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    m_pRoot->DoPaint(m_buffer.Dc(), client);
    m_canvas->Flush(Gdiplus::FlushIntentionSync);
    m_canvas.reset();

    if (m_bLayered) {
        RECT window;
        GetWindowRect(m_hWndPaint, &window);
        POINT position{window.left, window.top};
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(m_hWndPaint, nullptr, &position, &size, m_buffer.Dc(), &origin, 0, &blend,
                            ULW_ALPHA);
    } else if (hdcTarget) {
        BitBlt(hdcTarget, 0, 0, width, height, m_buffer.Dc(), 0, 0, SRCCOPY);
    }
}

const uint32_t* CPaintManagerUI::GetFramePixels(int& width, int& height) const {
    width = m_buffer.Width();
    height = m_buffer.Height();
    return m_buffer.Bits();
}

// ---- input -------------------------------------------------------------------------------

void CPaintManagerUI::ShowTooltip(CControlUI* pControl) {
    if (!pControl || pControl->GetToolTip().IsEmpty()) return;
    if (!m_hwndTooltip) {
        m_hwndTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                        nullptr, GetInstance(), nullptr);
        if (!m_hwndTooltip) return;
        SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    m_tooltipText = ExpandLineBreaks(pControl->GetToolTip().Str());
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = m_hWndPaint;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    tool.lpszText = &m_tooltipText[0];
    if (m_pTooltipControl) {
        SendMessageW(m_hwndTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    POINT cursor;
    GetCursorPos(&cursor);
    SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x + 12, cursor.y + 20));
    SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    m_pTooltipControl = pControl;
}

void CPaintManagerUI::HideTooltip() {
    if (m_hwndTooltip && m_pTooltipControl) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWndPaint;
        tool.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
        SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_hwndTooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    m_pTooltipControl = nullptr;
}

void CPaintManagerUI::SetHover(CControlUI* pControl, POINT pt) {
    if (pControl == m_pEventHover) return;
    HideTooltip();
    CControlUI* old = m_pEventHover;
    m_pEventHover = pControl;
    if (old) {
        TEventUI event{UIEVENT_MOUSELEAVE, old, pt, 0, 0};
        old->Event(event);
    }
    if (pControl) {
        TEventUI event{UIEVENT_MOUSEENTER, pControl, pt, 0, 0};
        pControl->Event(event);
    }
}

bool CPaintManagerUI::OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // Input can come before the first paint (a click queued while the window appeared, or sent
    // by an automation tool): it finds the controls where they will be drawn.
    if (m_bUpdateNeeded) UpdateLayout();
    switch (uMsg) {
        case WM_MOUSEMOVE: {
            if (!m_bMouseTracking) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_HOVER, m_hWndPaint, 400};
                TrackMouseEvent(&track);
                m_bMouseTracking = true;
            }
            SetHover(FindControl(pt), pt);
            if (m_pEventClick) {
                TEventUI event{UIEVENT_MOUSEMOVE, m_pEventClick, pt, wParam, lParam};
                m_pEventClick->Event(event);
            }
            return false;
        }
        case WM_MOUSEHOVER:
            m_bMouseTracking = false;  // hover tracking ends with the hover; track again
            ShowTooltip(FindControl(pt));
            return false;
        case WM_MOUSELEAVE:
            m_bMouseTracking = false;
            SetHover(nullptr, pt);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            HideTooltip();
            CControlUI* control = FindControl(pt);
            if (!control || !control->IsEnabled()) return false;
            m_pEventClick = control;
            SetCapture(m_hWndPaint);
            TEventUI event{uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, control,
                           pt, wParam, lParam};
            control->Event(event);
            SendNotify(control, DUI_MSGTYPE_BUTTONDOWN);
            return false;
        }
        case WM_LBUTTONUP: {
            CControlUI* control = m_pEventClick;
            m_pEventClick = nullptr;
            if (GetCapture() == m_hWndPaint) ReleaseCapture();
            if (!control) return false;
            // Last statement: a click may close and delete the window.
            TEventUI event{UIEVENT_BUTTONUP, control, pt, wParam, lParam};
            control->Event(event);
            return true;
        }
        default: return false;
    }
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    for (IMessageFilterUI* filter : m_filters) {
        bool handled = false;
        const LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    switch (uMsg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(m_hWndPaint, &ps);
            Paint(hdc);
            EndPaint(m_hWndPaint, &ps);
            lRes = 0;
            return true;
        }
        case WM_ERASEBKGND:
            lRes = 1;
            return true;
        case WM_SIZE:
            m_bUpdateNeeded = true;
            Invalidate();
            if (m_shadow) m_shadow->Update();
            return false;
        case WM_WINDOWPOSCHANGED:
        case WM_SHOWWINDOW:
            if (m_shadow) m_shadow->Update();
            return false;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT || !m_pEventHover) return false;
            if (ToLowerAscii(m_pEventHover->GetCursorName()) == L"hand") {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                lRes = TRUE;
                return true;
            }
            return false;
        }
        case WM_CAPTURECHANGED:
            if (m_pEventClick && reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
                CControlUI* control = m_pEventClick;
                m_pEventClick = nullptr;
                TEventUI event{UIEVENT_KILLFOCUS, control, POINT{}, 0, 0};
                control->Event(event);
            }
            return false;
        case WM_COMMAND: {
            auto found = m_edits.find(reinterpret_cast<HWND>(lParam));
            if (found == m_edits.end()) return false;
            if (HIWORD(wParam) == EN_CHANGE) SendNotify(found->second, DUI_MSGTYPE_TEXTCHANGED);
            lRes = 0;
            return true;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            auto found = m_edits.find(reinterpret_cast<HWND>(lParam));
            if (found == m_edits.end()) return false;
            lRes = found->second->OnCtlColor(reinterpret_cast<HDC>(wParam));
            return true;
        }
        case WM_MOUSEMOVE:
        case WM_MOUSEHOVER:
        case WM_MOUSELEAVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            if (OnMouseMessage(uMsg, wParam, lParam)) {
                lRes = 0;
                return true;
            }
            return false;
        default: return false;
    }
}

}  // namespace DuiLib
