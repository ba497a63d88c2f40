#include "ui_toolkit/xml_document.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>

#include "base/utf8_codec.h"

namespace DuiLib {

const std::string* XmlElement::Attribute(const std::string& wanted) const {
    for (const XmlAttribute& attribute : attributes) {
        if (attribute.name == wanted) return &attribute.value;
    }
    return nullptr;
}

namespace {

constexpr size_t kNotFound = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

// Decodes the UTF-16LE character at byte `at`, appends it as UTF-8 and returns the bytes it
// used, or 0 when the input is cut short or holds a lone surrogate.
size_t AppendUtf16Char(std::string_view in, size_t at, std::string& out) {
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(in[i])) |
               static_cast<uint32_t>(static_cast<unsigned char>(in[i + 1])) << 8;
    };
    if (in.size() - at < 2) return 0;
    const uint32_t first = unit(at);
    if (first < 0xD800 || first > 0xDFFF) {
        AppendUtf8(first, out);
        return 2;
    }
    if (first > 0xDBFF || in.size() - at < 4) return 0;
    const uint32_t second = unit(at + 2);
    if (second < 0xDC00 || second > 0xDFFF) return 0;
    AppendUtf8(0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), out);
    return 4;
}

// Converts everything after the FF FE mark; on failure reports the offending byte offset.
bool Utf16LeToUtf8(std::string_view in, std::string& out, size_t& failedAt) {
    out.reserve(in.size() + in.size() / 2);
    for (size_t at = 2; at < in.size();) {
        const size_t used = AppendUtf16Char(in, at, out);
        if (used == 0) {
            failedAt = at;
            return false;
        }
        at += used;
    }
    return true;
}

// Maps an offset in the converted UTF-8 text back to the UTF-16 input byte it came from.
size_t Utf16OffsetOf(std::string_view in, size_t utf8Offset) {
    std::string scratch;
    size_t produced = 0;
    for (size_t at = 2; at < in.size();) {
        scratch.clear();
        const size_t used = AppendUtf16Char(in, at, scratch);
        if (used == 0 || produced + scratch.size() > utf8Offset) return at;
        produced += scratch.size();
        at += used;
    }
    return in.size();
}

// Decodes the text between '&' and ';'. Returns null on success, else the reason.
const char* DecodeReference(std::string_view ref, uint32_t& cp) {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [name, ch] : kNamed) {
        if (ref == name) {
            cp = static_cast<unsigned char>(ch);
            return nullptr;
        }
    }
    if (ref.empty() || ref[0] != '#') return "unknown entity";
    const bool hex = ref.size() > 1 && ref[1] == 'x';
    const size_t first = hex ? 2 : 1;
    if (first == ref.size()) return "empty character reference";
    uint32_t value = 0;
    for (size_t i = first; i < ref.size(); ++i) {
        const char c = ref[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            return "bad digit in character reference";
        }
        // Checked every step, so the value never gets near overflowing.
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) return "character reference out of range";
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return "invalid character reference";
    cp = value;
    return nullptr;
}

// Iterative parser: open elements live on an explicit stack, so nesting costs no C++ stack.
class Parser {
public:
    Parser(std::string_view in, size_t start) : in_(in), pos_(start) {}

    XmlParseResult Run() {
        XmlParseResult result;
        if (SkipMisc(true) && ParseElements() && SkipMisc(false)) {
            if (pos_ == in_.size()) {
                result.root = std::move(root_);
                return result;
            }
            Fail("content after the root element", pos_);
        }
        result.error = error_;
        result.errorOffset = errorOffset_;
        return result;
    }

private:
    bool Fail(const char* message, size_t at) {
        if (error_.empty()) {
            error_ = message;
            errorOffset_ = at;
        }
        return false;
    }

    bool AtEnd() const { return pos_ == in_.size(); }
    bool LookingAt(std::string_view prefix) const { return StartsWith(in_, pos_, prefix); }

    bool Expect(char c, const char* message) {
        if (!AtEnd() && in_[pos_] == c) {
            ++pos_;
            return true;
        }
        return Fail(AtEnd() ? "unexpected end of input" : message, pos_);
    }

    // Returns whether any whitespace was skipped.
    bool SkipSpace() {
        const size_t start = pos_;
        while (!AtEnd() && IsSpace(in_[pos_])) ++pos_;
        return pos_ != start;
    }

