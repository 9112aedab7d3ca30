// The game's one source of randomness. Everything random in play draws from randomUnit, so a test
// that seeds the generator replays a game exactly.
#pragma once

// Seeds the generator from the current time (done once the display is open).
void seedRandom();
// Seeds the generator with a fixed value, for replays and tests.
void seedRandomWith(unsigned seed);
// Uniform in [0, 1): never returns 1.
float randomUnit();
// The floating remainder of a by b, made non-negative by adding b when a is negative; a negative exact
// multiple of b therefore gives b itself.
float wrapPositive(float a, float b);
