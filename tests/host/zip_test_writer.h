// Builds ZIP archives in memory for the reader's tests, and tells where each record landed so a
// test can damage one field and see the reader refuse the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

// Field offsets inside a local header, a central directory record and the end record.
constexpr size_t kLocalFlags = 6;
constexpr size_t kLocalMethod = 8;
constexpr size_t kLocalNameSize = 26;
constexpr size_t kLocalExtraSize = 28;
constexpr size_t kLocalName = 30;
constexpr size_t kCentralFlags = 8;
constexpr size_t kCentralMethod = 10;
constexpr size_t kCentralCrc = 16;
constexpr size_t kCentralCompressed = 20;
constexpr size_t kCentralUncompressed = 24;
constexpr size_t kCentralNameSize = 28;
constexpr size_t kCentralStartDisk = 34;
constexpr size_t kCentralLocalOffset = 42;
constexpr size_t kEndCountOnDisk = 8;
constexpr size_t kEndCount = 10;
constexpr size_t kEndDirectorySize = 12;
constexpr size_t kEndDirectoryOffset = 16;

// Where the records of a built archive start.
struct Layout {
    std::vector<size_t> local;    // each entry's local header
    std::vector<size_t> central;  // each entry's central directory record
    size_t end = 0;               // the end of central directory record
};

std::vector<uint8_t> Bytes(const std::string& text);
std::vector<uint8_t> DeflateRaw(const std::vector<uint8_t>& data);
uint32_t Crc(const std::vector<uint8_t>& data);

void Put16(std::vector<uint8_t>& zip, size_t at, uint16_t value);
void Put32(std::vector<uint8_t>& zip, size_t at, uint32_t value);
uint32_t Get32(const std::vector<uint8_t>& zip, size_t at);

class ZipWriter {
public:
    ZipWriter& Stored(const std::string& name, const std::vector<uint8_t>& data);
    ZipWriter& Deflated(const std::string& name, const std::vector<uint8_t>& data);
    // `count` zero bytes, deflated a chunk at a time so the plain bytes never exist in memory.
    ZipWriter& DeflatedZeros(const std::string& name, uint32_t count);
    // Payload and declared fields written exactly as given.
    ZipWriter& Raw(const std::string& name, uint16_t method, const std::vector<uint8_t>& payload,
                   uint32_t crc, uint32_t uncompressedSize);
    ZipWriter& Comment(const std::string& text);
    // Zero sizes and CRC in local headers, the real ones in a descriptor after the data.
    ZipWriter& DataDescriptors();

    std::vector<uint8_t> Build(Layout* layout = nullptr) const;

private:
    struct Item {
        std::string name;
        uint16_t method;
        std::vector<uint8_t> payload;
        uint32_t crc;
        uint32_t uncompressedSize;
    };
    std::vector<Item> items_;
    std::string comment_;
    bool descriptors_ = false;
};

}  // namespace ziptest
