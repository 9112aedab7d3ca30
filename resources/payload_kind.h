// What an unscrambled resource file holds, told from its first bytes. The game itself never asks (the
// caller decides the kind); this is for the tools that make and check the data.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PayloadKind { kUnknown, kPng, kOgg, kWav, kMesh };

PayloadKind payloadKindOf(const uint8_t* bytes, size_t length);
// "png", "ogg", "wav", "mesh" or "unknown".
const char* payloadKindName(PayloadKind kind);
