#include <windows.h>

#include <atomic>

#include "base/folder_path.h"
#include "base/folder_probe.h"
#include "base/unique_handle.h"

bool CanCreateFilesIn(const std::wstring& folder) {
    if (folder.empty()) return false;
    // Unique per process and call: two probes never meet, nor does a probe meet a user's file.
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L".write_probe_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(counter.fetch_add(1)) + L".tmp";
    const std::wstring path = JoinPath(folder, name);
    // Deleted when closed, so even a process that dies here leaves nothing behind.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                  nullptr));
    if (!file) return false;
    file.Reset();
    DeleteFileW(path.c_str());  // in case the system kept it after all
    return true;
}
