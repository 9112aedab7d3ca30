// Deterministic hashing noise for the asset generator: the same inputs give the same picture and the
// same music on every run and every machine, unlike the game's own random source.
#pragma once

#include <cstdint>

inline uint32_t hashMix(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

// Uniform in [0, 1) for the integer triple (a, b, seed).
inline float hashUnit(int a, int b, int seed) {
    uint32_t h =
        hashMix(static_cast<uint32_t>(a) * 0x9e3779b9U ^ hashMix(static_cast<uint32_t>(b) + 0x632be5abU) ^
                hashMix(static_cast<uint32_t>(seed) * 0x85ebca6bU + 1));
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

// A small sequential generator for streams of values (noise in the drums, jitter in the pads).
class NoiseStream {
public:
    explicit NoiseStream(uint32_t seed) : state_(seed * 2654435761U + 12345U) {}
    // Uniform in [-1, 1).
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }

private:
    uint32_t state_;
};
