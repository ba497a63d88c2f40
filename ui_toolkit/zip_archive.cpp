#include "ui_toolkit/zip_archive.h"

#include <zlib.h>

#include <cstring>
#include <utility>

namespace DuiLib {
namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr uint16_t kFlagEncrypted = 1;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kZip64Marker16 = 0xFFFF;
constexpr uint32_t kZip64Marker32 = 0xFFFFFFFF;
// Deflate yields at most 258 bytes per match and a match costs at least two bits, so no stream
// expands more than this; a larger declared size is a lie we can refuse without inflating.
constexpr uint64_t kMaxDeflateRatio = 1032;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Get32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Whether [offset, offset + length) lies inside a block of `size` bytes; cannot overflow.
bool Fits(size_t size, uint64_t offset, uint64_t length) {
    return offset <= size && length <= size - offset;
}

// The form names are looked up by: ASCII letters in lower case, '\\' as '/'.
std::string FoldName(const std::string& name) {
    std::string key(name);
    for (char& c : key) {
        if (c == '\\') {
            c = '/';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

// Why a stored name could not be used safely as a relative path, or null when it can.
const char* NameProblem(const std::string& name) {
    if (name.empty()) return "an entry name is empty";
    if (name.find('\0') != std::string::npos) return "an entry name holds a NUL byte";
    if (name[0] == '/' || name[0] == '\\') return "an entry name is an absolute path";
    const char first = static_cast<char>(name[0] | 0x20);
    if (name.size() >= 2 && name[1] == ':' && first >= 'a' && first <= 'z') {
        return "an entry name starts with a drive letter";
    }
    for (size_t start = 0; start <= name.size();) {
        size_t stop = name.find_first_of("/\\", start);
        if (stop == std::string::npos) stop = name.size();
        if (stop - start == 2 && name.compare(start, 2, "..") == 0) {
            return "an entry name holds a .. component";
        }
        start = stop + 1;
    }
    return nullptr;
}

// A raw deflate stream (no zlib header), ended however the inflate goes.
class Inflater {
public:
    Inflater() : ok_(inflateInit2(&stream_, -MAX_WBITS) == Z_OK) {}
    ~Inflater() {
        if (ok_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates all of src into exactly out.size() bytes. False when the stream is broken,
    // ends early, or has more to give once out is full.
    bool InflateExactly(const uint8_t* src, uint32_t srcSize, std::vector<uint8_t>& out) {
        if (!ok_) return false;
        uint8_t spare = 0;  // zlib refuses a null output pointer even with no room asked for
        stream_.next_in = const_cast<Bytef*>(src);
        stream_.avail_in = srcSize;
        stream_.next_out = out.empty() ? &spare : out.data();
        stream_.avail_out = static_cast<uInt>(out.size());
        // With all input and all room given at once, one call runs until it ends or stalls.
        return inflate(&stream_, Z_FINISH) == Z_STREAM_END && stream_.avail_out == 0;
    }

private:
    z_stream stream_{};
    bool ok_;
};

}  // namespace

bool ZipArchive::Open(const uint8_t* data, size_t size, std::string* error) {
    Clear();
    if (!data || size < kEndRecordSize) return Fail(error, "too small to be a ZIP archive");

    // The end record is followed only by its comment: scan back for a signature whose comment
    // length reaches exactly the end, so a signature inside the comment is not taken for it.
    const size_t last = size - kEndRecordSize;
    const size_t lowest = last > kMaxCommentSize ? last - kMaxCommentSize : 0;
    size_t end = last + 1;
    for (size_t pos = last + 1; pos-- > lowest;) {
        if (Get32(data + pos) == kEndSignature && size_t{Get16(data + pos + 20)} == last - pos) {
            end = pos;
            break;
        }
    }
    if (end > last) return Fail(error, "no end of central directory record");

    const uint8_t* record = data + end;
    const uint16_t disk = Get16(record + 4);
    const uint16_t directoryDisk = Get16(record + 6);
    const uint16_t countOnDisk = Get16(record + 8);
    const uint16_t count = Get16(record + 10);
    const uint32_t directorySize = Get32(record + 12);
    const uint32_t directoryOffset = Get32(record + 16);
    const bool zip64Locator =
        end >= kZip64LocatorSize && Get32(data + end - kZip64LocatorSize) == kZip64LocatorSignature;
    if (zip64Locator || disk == kZip64Marker16 || directoryDisk == kZip64Marker16 ||
        countOnDisk == kZip64Marker16 || count == kZip64Marker16 ||
        directorySize == kZip64Marker32 || directoryOffset == kZip64Marker32) {
        return Fail(error, "ZIP64 archives are not supported");
    }
    if (disk != 0 || directoryDisk != 0 || countOnDisk != count) {
        return Fail(error, "multi-disk archives are not supported");
    }
    // The directory lies between the entries' data and the end record.
    if (!Fits(end, directoryOffset, directorySize)) {
        return Fail(error, "central directory lies outside the archive");
    }
    const size_t entryCount = count;
    if (entryCount > kMaxEntries || entryCount * kCentralHeaderSize > directorySize) {
        return Fail(error, "central directory too small for its entry count");
    }
    data_ = data;
    size_ = size;
    return ReadDirectory(directoryOffset, directorySize, entryCount, error);
}

bool ZipArchive::ReadDirectory(size_t offset, size_t length, size_t count, std::string* error) {
    entries_.reserve(count);
    files_.reserve(count);
    const size_t stop = offset + length;
    size_t pos = offset;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* header = data_ + pos;
        if (stop - pos < kCentralHeaderSize || Get32(header) != kCentralSignature) {
            return Fail(error, "central directory entry is damaged");
        }
        const size_t entrySize =
            kCentralHeaderSize + Get16(header + 28) + Get16(header + 30) + Get16(header + 32);
        if (stop - pos < entrySize) return Fail(error, "central directory entry runs past its end");

        ZipEntry entry;
        entry.flags = Get16(header + 8);
        entry.method = Get16(header + 10);
        entry.crc32 = Get32(header + 16);
        entry.compressedSize = Get32(header + 20);
        entry.uncompressedSize = Get32(header + 24);
        entry.localHeaderOffset = Get32(header + 42);
        const uint16_t startDisk = Get16(header + 34);
        if (entry.compressedSize == kZip64Marker32 || entry.uncompressedSize == kZip64Marker32 ||
            entry.localHeaderOffset == kZip64Marker32 || startDisk == kZip64Marker16) {
            return Fail(error, "ZIP64 entries are not supported");
        }
        if (startDisk != 0) return Fail(error, "multi-disk archives are not supported");
        // An entry's local header and data come before the directory.
        if (!Fits(offset, entry.localHeaderOffset,
                  uint64_t{kLocalHeaderSize} + entry.compressedSize)) {
            return Fail(error, "entry data lies outside the archive");
        }
        entry.name.assign(reinterpret_cast<const char*>(header + kCentralHeaderSize),
                          Get16(header + 28));
        if (const char* problem = NameProblem(entry.name)) return Fail(error, problem);

        // Directories stay listed but are not files; emplace keeps the first of equal names.
        std::string key = FoldName(entry.name);
        if (key.back() != '/') files_.emplace(std::move(key), entries_.size());
        entries_.push_back(std::move(entry));
        pos += entrySize;
    }
    if (pos != stop) return Fail(error, "central directory size does not match its entries");
    return true;
}

const ZipEntry* ZipArchive::Find(const std::string& name) const {
    const auto found = files_.find(FoldName(name));
    return found == files_.end() ? nullptr : &entries_[found->second];
}

ZipReadStatus ZipArchive::Read(const std::string& name, std::vector<uint8_t>& out) const {
    out.clear();
    const ZipEntry* entry = Find(name);
    if (!entry) return ZipReadStatus::kNotFound;
    std::vector<uint8_t> bytes;
    const ZipReadStatus status = Extract(*entry, bytes);
    if (status == ZipReadStatus::kOk) out.swap(bytes);
    return status;
}

ZipReadStatus ZipArchive::Extract(const ZipEntry& entry, std::vector<uint8_t>& out) const {
    if ((entry.flags & kFlagEncrypted) ||
        (entry.method != kMethodStored && entry.method != kMethodDeflated)) {
        return ZipReadStatus::kUnsupported;
    }
    if (entry.uncompressedSize > kMaxEntrySize) return ZipReadStatus::kTooLarge;

    // The local header repeats the name and has its own extra field length, which places the
    // data; sizes come from the directory, so a trailing data descriptor needs no reading.
    const size_t at = entry.localHeaderOffset;
    if (!Fits(size_, at, kLocalHeaderSize)) return ZipReadStatus::kCorrupt;
    const uint8_t* header = data_ + at;
    if (Get32(header) != kLocalSignature) return ZipReadStatus::kCorrupt;
    if (Get16(header + 6) & kFlagEncrypted) return ZipReadStatus::kUnsupported;
    const size_t nameSize = Get16(header + 26);
    const uint64_t dataAt = uint64_t{at} + kLocalHeaderSize + nameSize + Get16(header + 28);
    if (Get16(header + 8) != entry.method || !Fits(size_, dataAt, entry.compressedSize) ||
        nameSize != entry.name.size() ||
        std::memcmp(header + kLocalHeaderSize, entry.name.data(), nameSize) != 0) {
        return ZipReadStatus::kCorrupt;
    }

    const uint8_t* src = data_ + static_cast<size_t>(dataAt);
    if (entry.method == kMethodStored) {
        if (entry.compressedSize != entry.uncompressedSize) return ZipReadStatus::kCorrupt;
        out.assign(src, src + entry.compressedSize);
    } else {
        if (uint64_t{entry.compressedSize} * kMaxDeflateRatio < entry.uncompressedSize) {
            return ZipReadStatus::kCorrupt;
        }
        out.resize(entry.uncompressedSize);
        if (!Inflater().InflateExactly(src, entry.compressedSize, out)) {
            return ZipReadStatus::kCorrupt;
        }
    }
    if (crc32(0, out.data(), static_cast<uInt>(out.size())) != entry.crc32) {
        return ZipReadStatus::kCorrupt;
    }
    return ZipReadStatus::kOk;
}

void ZipArchive::Clear() {
    data_ = nullptr;
    size_ = 0;
    entries_.clear();
    files_.clear();
}

bool ZipArchive::Fail(std::string* error, const char* reason) {
    Clear();
    if (error) *error = reason;
    return false;
}

}  // namespace DuiLib
