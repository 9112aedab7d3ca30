// The running-sum cipher every resource file is scrambled with. Bytes are processed from the end of the
// buffer toward its start, and the key index counts from the end, so the last byte always uses key[0].
#pragma once

#include <cstddef>
#include <cstdint>

// The fixed key shared by the game and the tools that make its data.
extern const uint8_t ResourceKey[8];

// Decodes length stored bytes into the payload, in place. A length of 0 does nothing.
void unscrambleResource(uint8_t* bytes, size_t length);
// The exact inverse of unscrambleResource: how resource files are made.
void scrambleResource(uint8_t* bytes, size_t length);
