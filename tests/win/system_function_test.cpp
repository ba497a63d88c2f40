// Functions looked up at run time: found in a system DLL that is not loaded yet, null for a
// missing DLL or function.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/system_function.h"

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
    using Fn = void(WINAPI*)();
    EXPECT_NE(SystemFunction<Fn>(unloaded->dll, unloaded->function), nullptr);
    EXPECT_NE(GetModuleHandleW(unloaded->dll), nullptr);
    EXPECT_EQ(SystemFunction<Fn>(unloaded->dll, "NoSuchFunction"), nullptr);
    EXPECT_EQ(SystemFunction<Fn>(L"no_such_library.dll", "NoSuchFunction"), nullptr);
}
