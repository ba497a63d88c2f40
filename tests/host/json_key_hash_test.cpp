#include <gtest/gtest.h>

#include <cstdint>

#include "settings/json/json_key_hash.h"

TEST(SipHash13, MatchesPublishedValues) {
    const uint64_t k0 = 0x0706050403020100u, k1 = 0x0f0e0d0c0b0a0908u;  // key bytes 00 to 0f
    const unsigned char message[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(SipHash13(k0, k1, message, 0), 0xabac0158050fc4dcu);
    EXPECT_EQ(SipHash13(k0, k1, message, 1), 0xc9f49bf37d57ca93u);
    EXPECT_EQ(SipHash13(k0, k1, message, 7), 0xd3927d989bb11140u);
    EXPECT_EQ(SipHash13(k0, k1, message, 8), 0x369095118d299a8eu);
    // A whole word and seven bytes after it.
    EXPECT_EQ(SipHash13(0, 0, "digest-sip_hash", 15), 0xce31007e34130c0au);
}

TEST(JsonIndexHash, IsKeyedWithASecret) {
    // The hash is SipHash under the process's secret, which is a fresh draw: with a fixed key
    // anyone could work out which keys collide.
    const JsonIndexSecret& secret = ProcessJsonIndexSecret();
    const uint64_t keyed = SipHash13(secret.k0, secret.k1, "key", 3);
    EXPECT_EQ(JsonIndexHash("key"), static_cast<uint32_t>(keyed ^ (keyed >> 32)));
    const JsonIndexSecret a = DrawJsonIndexSecret(), b = DrawJsonIndexSecret();
    EXPECT_NE(a.k0, b.k0);
    EXPECT_NE(a.k1, b.k1);
    EXPECT_NE(a.k0, a.k1);
    EXPECT_NE(secret.k0, a.k0);
}
