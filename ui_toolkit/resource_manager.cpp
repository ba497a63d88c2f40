#include "ui_toolkit/resource_manager.h"

#include "ui_toolkit/xml_document.h"
#include "base/utf8_codec.h"

namespace DuiLib {

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager instance;
    return instance;
}

bool CResourceManager::LoadResource(LPCTSTR pstrXml, LPCTSTR /*pstrType*/) {
    std::vector<uint8_t> bytes;
    if (!CPaintManagerUI::LoadResourceFile(pstrXml, bytes)) return false;
    XmlParseResult parsed = ParseXml(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!parsed.root) return false;
    for (const auto& child : parsed.root->children) {
        if (ToLowerAscii(Utf8ToUtf16(child->name)) != L"font") continue;
        auto text = [&](const char* key, const wchar_t* fallback) {
            const std::string* value = child->Attribute(key);
            return value ? Utf8ToUtf16(*value) : std::wstring(fallback);
        };
        SharedFont font;
        font.name = text("name", L"Tahoma").c_str();
        font.size = ParseIntAttribute(text("size", L"12"));
        font.bold = ParseBoolAttribute(text("bold", L"false"));
        font.underline = ParseBoolAttribute(text("underline", L"false"));
        font.italic = ParseBoolAttribute(text("italic", L"false"));
        AddFont(ParseIntAttribute(text("id", L"0")), font);
    }
    return true;
}

void CResourceManager::AddFont(int id, const SharedFont& font) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fonts[id] = font;
}

std::map<int, CResourceManager::SharedFont> CResourceManager::GetFonts() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fonts;
}

void CUsingGlobalRes::UsingFont(CResourceManager& resources, CPaintManagerUI* pManager) {
    if (!pManager) return;
    for (const auto& [id, font] : resources.GetFonts()) {
        if (!pManager->HasFont(id)) {
            pManager->AddFont(id, font.name, font.size, font.bold, font.underline, font.italic);
        }
    }
    pManager->NeedUpdate();
    pManager->Invalidate();
}

}  // namespace DuiLib
