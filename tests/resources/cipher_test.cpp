#include <gtest/gtest.h>

#include <vector>

#include "resources/cipher.h"

TEST(Cipher, DecodesHandComputedVectors) {
    // One byte: the last byte always uses key[0].
    uint8_t one[] = {0x10};
    unscrambleResource(one, 1);
    EXPECT_EQ(one[0], static_cast<uint8_t>(0x10 - 0x5C));

    // Nine bytes: the first byte (step 8) uses key[0] again, the second (step 7) key[7].
    uint8_t stored[9] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    uint8_t nine[9];
    std::copy(stored, stored + 9, nine);
    unscrambleResource(nine, 9);
    EXPECT_EQ(nine[0], static_cast<uint8_t>(9 - 8 - ResourceKey[0]));
    EXPECT_EQ(nine[1], static_cast<uint8_t>(8 - 7 - ResourceKey[7]));
    EXPECT_EQ(nine[8], static_cast<uint8_t>(1 - 0 - ResourceKey[0]));
    EXPECT_EQ(nine[7], static_cast<uint8_t>(2 - 1 - ResourceKey[1]));
}

TEST(Cipher, RoundTripsEveryLengthAndChangesOnlyBytesAtOrBeforeAnEdit) {
    for (size_t length = 0; length < 300; ++length) {
        std::vector<uint8_t> payload(length);
        for (size_t i = 0; i < length; ++i) {
            payload[i] = static_cast<uint8_t>(i * 37 + length);
        }
        std::vector<uint8_t> bytes = payload;
        scrambleResource(bytes.data(), bytes.size());
        unscrambleResource(bytes.data(), bytes.size());
        ASSERT_EQ(bytes, payload) << "length " << length;
    }

    std::vector<uint8_t> payload(20, 0x41);
    std::vector<uint8_t> original = payload;
    scrambleResource(original.data(), original.size());
    payload[12] ^= 0x01;
    scrambleResource(payload.data(), payload.size());
    for (size_t j = 0; j < payload.size(); ++j) {
        if (j <= 12) {
            EXPECT_NE(payload[j], original[j]) << j;
        } else {
            EXPECT_EQ(payload[j], original[j]) << j;
        }
    }
}
