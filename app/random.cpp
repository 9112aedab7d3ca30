// Random helpers over the C library generator.
#include "app/random.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

void seedRandom() {
    srand(static_cast<unsigned>(time(nullptr)));
}

void seedRandomWith(unsigned seed) {
    srand(seed);
}

float randomUnit() {
    // The game's timings were tuned against a generator whose largest value is 32767, so the draw is
    // folded into that range whatever RAND_MAX this C library has.
    const int draw = rand() % 32768;
    const float value = static_cast<float>(static_cast<double>(draw) / 32767.0);
    return value >= 1.0f ? 0.0f : value;
}

float wrapPositive(float a, float b) {
    double remainder = std::fmod(static_cast<double>(a), static_cast<double>(b));
    if (a < 0) {
        remainder += b;
    }
    return static_cast<float>(remainder);
}
