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
    // With no secret (an all-zero key) anyone could work out which keys collide.
    const uint64_t unkeyed = SipHash13(0, 0, "key", 3);
    EXPECT_NE(JsonIndexHash("key"), static_cast<uint32_t>(unkeyed ^ (unkeyed >> 32)));
}