    bool ParseName(std::string_view& name) {
        if (AtEnd()) return Fail("unexpected end of input", pos_);
        if (!IsNameStart(in_[pos_])) return Fail("expected a name", pos_);
        const size_t start = pos_;
        while (!AtEnd() && IsNameChar(in_[pos_])) ++pos_;
        name = in_.substr(start, pos_ - start);
        return true;
    }

    // Skips from the current '<' past `terminator`, searching after the opening `skip` bytes.
    bool SkipPast(size_t skip, std::string_view terminator, const char* message) {
        const size_t end = in_.find(terminator, pos_ + skip);
        if (end == kNotFound) return Fail(message, pos_);
        pos_ = end + terminator.size();
        return true;
    }

    bool SkipProcessingInstruction() {
        const size_t start = pos_;
        pos_ += 2;
        std::string_view target;
        if (!ParseName(target)) return false;
        pos_ = start;
        return SkipPast(2, "?>", "unterminated processing instruction");
    }

    // Skips a DOCTYPE; quoted identifiers may hold '>', an internal subset is refused.
    bool SkipDoctype() {
        const size_t start = pos_;
        pos_ += 9;
        if (!SkipSpace()) return Fail("malformed DOCTYPE", pos_);
        while (!AtEnd()) {
            const char c = in_[pos_];
            if (c == '>') {
                ++pos_;
                return true;
            }
            if (c == '[') return Fail("internal DTD subset not supported", pos_);
            if (c == '"' || c == '\'') {
                const size_t close = in_.find(c, pos_ + 1);
                if (close == kNotFound) break;
                pos_ = close + 1;
            } else {
                ++pos_;
            }
        }
        return Fail("unterminated DOCTYPE", start);
    }

    // Skips whitespace, comments and processing instructions outside the root element, and
    // one DOCTYPE before it.
    bool SkipMisc(bool doctypeAllowed) {
        for (;;) {
            SkipSpace();
            bool ok = true;
            if (LookingAt("<!--")) {
                ok = SkipPast(4, "-->", "unterminated comment");
            } else if (LookingAt("<?")) {
                ok = SkipProcessingInstruction();
            } else if (LookingAt("<!DOCTYPE")) {
                if (!doctypeAllowed) return Fail("misplaced DOCTYPE", pos_);
                doctypeAllowed = false;
                ok = SkipDoctype();
            } else {
                return true;
            }
            if (!ok) return false;
        }
    }

    bool ParseElements() {
        if (AtEnd()) return Fail("no root element", pos_);
        if (in_[pos_] != '<') return Fail("text outside the root element", pos_);
        if (!ParseStartTag()) return false;
        while (!open_.empty()) {
            // Text is not used by layouts, so jump straight to the next markup.
            const size_t next = in_.find('<', pos_);
            if (next == kNotFound) return Fail("unclosed element", in_.size());
            pos_ = next;
            bool ok = true;
            if (LookingAt("</")) {
                ok = ParseEndTag();
            } else if (LookingAt("<!--")) {
                ok = SkipPast(4, "-->", "unterminated comment");
            } else if (LookingAt("<![CDATA[")) {
                ok = SkipPast(9, "]]>", "unterminated CDATA section");
            } else if (LookingAt("<?")) {
                ok = SkipProcessingInstruction();
            } else if (LookingAt("<!")) {
                ok = Fail("unexpected markup", pos_);
            } else {
                ok = ParseStartTag();
            }
            if (!ok) return false;
        }
        return true;
    }

    bool ParseStartTag() {
        const size_t tagStart = pos_++;
        if (open_.size() >= kXmlMaxDepth) return Fail("elements nested too deeply", tagStart);
        if (++elementCount_ > kXmlMaxElements) return Fail("too many elements", tagStart);
        // The tree owns the element from the start, so a failure below leaks nothing.
        auto owned = std::make_unique<XmlElement>();
        XmlElement& element = *owned;
        if (open_.empty()) {
            root_ = std::move(owned);
        } else {
            open_.back()->children.push_back(std::move(owned));
        }
        std::string_view name;
        if (!ParseName(name)) return false;
        element.name.assign(name);
        nameOffsets_.clear();
        for (;;) {
            const bool spaced = SkipSpace();
            if (AtEnd()) return Fail("unexpected end of input", pos_);
            if (in_[pos_] == '>') {
                ++pos_;
                open_.push_back(&element);
                break;
            }
            if (LookingAt("/>")) {
                pos_ += 2;
                break;
            }
            if (!spaced) return Fail("malformed start tag", pos_);
            if (!ParseAttribute(element)) return false;
        }
        return CheckDuplicateAttributes(element);
    }

