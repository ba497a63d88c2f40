// Decoding one UTF-8 sequence: the shared rule for validating and converting UTF-8 text.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the sequence starting at bytes[0] (size bytes available). Returns its length and sets
// *code, or returns 0 when it is malformed: a bad lead or continuation byte, cut short, an
// overlong form, a surrogate, or above U+10FFFF.
size_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, uint32_t* code);
