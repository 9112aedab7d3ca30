// The frame clock's arithmetic.
#include "app/frame_clock.h"

#include <SDL/SDL.h>
#include <climits>

#ifdef __EMSCRIPTEN__
// A page must not sleep: the browser's frame callback paces the passes (see passIsDue).
FrameClock::FrameClock() : ticks_([] { return SDL_GetTicks(); }), sleep_([](uint32_t) {}) {}
#else
FrameClock::FrameClock()
    : ticks_([] { return SDL_GetTicks(); }), sleep_([](uint32_t ms) { SDL_Delay(ms); }) {}
#endif

FrameClock::FrameClock(TickSource ticks, Sleeper sleep)
    : ticks_(std::move(ticks)), sleep_(std::move(sleep)) {}

float FrameClock::waitFrame() {
    const uint32_t now = ticks_();
    // The elapsed time is taken signed, so a tick counter that wrapped since the last pass still gives
    // the small difference it really is.
    const int32_t elapsed = static_cast<int32_t>(now - lastTicks);
    const double wanted = 1000.0 / targetFps - static_cast<double>(elapsed);
    const int delay = wanted >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(wanted);
    if (delay > 0) {
        sleep_(static_cast<uint32_t>(delay));
    }
    const uint32_t after = ticks_();
    float step = static_cast<float>(after - lastTicks) / 1000.0f;
    lastTicks = after;
    if (step > maxStep) {
        step = maxStep;
    }
    return step;
}

bool FrameClock::passIsDue(uint32_t now) const {
    const double elapsed = static_cast<double>(static_cast<int32_t>(now - lastTicks));
    return elapsed >= 1000.0 / targetFps - 1000.0 / 120.0;
}
