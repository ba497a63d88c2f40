// Process-wide resources shared by windows: fonts declared once for every window.
#pragma once

#include <map>
#include <mutex>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

class CResourceManager {
public:
    static CResourceManager& GetInstance();

    // Loads a resource description (fonts) from the skin; false when there is none.
    bool LoadResource(LPCTSTR pstrXml, LPCTSTR pstrType = nullptr);

    struct SharedFont {
        CDuiString name;
        int size = 12;
        bool bold = false;
        bool underline = false;
        bool italic = false;
    };
    void AddFont(int id, const SharedFont& font);
    std::map<int, SharedFont> GetFonts() const;

private:
    CResourceManager() = default;
    mutable std::mutex m_mutex;
    std::map<int, SharedFont> m_fonts;
};

class CUsingGlobalRes {
public:
    // Gives the window every shared font it does not define itself.
    static void UsingFont(CResourceManager& resources, CPaintManagerUI* pManager);
};

}  // namespace DuiLib
