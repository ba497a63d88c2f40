// What every benchmark that opens the program's windows starts with: the skin archive from its
// own resources. GDI+ is the caller's (a GdiplusSession in main).
#pragma once

#include <windows.h>

#include <cstdio>

#include "ui_toolkit/skin_loader.h"

// False, after saying so on stderr, when the executable holds no skin archive.
inline bool LoadBenchSkin() {
    if (LoadSkinArchive(GetModuleHandleW(nullptr))) return true;
    std::fprintf(stderr, "no skin archive\n");
    return false;
}
