// Feeds arbitrary bytes to the XML parser. A failure must carry a reason and an offset inside
// the input; a success must stay within the limits, hold only valid names without repeated
// attributes, and survive being written back out and parsed again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "ui_toolkit/xml_document.h"

using DuiLib::XmlElement;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsValidName(const std::string& name) {
    if (name.empty()) return false;
    const unsigned char first = static_cast<unsigned char>(name[0]);
    if ((first >= '0' && first <= '9') || first == '-' || first == '.') return false;
    for (unsigned char c : name) {
        const bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        if (!letter && !(c >= '0' && c <= '9') && c < 0x80 && c != '_' && c != ':' && c != '-' &&
            c != '.') {
            return false;
        }
    }
    return true;
}

// Checks one element and its subtree; returns the number of elements in it.
size_t CheckTree(const XmlElement& element, size_t depth) {
    Check(depth <= DuiLib::kXmlMaxDepth && IsValidName(element.name));
    std::set<std::string> names;
    for (const auto& attribute : element.attributes) {
        Check(IsValidName(attribute.name) && names.insert(attribute.name).second);
        Check(element.Attribute(attribute.name) != nullptr);
    }
    size_t count = 1;
    for (const auto& child : element.children) count += CheckTree(*child, depth + 1);
    return count;
}

void Write(const XmlElement& element, std::string& out) {
    out += '<' + element.name;
    for (const auto& attribute : element.attributes) {
        out += ' ' + attribute.name + "=\"";
        for (char c : attribute.value) {
            out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
        }
        out += '"';
    }
    if (element.children.empty()) {
        out += "/>";
        return;
    }
    out += '>';
    for (const auto& child : element.children) Write(*child, out);
    out += "</" + element.name + '>';
}

bool SameTree(const XmlElement& a, const XmlElement& b) {
    if (a.name != b.name || a.attributes.size() != b.attributes.size() ||
        a.children.size() != b.children.size()) {
        return false;
    }
    for (size_t i = 0; i < a.attributes.size(); ++i) {
        if (a.attributes[i].name != b.attributes[i].name ||
            a.attributes[i].value != b.attributes[i].value) {
            return false;
        }
    }
    for (size_t i = 0; i < a.children.size(); ++i) {
        if (!SameTree(*a.children[i], *b.children[i])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto result = DuiLib::ParseXml(reinterpret_cast<const char*>(data), size);
    if (!result.root) {
        Check(!result.error.empty() && result.errorOffset <= size);
        return 0;
    }
    Check(result.error.empty());
    Check(CheckTree(*result.root, 1) <= DuiLib::kXmlMaxElements);
    std::string text;
    Write(*result.root, text);
    const auto again = DuiLib::ParseXml(text.data(), text.size());
    Check(again.root && SameTree(*result.root, *again.root));
    return 0;
}
