// Preloaded into the real game by the start-up benchmark (never linked into the game): it wraps
// SDL_GL_SwapBuffers, and at the first call, once OpenGL has finished that frame, writes the time since
// the launcher's clock reading (TAVOK_PROBE_START_NS, wall clock in nanoseconds) to TAVOK_PROBE_OUT
// and ends the process. The game swaps only at the end of a screen's frame, so with a complete res/ the first
// swap is the first presented play frame. It also wraps SDL_SetVideoMode and writes, after the first
// time, the time at which the window was open (the last successful SDL_SetVideoMode), so that start-up
// splits into the part before the window exists and the part after it.
#include <GL/gl.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
long long sinceStart() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char* start = std::getenv("TAVOK_PROBE_START_NS");
    return now.tv_sec * 1000000000LL + now.tv_nsec - (start != nullptr ? std::atoll(start) : 0);
}

long long windowOpen = 0;
} // namespace

// SDL 1.2's signature, without its headers: the surface is only passed on.
extern "C" void* SDL_SetVideoMode(int width, int height, int bpp, unsigned int flags) {
    using SetVideoMode = void* (*)(int, int, int, unsigned int);
    static SetVideoMode real = reinterpret_cast<SetVideoMode>(dlsym(RTLD_NEXT, "SDL_SetVideoMode"));
    void* surface = real(width, height, bpp, flags);
    if (surface != nullptr) {
        windowOpen = sinceStart();
    }
    return surface;
}

extern "C" void SDL_GL_SwapBuffers(void) {
    using Swap = void (*)();
    static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    real();
    glFinish();
    const long long elapsed = sinceStart();
    const char* out = std::getenv("TAVOK_PROBE_OUT");
    if (std::getenv("TAVOK_PROBE_START_NS") != nullptr && out != nullptr) {
        if (FILE* file = std::fopen(out, "w")) {
            std::fprintf(file, "%.3f %.3f\n", elapsed / 1e6, windowOpen / 1e6);
            std::fclose(file);
        }
    }
    _exit(0);
}
