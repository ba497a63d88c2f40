// The program's resources, linked into this test executable: version, icons and manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resource.h"
#include "app/version.h"

namespace {

std::string ManifestText() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(nullptr, found);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

}  // namespace

TEST(Resources, ProductVersionIsReadable) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    ASSERT_NE(info, nullptr);
    char text[64];
    snprintf(text, sizeof text, "%d.%d.%d.%d", HIWORD(info->dwProductVersionMS),
             LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
             LOWORD(info->dwProductVersionLS));
    EXPECT_STREQ(text, SCREENSHOT_VERSION_TEXT);
    EXPECT_STREQ(text, "1.0.0.1");
}

TEST(Resources, IconUnderBothIds) {
    for (int id : {IDI_APP_ICON, IDI_APP_ICON_DEFAULT}) {
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        ASSERT_NE(icon, nullptr) << id;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXICON));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    HANDLE small = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON),
                              IMAGE_ICON, 16, 16, 0);
    EXPECT_NE(small, nullptr);
    if (small) DestroyIcon(static_cast<HICON>(small));
}

TEST(Resources, ManifestAsksForInvokerCommonControlsSixAndAwarenessOnOldWindowsOnly) {
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    // Aware where only dpiAware is read (before Windows 10 1607), unaware where dpiAwareness is.
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">unaware</dpiAwareness>"), std::string::npos);
}
