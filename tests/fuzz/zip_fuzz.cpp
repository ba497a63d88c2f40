// Feeds arbitrary bytes to the ZIP reader as an archive and reads every entry it lists. The input
// is copied into a buffer of exactly its size, so any read past the end trips AddressSanitizer.
// A read must either fail and hand out nothing, or give exactly the bytes the entry declares.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui_toolkit/zip_archive.h"

using DuiLib::ZipReadStatus;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> block(data, data + size);
    DuiLib::ZipArchive archive;
    std::string error;
    if (!archive.Open(block.data(), block.size(), &error)) {
        if (error.empty() || !archive.Entries().empty()) std::abort();
        return 0;
    }
    std::vector<uint8_t> out;
    for (const DuiLib::ZipEntry& entry : archive.Entries()) {
        // With duplicate names the first entry is the one read.
        const DuiLib::ZipEntry* read = archive.Find(entry.name);
        const ZipReadStatus status = archive.Read(entry.name, out);
        if (!read) {
            const char last = entry.name.back();
            if ((last != '/' && last != '\\') || status != ZipReadStatus::kNotFound) std::abort();
            continue;
        }
        if (status == ZipReadStatus::kNotFound) std::abort();
        if (status != ZipReadStatus::kOk) {
            if (!out.empty()) std::abort();
            continue;
        }
        if (out.size() != read->uncompressedSize ||
            out.size() > DuiLib::ZipArchive::kMaxEntrySize ||
            crc32(0, out.data(), static_cast<uInt>(out.size())) != read->crc32) {
            std::abort();
        }
    }
    return 0;
}
