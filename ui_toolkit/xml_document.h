// A small XML reader for window layout files: it builds a tree of elements and their
// attributes and nothing else.
//
// Accepted: UTF-8 (optional BOM) or UTF-16LE with a BOM, which is converted to UTF-8 first.
// Processing instructions, comments and a DOCTYPE without an internal subset are skipped;
// text and CDATA inside elements are skipped unread. Attribute values are
// entity-decoded (the five predefined entities and numeric references); literal tabs and line
// breaks in them are kept as they are. Bytes other than markup are passed through unchecked.
//
// Limits, so hostile files fail cleanly: 16 MiB of input, 256 nested elements and 100,000
// elements in all. The parser is iterative and never reads past the end of the buffer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace DuiLib {

constexpr size_t kXmlMaxInputSize = 16u * 1024u * 1024u;
constexpr size_t kXmlMaxDepth = 256;
constexpr size_t kXmlMaxElements = 100000;

struct XmlAttribute {
    std::string name;
    std::string value;  // entity-decoded, UTF-8
};

struct XmlElement {
    std::string name;
    std::vector<XmlAttribute> attributes;               // in document order
    std::vector<std::unique_ptr<XmlElement>> children;  // child elements in order
    // The value of the first attribute with exactly this name, or null.
    const std::string* Attribute(const std::string& name) const;
};

struct XmlParseResult {
    std::unique_ptr<XmlElement> root;  // null on failure
    std::string error;                 // short English reason on failure, empty on success
    size_t errorOffset = 0;            // byte offset into the input where it failed
};

// Parses a whole document held in memory (not NUL-terminated; may contain any bytes).
// Never throws except std::bad_alloc.
XmlParseResult ParseXml(const char* data, size_t size);

}  // namespace DuiLib
