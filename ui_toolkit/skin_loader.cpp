#include "ui_toolkit/skin_loader.h"

#include "ui_toolkit/UIlib.h"

bool LoadSkinArchive(HINSTANCE instance) {
    using DuiLib::CPaintManagerUI;
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourceType(DuiLib::UILIB_ZIPRESOURCE);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + L"skin\\");
    HINSTANCE module = CPaintManagerUI::GetResourceDll();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kSkinArchiveResourceId), L"ZIPRES");
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    bool accepted = false;
    if (loaded && size != 0) {
        accepted = CPaintManagerUI::SetResourceZip(LockResource(loaded), size);
        // The archive has no resource description; this finds nothing and windows go on.
        DuiLib::CResourceManager::GetInstance().LoadResource(L"res.xml", nullptr);
    }
    if (loaded) FreeResource(loaded);
    return accepted;
}
