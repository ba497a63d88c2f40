// UTF-8 sequences: the one set of rules for validating, decoding and encoding UTF-8 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the sequence starting at bytes[0] (size bytes available). Returns its length and sets
// *code, or returns 0 when it is malformed: a bad lead or continuation byte, cut short, an
// overlong form, a surrogate, or above U+10FFFF.
size_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, uint32_t* code);

// Writes code point code (at most U+10FFFF) as UTF-8 into out; returns the byte count (1-4).
size_t EncodeUtf8(uint32_t code, char out[4]);
void AppendUtf8(uint32_t code, std::string& out);

// UTF-16 code units (held in wchar_t) to UTF-8, and back; a lone surrogate or a malformed
// sequence becomes U+FFFD. Pure code; base/utf_convert.h is the system's own conversion.
std::string Utf16ToUtf8(const std::wstring& text);
std::wstring Utf8ToUtf16(const std::string& text);
