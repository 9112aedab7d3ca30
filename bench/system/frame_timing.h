// The timing every frame benchmark takes: milliseconds since a moment on the steady clock, and the
// median of a run of samples, which the odd frame a busy machine stretches does not move.
#pragma once

#include <chrono>
#include <vector>

double msSince(std::chrono::steady_clock::time_point start);
// The middle sample; of an even count, the upper of the two middle ones.
double median(std::vector<double> values);
