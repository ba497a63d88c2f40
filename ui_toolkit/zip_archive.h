// Reads a ZIP archive held in memory: the toolkit's layout files and images come packed in one
// ZIP among the program's resources. Stored and deflated entries only, single disk, no ZIP64, no
// encryption. Pure code over zlib; every offset and length is checked against the block before
// it is read, so a hostile archive is refused rather than read out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace DuiLib {

// One entry of the central directory, as the archive declares it.
struct ZipEntry {
    std::string name;     // as stored, '/' separators; a directory's ends in '/' (or '\\')
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint16_t flags = 0;   // general purpose bits; bit 0 marks an encrypted entry
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t localHeaderOffset = 0;
};

enum class ZipReadStatus { kOk, kNotFound, kCorrupt, kTooLarge, kUnsupported };

class ZipArchive {
public:
    // Reads the central directory of an archive held in memory. The block is not copied and must
    // outlive the archive. Returns false (with a short English reason in *error when given) for
    // anything that is not a well-formed archive within the limits below; the archive is then
    // empty. An entry count of 0xFFFF counts as a ZIP64 marker, so at most 65534 entries open.
    bool Open(const uint8_t* data, size_t size, std::string* error = nullptr);

    // Every entry in directory order, directories and duplicates included.
    const std::vector<ZipEntry>& Entries() const { return entries_; }

    // The entry Read would extract for that name, or null. Never a directory entry.
    const ZipEntry* Find(const std::string& name) const;
    bool Contains(const std::string& name) const { return Find(name) != nullptr; }

    // Extracts one entry by name. Names are compared case-insensitively for ASCII letters, and
    // '\\' in the asked name counts as '/'. On anything but kOk, out is left empty.
    // Directory entries give kNotFound. When names repeat, the first entry in the directory wins.
    // An unsupported method or encryption is reported before kTooLarge, and both before any
    // kCorrupt found in the entry's local header or data.
    ZipReadStatus Read(const std::string& name, std::vector<uint8_t>& out) const;

    static constexpr uint32_t kMaxEntrySize = 64u << 20;  // uncompressed bytes per entry
    static constexpr size_t kMaxEntries = 65535;

private:
    bool ReadDirectory(size_t offset, size_t length, size_t count, std::string* error);
    ZipReadStatus Extract(const ZipEntry& entry, std::vector<uint8_t>& out) const;
    void Clear();
    bool Fail(std::string* error, const char* reason);  // clears the archive, returns false

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    std::vector<ZipEntry> entries_;
    std::unordered_map<std::string, size_t> files_;  // folded name -> first file entry's index
};

}  // namespace DuiLib
