// Whole-file reads, crash-safe whole-file writes, and folders: made and listed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileReadResult { kOk, kNotFound, kFailed, kTooLarge };

// Reads the whole file into bytes. kNotFound only when the file (or its folder) does not exist;
// kTooLarge when it holds more than maxBytes.
FileReadResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes);

// Reads the file's first line (up to the first CR or LF, without it), however large the file. False
// when the file cannot be read or the line is longer than maxLength bytes.
bool ReadFirstLine(const std::wstring& path, size_t maxLength, std::string& line);

// Writes bytes to a temporary file beside path, flushes it and moves it over path in one step.
// On any failure path keeps its old content, the temporary file is removed and false returned.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);

enum class NewFileResult { kWritten, kExists, kFailed };

// A random word for naming files: from the system's random source (RtlGenRandom), or, should it
// not answer, made of the process, the thread and a fine clock.
uint64_t RandomNameWord();
using RandomNameSource = uint64_t (*)();

// The same, but path is made only when nothing has that name yet: the move never replaces.
// kExists when something already has the name (nothing is written then); on failure nothing is
// left behind and GetLastError tells why. The temporary file beside path gets a random name
// (TemporaryFileBeside with a word from random) and is made only where no file has that name,
// so writers on machines sharing the folder never truncate each other's; a name taken is tried
// again with a new word a few times, then the write fails (ERROR_FILE_EXISTS).
NewFileResult WriteNewFileAtomically(const std::wstring& path, const std::string& bytes,
                                     RandomNameSource random = RandomNameWord);

// Makes the folder (its last level only); true when it exists afterwards.
bool MakeFolder(const std::wstring& folder);

// The names of the files and folders directly in folder ("." and ".." left out); empty when it
// cannot be read.
std::vector<std::wstring> FolderEntryNames(const std::wstring& folder);
