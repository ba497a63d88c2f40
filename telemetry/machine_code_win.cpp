#include <windows.h>
#include <rpc.h>

#include <string>

#include "base/unique_handle.h"
#include "base/file_io.h"
#include "base/known_folders.h"
#include "base/utf_convert.h"
#include "telemetry/machine_code.h"

namespace {

// The first line of the file, whatever follows it; empty when there is none of a sensible length.
std::string FirstLine(const std::wstring& path) {
    std::string line;
    return ReadFirstLine(path, 4096, line) ? line : std::string();
}

std::string NewLowerCaseUuid() {
    UUID uuid;
    if (UuidCreate(&uuid) != RPC_S_OK) return std::string();
    RPC_CSTR text = nullptr;
    if (UuidToStringA(&uuid, &text) != RPC_S_OK || !text) return std::string();
    std::string code(reinterpret_cast<const char*>(text));
    RpcStringFreeA(&text);
    for (char& c : code) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return code;
}

}  // namespace

std::wstring MachineCodeIn(const std::wstring& folder) {
    const std::wstring directory = folder.substr(0, folder.size() - 1);
    const DWORD attributes = GetFileAttributesW(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryW(directory.c_str(), nullptr)) return std::wstring();
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::wstring();
    }
    const std::wstring path = folder + L"app.id";
    const std::string existing = FirstLine(path);
    if (!existing.empty()) return Utf8ToWide(existing);

    const std::string code = NewLowerCaseUuid();
    if (code.empty()) return std::wstring();
    // A hidden file cannot be opened with CREATE_ALWAYS unless the request is hidden too.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (file.Valid()) {
        DWORD written = 0;
        WriteFile(file.Get(), code.data(), static_cast<DWORD>(code.size()), &written, nullptr);
        file.Reset();
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    // A file that cannot be written leaves the code valid for this run only.
    return Utf8ToWide(code);
}

std::wstring GetMachineCode(const std::wstring& folderName) {
    const std::wstring appData = RoamingAppDataFolder();
    std::wstring base;
    if (!appData.empty()) {
        base = appData + L"\\" + folderName + L"\\";
    } else {
        wchar_t buffer[MAX_PATH] = {0};
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
        base = std::wstring(buffer, length < MAX_PATH ? length : 0) + L"\\";
    }
    return MachineCodeIn(base);
}
