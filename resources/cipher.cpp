// The resource cipher: each stored byte is the running sum, modulo 256, of its payload byte, every
// payload byte after it and the key bytes used for them.
#include "resources/cipher.h"

const uint8_t ResourceKey[8] = {0x5C, 0x11, 0xE4, 0x70, 0x2B, 0x98, 0x46, 0xD3};

void unscrambleResource(uint8_t* bytes, size_t length) {
    uint8_t previous = 0;
    for (size_t step = 0; step < length; ++step) {
        const size_t j = length - 1 - step;
        const uint8_t stored = bytes[j];
        bytes[j] = static_cast<uint8_t>(stored - previous - ResourceKey[step % 8]);
        previous = stored;
    }
}

void scrambleResource(uint8_t* bytes, size_t length) {
    uint8_t sum = 0;
    for (size_t step = 0; step < length; ++step) {
        const size_t j = length - 1 - step;
        sum = static_cast<uint8_t>(sum + bytes[j] + ResourceKey[step % 8]);
        bytes[j] = sum;
    }
}
