// FrameClock: holds the main loop to its target rate and measures the time step handed to the screens.
#pragma once

#include <cstdint>
#include <functional>

class FrameClock {
public:
    using TickSource = std::function<uint32_t()>;
    using Sleeper = std::function<void(uint32_t milliseconds)>;

    // The real clock: SDL's millisecond ticks and SDL_Delay.
    FrameClock();
    // A clock over other ticks and sleep, for tests that step time by hand.
    FrameClock(TickSource ticks, Sleeper sleep);

    // Sleeps for what is left of this pass's share of a second, then returns the seconds since the end of
    // the previous call, never more than maxStep. The first call measures from tick 0.
    float waitFrame();
    // For a host that paces the passes itself (a browser calls once per display frame, and a page may
    // not sleep): whether a pass is due at tick `now`, so that at most targetFps passes run per second.
    // A pass counts as due from half a 60 Hz frame before its time, since display frames jitter.
    bool passIsDue(uint32_t now) const;

    uint32_t lastTicks = 0;
    float targetFps = 60.0f;
    float maxStep = 0.125f;

private:
    TickSource ticks_;
    Sleeper sleep_;
};
