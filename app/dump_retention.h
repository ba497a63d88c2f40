// Which crash dumps of a folder to delete so that only the newest few of ours stay, and which disk
// has room for one: each holds the process's private memory (the frozen screen, typed text),
// 100 MB or more at 4K.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Whether name is one the crash filter gives its dumps: "crash_dump.dmp" or
// "crash_dump_YYYYMMDD_HHMMSS.dmp", in any case. Any other name is another program's file.
bool IsOwnDumpName(const std::wstring& name);

struct DumpFile {
    std::wstring name;
    uint64_t writeTime = 0;  // a later write is larger
};

// The least free space, in bytes, a disk needs for a dump: setting when it is a decimal number
// of bytes (tests set it), else 1 GiB. A full dump can take hundreds of megabytes.
uint64_t DumpMinFreeBytes(const std::wstring& setting);

// The names among files to delete so that only the keep most recently written of our dumps
// remain (equal times: the greater name counts as newer). Other names are never chosen.
std::vector<std::wstring> DumpsToDelete(std::vector<DumpFile> files, size_t keep);
