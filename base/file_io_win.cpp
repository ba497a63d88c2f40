#include <windows.h>

#include <algorithm>
#include <string>

#include "base/file_io.h"
#include "base/folder_path.h"
#include "base/system_function.h"
#include "base/unique_handle.h"

FileReadResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing ? FileReadResult::kNotFound : FileReadResult::kFailed;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return FileReadResult::kFailed;
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return FileReadResult::kTooLarge;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 20));
        if (!ReadFile(file.Get(), &content[done], want, &got, nullptr)) {
            return FileReadResult::kFailed;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    content.resize(done);
    bytes.swap(content);
    return FileReadResult::kOk;
}

bool ReadFirstLine(const std::wstring& path, size_t maxLength, std::string& line) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    std::string read;
    char chunk[512];
    DWORD got = 0;
    // Only as much of the file as the line needs, a chunk at a time.
    while (read.size() <= maxLength && ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
        const std::string part(chunk, got);
        const size_t end = part.find_first_of("\r\n");
        read += part.substr(0, end);
        if (end != std::string::npos) break;
    }
    if (read.size() > maxLength) return false;
    line.swap(read);
    return true;
}

namespace {

// Writes bytes to a file at temporary, opened with disposition, and flushes it; removes it
// again when writing fails. A file that could not be opened is left alone.
bool WriteTemporary(const std::wstring& temporary, const std::string& bytes, DWORD disposition) {
    UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        ok = WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) && wrote > 0;
        done += wrote;
    }
    if (!ok || !FlushFileBuffers(file.Get())) {
        // The caller may tell the user why (a full disk): the clean-up keeps the reason.
        const DWORD error = GetLastError();
        file.Reset();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
    // A read-only file is not to be replaced. Windows refuses the move below for it anyway; Wine
    // would replace it, so the check is made here for both.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    const std::wstring temporary = path + L".tmp";
    if (!WriteTemporary(temporary, bytes, CREATE_ALWAYS)) return false;
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

uint64_t RandomNameWord() {
    using RtlGenRandomFn = BOOLEAN(WINAPI*)(PVOID, ULONG);
    static const auto generate = SystemFunction<RtlGenRandomFn>(L"advapi32.dll", "SystemFunction036");
    uint64_t word = 0;
    if (generate && generate(&word, sizeof word)) return word;
    // Names made this way may meet another writer's; the temporary file is made only where no
    // file has the name, so a meeting costs a new try, never a file.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return ((static_cast<uint64_t>(GetCurrentProcessId()) << 32) | GetCurrentThreadId()) ^
           (static_cast<uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull);
}

NewFileResult WriteNewFileAtomically(const std::wstring& path, const std::string& bytes, RandomNameSource random) {
    // Writers racing for the same name, here or on another machine sharing the folder, each
    // make a temporary file of their own.
    constexpr int kNameTries = 4;
    std::wstring temporary;
    bool written = false;
    for (int i = 0; i < kNameTries && !written; ++i) {
        temporary = TemporaryFileBeside(path, random());
        written = WriteTemporary(temporary, bytes, CREATE_NEW);
        const DWORD error = GetLastError();
        if (!written && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return NewFileResult::kFailed;
    }
    if (!written) {
        SetLastError(ERROR_FILE_EXISTS);
        return NewFileResult::kFailed;
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return NewFileResult::kWritten;
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    // Moving onto a folder of that name may be refused as access denied instead.
    const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
                       GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    SetLastError(error);
    return taken ? NewFileResult::kExists : NewFileResult::kFailed;
}

bool MakeFolder(const std::wstring& folder) {
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::vector<std::wstring> FolderEntryNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.Get(), &entry));
    return names;
}
