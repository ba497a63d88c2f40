// Functions looked up at run time: found in a system DLL that is not loaded yet, null for a
// missing DLL or function.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/system_function.h"
#include "test_folder.h"

namespace {

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of(L'\\'));
}

// Under Wine, a native DLL of that name is preferred to the builtin one until the end of scope.
class NativeFirstUnderWine {
public:
    explicit NativeFirstUnderWine(std::wstring stem) : stem_(std::move(stem)) {
        if (!RunningUnderWine() || RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                                   &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        const wchar_t order[] = L"native,builtin";
        RegSetValueExW(key_, stem_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    }
    ~NativeFirstUnderWine() {
        if (!key_) return;
        RegDeleteValueW(key_, stem_.c_str());
        RegCloseKey(key_);
    }
    NativeFirstUnderWine(const NativeFirstUnderWine&) = delete;
    NativeFirstUnderWine& operator=(const NativeFirstUnderWine&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\DllOverrides";
    std::wstring stem_;
    HKEY key_ = nullptr;
};

}  // namespace

TEST(SystemFunction, LoadsASystemDllByItsPathAndFindsTheFunction) {
    struct Candidate {
        const wchar_t* dll;
        const char* function;
    };
    // The first of these that this test program has not loaded.
    const Candidate candidates[] = {{L"dwmapi.dll", "DwmFlush"}, {L"winmm.dll", "timeGetTime"},
                                    {L"msimg32.dll", "AlphaBlend"}, {L"shcore.dll", "GetDpiForMonitor"}};
    const Candidate* unloaded = nullptr;
    for (const Candidate& c : candidates) {
        if (!unloaded && !GetModuleHandleW(c.dll)) unloaded = &c;
    }
    if (!unloaded) GTEST_SKIP() << "every candidate DLL is loaded already";
    // A DLL of that name in a folder the search order puts before the system folder, which Wine
    // is told to prefer to its own, as Windows prefers any DLL found before the system folder: a
    // load by the name alone would take it.
    TestFolder decoys;
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\planted.dll").c_str(), decoys.File(unloaded->dll).c_str(), FALSE));
    ASSERT_TRUE(SetDllDirectoryW(decoys.Path().c_str()));
    const std::wstring stem = std::wstring(unloaded->dll).substr(0, std::wstring(unloaded->dll).size() - 4);
    NativeFirstUnderWine native(stem);
    using Fn = void(WINAPI*)();
    const Fn found = SystemFunction<Fn>(unloaded->dll, unloaded->function);
    SetDllDirectoryW(nullptr);
    EXPECT_NE(found, nullptr);
    EXPECT_FALSE(FileExists(decoys.File(std::wstring(unloaded->dll) + L".loaded"))) << "the decoy was loaded";
    // Loaded from the system folder.
    const HMODULE loaded = GetModuleHandleW(unloaded->dll);
    ASSERT_NE(loaded, nullptr);
    wchar_t path[MAX_PATH], system[MAX_PATH];
    const DWORD length = GetModuleFileNameW(loaded, path, MAX_PATH);
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_GT(systemLength, 0u);
    EXPECT_EQ(CompareStringOrdinal(path, length, (std::wstring(system, systemLength) + L"\\" + unloaded->dll).c_str(),
                                   -1, TRUE),
              CSTR_EQUAL)
        << testing::PrintToString(std::wstring(path, length));
    EXPECT_EQ(SystemFunction<Fn>(unloaded->dll, "NoSuchFunction"), nullptr);
    EXPECT_EQ(SystemFunction<Fn>(L"no_such_library.dll", "NoSuchFunction"), nullptr);
}
