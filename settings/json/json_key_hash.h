// The hash the object index files keys under. It is keyed with a secret drawn once per process,
// so text cannot be written to make many keys land in the same cells of the index.
#pragma once

#include <cstddef>
#include <cstdint>

// SipHash-1-3 of bytes[0, length) under the 128-bit key (k0, k1), both read as little-endian
// words.
uint64_t SipHash13(uint64_t k0, uint64_t k1, const void* bytes, size_t length);

// A 128-bit SipHash key.
struct JsonIndexSecret {
    uint64_t k0, k1;
};
// A new secret, different at each draw.
JsonIndexSecret DrawJsonIndexSecret();
// This process's secret: drawn once, on first use, by whichever thread.
const JsonIndexSecret& ProcessJsonIndexSecret();

// SipHash-1-3 of a NUL-terminated key under this process's secret, folded to 32 bits.
uint32_t JsonIndexHash(const char* key);
