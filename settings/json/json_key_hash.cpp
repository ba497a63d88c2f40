// SipHash-1-3 (one compression round per word, three finishing rounds) and the per-process
// secret it is keyed with for the object index.
#include "settings/json/json_key_hash.h"

#include <chrono>
#include <cstring>
#include <exception>
#include <random>

namespace {

uint64_t RotateLeft(uint64_t word, int bits) { return (word << bits) | (word >> (64 - bits)); }

// Eight bytes as a little-endian word, whatever the machine's byte order.
uint64_t LittleEndianWord(const unsigned char* bytes) {
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = (word << 8) | bytes[i];
    return word;
}

struct SipState {
    uint64_t v0, v1, v2, v3;

    void Round() {
        v0 += v1;
        v1 = RotateLeft(v1, 13) ^ v0;
        v0 = RotateLeft(v0, 32);
        v2 += v3;
        v3 = RotateLeft(v3, 16) ^ v2;
        v0 += v3;
        v3 = RotateLeft(v3, 21) ^ v0;
        v2 += v1;
        v1 = RotateLeft(v1, 17) ^ v2;
        v2 = RotateLeft(v2, 32);
    }

    void Absorb(uint64_t word) {
        v3 ^= word;
        Round();
        v0 ^= word;
    }
};

}  // namespace

uint64_t SipHash13(uint64_t k0, uint64_t k1, const void* bytes, size_t length) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    SipState state{k0 ^ 0x736f6d6570736575u, k1 ^ 0x646f72616e646f6du, k0 ^ 0x6c7967656e657261u,
                   k1 ^ 0x7465646279746573u};
    const size_t whole = length - length % 8;
    for (size_t i = 0; i < whole; i += 8) state.Absorb(LittleEndianWord(in + i));
    // The last word holds the bytes left over and, in its top byte, the length modulo 256.
    uint64_t last = static_cast<uint64_t>(length & 0xFF) << 56;
    for (size_t i = whole; i < length; ++i) {
        last |= static_cast<uint64_t>(in[i]) << (8 * (i - whole));
    }
    state.Absorb(last);
    state.v2 ^= 0xFF;
    for (int i = 0; i < 3; ++i) state.Round();
    return state.v0 ^ state.v1 ^ state.v2 ^ state.v3;
}

// Words from the system's random source hashed together with a fine clock and the addresses of
// a static and a local, which move from run to run where addresses are randomized: a random
// source that is weak or cannot be opened still leaves the secret hard to guess from outside.
JsonIndexSecret DrawJsonIndexSecret() {
    uint64_t random[2] = {};
    try {
        std::random_device device;
        for (uint64_t& word : random) word = (static_cast<uint64_t>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        // No random source: the inputs below still differ from run to run.
    }
    static const char anchor = 0;
    const char local = 0;
    uint64_t inputs[4] = {
        static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()),
        static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&anchor)),
        static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&local)),
        0,  // which half of the secret
    };
    JsonIndexSecret secret{};
    secret.k0 = SipHash13(random[0], random[1], inputs, sizeof inputs);
    inputs[3] = 1;
    secret.k1 = SipHash13(random[0], random[1], inputs, sizeof inputs);
    return secret;
}

const JsonIndexSecret& ProcessJsonIndexSecret() {
    static const JsonIndexSecret secret = DrawJsonIndexSecret();
    return secret;
}

uint32_t JsonIndexHash(const char* key) {
    const JsonIndexSecret& secret = ProcessJsonIndexSecret();
    const uint64_t hash = SipHash13(secret.k0, secret.k1, key, std::strlen(key));
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}
