#include "zip_test_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace ziptest {
namespace {

constexpr uint16_t kFlagDescriptor = 1 << 3;
constexpr uint16_t kVersion = 20;

void Add16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Add32(std::vector<uint8_t>& out, uint32_t value) {
    Add16(out, static_cast<uint16_t>(value));
    Add16(out, static_cast<uint16_t>(value >> 16));
}

void AddText(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

// Runs `produce` to fill a raw deflate stream: it gets the stream and returns the flush to use
// for the input it set, Z_FINISH for its last piece.
template <typename Produce>
std::vector<uint8_t> DeflateWith(Produce produce) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::runtime_error("deflateInit2 failed");
    }
    std::vector<uint8_t> out;
    uint8_t chunk[16384];
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        const int flush = produce(stream);
        do {
            stream.next_out = chunk;
            stream.avail_out = sizeof chunk;
            result = deflate(&stream, flush);
            if (result == Z_STREAM_ERROR) {
                deflateEnd(&stream);
                throw std::runtime_error("deflate failed");
            }
            out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> DeflateRaw(const std::vector<uint8_t>& data) {
    return DeflateWith([&data](z_stream& stream) {
        stream.next_in = const_cast<Bytef*>(data.data());
        stream.avail_in = static_cast<uInt>(data.size());
        return Z_FINISH;
    });
}

uint32_t Crc(const std::vector<uint8_t>& data) {
    return static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
}

void Put16(std::vector<uint8_t>& zip, size_t at, uint16_t value) {
    zip.at(at) = static_cast<uint8_t>(value);
    zip.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& zip, size_t at, uint32_t value) {
    Put16(zip, at, static_cast<uint16_t>(value));
    Put16(zip, at + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t Get32(const std::vector<uint8_t>& zip, size_t at) {
    return uint32_t{zip.at(at)} | uint32_t{zip.at(at + 1)} << 8 | uint32_t{zip.at(at + 2)} << 16 |
           uint32_t{zip.at(at + 3)} << 24;
}

ZipWriter& ZipWriter::Stored(const std::string& name, const std::vector<uint8_t>& data) {
    const uint32_t size = static_cast<uint32_t>(data.size());
    return Raw(name, 0, data, Crc(data), size);
}

ZipWriter& ZipWriter::Deflated(const std::string& name, const std::vector<uint8_t>& data) {
    const uint32_t size = static_cast<uint32_t>(data.size());
    return Raw(name, 8, DeflateRaw(data), Crc(data), size);
}

ZipWriter& ZipWriter::DeflatedZeros(const std::string& name, uint32_t count) {
    static const std::vector<uint8_t> zeros(1 << 20);
    uint32_t left = count;
    uLong crc = crc32(0, nullptr, 0);
    std::vector<uint8_t> payload = DeflateWith([&](z_stream& stream) {
        const uInt piece = left < zeros.size() ? left : static_cast<uInt>(zeros.size());
        crc = crc32(crc, zeros.data(), piece);
        left -= piece;
        stream.next_in = const_cast<Bytef*>(zeros.data());
        stream.avail_in = piece;
        return left == 0 ? Z_FINISH : Z_NO_FLUSH;
    });
    return Raw(name, 8, payload, static_cast<uint32_t>(crc), count);
}

ZipWriter& ZipWriter::Raw(const std::string& name, uint16_t method,
                          const std::vector<uint8_t>& payload, uint32_t crc,
                          uint32_t uncompressedSize) {
    items_.push_back({name, method, payload, crc, uncompressedSize});
    return *this;
}

ZipWriter& ZipWriter::Comment(const std::string& text) {
    comment_ = text;
    return *this;
}

ZipWriter& ZipWriter::DataDescriptors() {
    descriptors_ = true;
    return *this;
}

std::vector<uint8_t> ZipWriter::Build(Layout* layout) const {
    std::vector<uint8_t> zip;
    Layout where;
    const uint16_t flags = descriptors_ ? kFlagDescriptor : 0;
    for (const Item& item : items_) {
        const uint32_t compressed = static_cast<uint32_t>(item.payload.size());
        where.local.push_back(zip.size());
        Add32(zip, 0x04034b50);
        Add16(zip, kVersion);
        Add16(zip, flags);
        Add16(zip, item.method);
        Add32(zip, 0);  // time and date
        Add32(zip, descriptors_ ? 0 : item.crc);
        Add32(zip, descriptors_ ? 0 : compressed);
        Add32(zip, descriptors_ ? 0 : item.uncompressedSize);
        Add16(zip, static_cast<uint16_t>(item.name.size()));
        Add16(zip, 0);
        AddText(zip, item.name);
        zip.insert(zip.end(), item.payload.begin(), item.payload.end());
        if (descriptors_) {
            Add32(zip, 0x08074b50);
            Add32(zip, item.crc);
            Add32(zip, compressed);
            Add32(zip, item.uncompressedSize);
        }
    }
    const size_t directory = zip.size();
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        where.central.push_back(zip.size());
        Add32(zip, 0x02014b50);
        Add16(zip, kVersion);
        Add16(zip, kVersion);
        Add16(zip, flags);
        Add16(zip, item.method);
        Add32(zip, 0);  // time and date
        Add32(zip, item.crc);
        Add32(zip, static_cast<uint32_t>(item.payload.size()));
        Add32(zip, item.uncompressedSize);
        Add16(zip, static_cast<uint16_t>(item.name.size()));
        Add16(zip, 0);  // extra field
        Add16(zip, 0);  // comment
        Add16(zip, 0);  // start disk
        Add16(zip, 0);  // internal attributes
        Add32(zip, 0);  // external attributes
        Add32(zip, static_cast<uint32_t>(where.local[i]));
        AddText(zip, item.name);
    }
    where.end = zip.size();
    Add32(zip, 0x06054b50);
    Add32(zip, 0);  // this disk, directory's disk
    Add16(zip, static_cast<uint16_t>(items_.size()));
    Add16(zip, static_cast<uint16_t>(items_.size()));
    Add32(zip, static_cast<uint32_t>(where.end - directory));
    Add32(zip, static_cast<uint32_t>(directory));
    Add16(zip, static_cast<uint16_t>(comment_.size()));
    AddText(zip, comment_);
    if (layout) *layout = where;
    return zip;
}

}  // namespace ziptest