    bool ParseAttribute(XmlElement& element) {
        const size_t nameOffset = pos_;
        std::string_view name;
        if (!ParseName(name)) return false;
        SkipSpace();
        if (!Expect('=', "expected '='")) return false;
        SkipSpace();
        if (AtEnd()) return Fail("unexpected end of input", pos_);
        const char quote = in_[pos_];
        if (quote != '"' && quote != '\'') return Fail("expected a quoted value", pos_);
        const size_t close = in_.find(quote, pos_ + 1);
        if (close == kNotFound) return Fail("unterminated attribute value", pos_);
        XmlAttribute attribute;
        attribute.name.assign(name);
        if (!DecodeValue(pos_ + 1, close, attribute.value)) return false;
        pos_ = close + 1;
        element.attributes.push_back(std::move(attribute));
        nameOffsets_.push_back(nameOffset);
        return true;
    }

    // Decodes in_[begin, end) into `out`; tabs and line breaks are kept as written.
    bool DecodeValue(size_t begin, size_t end, std::string& out) {
        const std::string_view raw = in_.substr(begin, end - begin);
        out.reserve(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (c == '<') return Fail("'<' in attribute value", begin + i);
            if (c != '&') {
                out += c;
                continue;
            }
            const size_t semicolon = raw.find(';', i);
            if (semicolon == kNotFound) return Fail("'&' without ';'", begin + i);
            uint32_t cp = 0;
            const char* reason = DecodeReference(raw.substr(i + 1, semicolon - i - 1), cp);
            if (reason) return Fail(reason, begin + i);
            AppendUtf8(cp, out);
            i = semicolon;
        }
        return true;
    }

    // Sorting keeps this O(n log n) for elements with very many attributes.
    bool CheckDuplicateAttributes(const XmlElement& element) {
        const std::vector<XmlAttribute>& attributes = element.attributes;
        if (attributes.size() < 2) return true;
        order_.resize(attributes.size());
        std::iota(order_.begin(), order_.end(), size_t{0});
        std::sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
            const int cmp = attributes[a].name.compare(attributes[b].name);
            return cmp != 0 ? cmp < 0 : a < b;
        });
        // Report the earliest attribute in document order that repeats an earlier name.
        size_t duplicate = attributes.size();
        for (size_t i = 1; i < order_.size(); ++i) {
            if (attributes[order_[i]].name == attributes[order_[i - 1]].name) {
                duplicate = std::min(duplicate, order_[i]);
            }
        }
        if (duplicate == attributes.size()) return true;
        return Fail("duplicate attribute", nameOffsets_[duplicate]);
    }

    bool ParseEndTag() {
        const size_t tagStart = pos_;
        pos_ += 2;
        std::string_view name;
        if (!ParseName(name)) return false;
        SkipSpace();
        if (!Expect('>', "expected '>'")) return false;
        if (name != open_.back()->name) return Fail("mismatched end tag", tagStart);
        open_.pop_back();
        return true;
    }

    std::string_view in_;
    size_t pos_;
    std::unique_ptr<XmlElement> root_;
    std::vector<XmlElement*> open_;    // elements whose end tag is still due, innermost last
    std::vector<size_t> nameOffsets_;  // attribute name offsets of the current start tag
    std::vector<size_t> order_;        // scratch for the duplicate check
    size_t elementCount_ = 0;
    std::string error_;
    size_t errorOffset_ = 0;
};

}  // namespace

XmlParseResult ParseXml(const char* data, size_t size) {
    const std::string_view input(data ? data : "", data ? size : 0);
    if (input.size() > kXmlMaxInputSize) {
        XmlParseResult result;
        result.error = "input too large";
        result.errorOffset = kXmlMaxInputSize;
        return result;
    }
    if (StartsWith(input, 0, "\xFF\xFE")) {
        std::string converted;
        size_t failedAt = 0;
        if (!Utf16LeToUtf8(input, converted, failedAt)) {
            XmlParseResult result;
            result.error = "invalid UTF-16";
            result.errorOffset = failedAt;
            return result;
        }
        XmlParseResult result = Parser(converted, 0).Run();
        if (!result.root) result.errorOffset = Utf16OffsetOf(input, result.errorOffset);
        return result;
    }
    const size_t start = StartsWith(input, 0, "\xEF\xBB\xBF") ? 3 : 0;
    return Parser(input, start).Run();
}

}  // namespace DuiLib
