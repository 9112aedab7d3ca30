// Recognising payloads by their signatures.
#include "resources/payload_kind.h"

#include <cstring>

namespace {
bool startsWith(const uint8_t* bytes, size_t length, const void* prefix, size_t prefixLength, size_t at = 0) {
    return length >= at + prefixLength && memcmp(bytes + at, prefix, prefixLength) == 0;
}
} // namespace

PayloadKind payloadKindOf(const uint8_t* bytes, size_t length) {
    if (bytes == nullptr) {
        return PayloadKind::kUnknown;
    }
    if (startsWith(bytes, length, "\x89PNG\r\n\x1a\n", 8)) {
        return PayloadKind::kPng;
    }
    if (startsWith(bytes, length, "OggS", 4)) {
        return PayloadKind::kOgg;
    }
    if (startsWith(bytes, length, "RIFF", 4) && startsWith(bytes, length, "WAVE", 4, 8)) {
        return PayloadKind::kWav;
    }
    if (startsWith(bytes, length, "msh1", 4)) {
        return PayloadKind::kMesh;
    }
    return PayloadKind::kUnknown;
}

const char* payloadKindName(PayloadKind kind) {
    switch (kind) {
    case PayloadKind::kPng:
        return "png";
    case PayloadKind::kOgg:
        return "ogg";
    case PayloadKind::kWav:
        return "wav";
    case PayloadKind::kMesh:
        return "mesh";
    default:
        return "unknown";
    }
}
