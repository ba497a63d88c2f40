#include "ui_toolkit/dialog_builder.h"

#include "base/geometry_win.h"

#include "base/utf8_codec.h"
#include "ui_toolkit/ui_combo.h"
#include "ui_toolkit/ui_container.h"
#include "ui_toolkit/ui_edit.h"
#include "ui_toolkit/xml_document.h"

namespace DuiLib {

namespace {

constexpr int kMaxDepth = 64;

std::wstring Text(const std::string& utf8) { return Utf8ToUtf16(utf8); }

std::wstring AttributeOr(const XmlElement& element, const char* name, const wchar_t* fallback) {
    const std::string* value = element.Attribute(name);
    return value ? Text(*value) : std::wstring(fallback);
}

void ApplyAttribute(CControlUI* control, const std::wstring& name, const std::wstring& value,
                    CPaintManagerUI* manager) {
    if (ToLowerAscii(name) == L"style") {
        // A named style is a list of attributes applied where the style attribute stands.
        if (LPCTSTR list = manager->GetStyle(value.c_str())) {
            for (const auto& [key, item] : ParseAttributeList(list)) {
                control->SetAttribute(key.c_str(), item.c_str());
            }
        }
        return;
    }
    control->SetAttribute(name.c_str(), value.c_str());
}

}  // namespace

CControlUI* CDialogBuilder::CreateStandardControl(const std::wstring& elementName) {
    const std::wstring name = ToLowerAscii(elementName);
    if (name == L"control") return new CControlUI;
    if (name == L"container") return new CContainerUI;
    if (name == L"horizontallayout") return new CHorizontalLayoutUI;
    if (name == L"verticallayout") return new CVerticalLayoutUI;
    if (name == L"label" || name == L"text") return new CLabelUI;
    if (name == L"button") return new CButtonUI;
    if (name == L"option") return new COptionUI;
    if (name == L"combo") return new CComboUI;
    if (name == L"listlabelelement") return new CListLabelElementUI;
    if (name == L"edit") return new CEditUI;
    if (name == L"richedit") return new CRichEditUI;
    return nullptr;
}

CControlUI* CDialogBuilder::Create(LPCTSTR pstrSkinFile, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager) {
    std::vector<uint8_t> bytes;
    if (!CPaintManagerUI::LoadResourceFile(pstrSkinFile, bytes)) {
        m_error = "layout file not found in the skin";
        return nullptr;
    }
    return CreateFromText(std::string(bytes.begin(), bytes.end()), pCallback, pManager);
}

CControlUI* CDialogBuilder::CreateFromText(const std::string& xml, IDialogBuilderCallback* pCallback,
                                           CPaintManagerUI* pManager) {
    XmlParseResult parsed = ParseXml(xml.data(), xml.size());
    if (!parsed.root) {
        m_error = "malformed layout: " + parsed.error;
        return nullptr;
    }
    const XmlElement& window = *parsed.root;
    if (ToLowerAscii(Text(window.name)) != L"window") {
        m_error = "the layout's root element is not <Window>";
        return nullptr;
    }
    ApplyWindowAttributes(window, pManager);
    for (const auto& child : window.children) {
        const std::wstring name = ToLowerAscii(Text(child->name));
        if (name == L"font") {
            const int id = ParseIntAttribute(AttributeOr(*child, "id", L"-1"));
            const std::wstring face = AttributeOr(*child, "name", L"Tahoma");
            const int size = ParseIntAttribute(AttributeOr(*child, "size", L"12"));
            const bool bold = ParseBoolAttribute(AttributeOr(*child, "bold", L"false"));
            const bool underline = ParseBoolAttribute(AttributeOr(*child, "underline", L"false"));
            const bool italic = ParseBoolAttribute(AttributeOr(*child, "italic", L"false"));
            if (id >= 0) pManager->AddFont(id, face.c_str(), size, bold, underline, italic);
            if (ParseBoolAttribute(AttributeOr(*child, "default", L"false"))) {
                pManager->SetDefaultFont(face.c_str(), size, bold, underline, italic);
            }
        } else if (name == L"default") {
            pManager->AddDefaultAttributeList(AttributeOr(*child, "name", L"").c_str(),
                                              AttributeOr(*child, "value", L"").c_str());
        } else if (name == L"style") {
            pManager->AddStyle(AttributeOr(*child, "name", L"").c_str(),
                               AttributeOr(*child, "value", L"").c_str());
        }
    }
    for (const auto& child : window.children) {
        const std::wstring name = ToLowerAscii(Text(child->name));
        if (name == L"font" || name == L"default" || name == L"style") continue;
        if (CControlUI* root = BuildControl(*child, pCallback, pManager, 0)) return root;
    }
    m_error = "the layout holds no control";
    return nullptr;
}

void CDialogBuilder::ApplyWindowAttributes(const XmlElement& window, CPaintManagerUI* pManager) {
    bool showShadow = false;
    int shadowSize = 0;
    DWORD shadowColor = 0xFF000000;
    for (const XmlAttribute& attribute : window.attributes) {
        const std::wstring name = ToLowerAscii(Text(attribute.name));
        const std::wstring value = Text(attribute.value);
        if (name == L"size") {
            const base::Size size = ParseSizeAttribute(value);
            pManager->SetInitSize(size.cx, size.cy);
        } else if (name == L"caption") {
            const base::Rect caption = ParseRectAttribute(value);
            pManager->SetCaptionRect(base::ToRECT(caption));
        } else if (name == L"roundcorner") {
            const base::Size round = ParseSizeAttribute(value);
            pManager->SetRoundCorner(round.cx, round.cy);
        } else if (name == L"bktrans") {
            pManager->SetLayered(ParseBoolAttribute(value));
        } else if (name == L"textrenderinghint") {
            pManager->SetTextRenderingHint(ParseIntAttribute(value));
        } else if (name == L"showshadow") {
            showShadow = ParseBoolAttribute(value);
        } else if (name == L"shadowsize") {
            shadowSize = ParseIntAttribute(value);
        } else if (name == L"shadowcolor") {
            if (auto color = ParseColorAttribute(value)) shadowColor = *color;
        }
    }
    pManager->SetShadow(showShadow, shadowSize, shadowColor);
}

CControlUI* CDialogBuilder::BuildControl(const XmlElement& element, IDialogBuilderCallback* pCallback,
                                         CPaintManagerUI* pManager, int depth) {
    if (depth > kMaxDepth) return nullptr;
    const std::wstring elementName = Text(element.name);
    CControlUI* control = CreateStandardControl(elementName);
    if (!control && pCallback) control = pCallback->CreateControl(elementName.c_str());
    if (!control) return nullptr;  // an unknown element is left out with its children
    if (LPCTSTR defaults = pManager->GetDefaultAttributeList(elementName.c_str())) {
        for (const auto& [key, value] : ParseAttributeList(defaults)) {
            ApplyAttribute(control, key, value, pManager);
        }
    }
    for (const XmlAttribute& attribute : element.attributes) {
        ApplyAttribute(control, Text(attribute.name), Text(attribute.value), pManager);
    }
    auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    for (const auto& child : element.children) {
        CControlUI* built = BuildControl(*child, pCallback, pManager, depth + 1);
        if (!built) continue;
        if (!container || !container->Add(built)) delete built;
    }
    // Combo entries marked selected become the combo's choice.
    if (auto* combo = static_cast<CComboUI*>(control->GetInterface(L"Combo"))) {
        for (int i = 0; i < combo->GetCount(); ++i) {
            CListLabelElementUI* entry = combo->GetEntry(i);
            if (entry && entry->IsSelected()) combo->SelectItem(i, false, false);
        }
    }
    return control;
}

}  // namespace DuiLib
