// CDialogBuilder: builds a window's control tree from a layout file of the skin. The <Window>
// element's attributes and its <Font>, <Default> and <Style> children configure the paint
// manager; its first control element becomes the root control.
#pragma once

#include <string>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

struct XmlElement;

class CDialogBuilder {
public:
    // Null when the file is missing or malformed, or holds no control; the reason is kept.
    CControlUI* Create(LPCTSTR pstrSkinFile, IDialogBuilderCallback* pCallback,
                       CPaintManagerUI* pManager);
    // The same from layout text already in memory (UTF-8).
    CControlUI* CreateFromText(const std::string& xml, IDialogBuilderCallback* pCallback,
                               CPaintManagerUI* pManager);
    const std::string& GetLastError() const { return m_error; }

    // A control for a toolkit element name ("Button", "VerticalLayout", ...), or null.
    static CControlUI* CreateStandardControl(const std::wstring& elementName);

private:
    void ApplyWindowAttributes(const XmlElement& window, CPaintManagerUI* pManager);
    CControlUI* BuildControl(const XmlElement& element, IDialogBuilderCallback* pCallback,
                             CPaintManagerUI* pManager, int depth);

    std::string m_error;
};

}  // namespace DuiLib
