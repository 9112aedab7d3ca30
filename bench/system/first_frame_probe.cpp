// Preloaded into the real game by the start-up benchmark (never linked into the game): it wraps
// SDL_GL_SwapBuffers, and at the first call, once OpenGL has finished that frame, writes the time since
// the launcher's clock reading (TAVOK_PROBE_START_NS, wall clock in nanoseconds) to TAVOK_PROBE_OUT
// and ends the process. The game swaps only at the end of a screen's frame, so with a complete res/ the first
// swap is the first presented play frame.
#include <GL/gl.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_GL_SwapBuffers(void) {
    using Swap = void (*)();
    static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    real();
    glFinish();
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char* start = std::getenv("TAVOK_PROBE_START_NS");
    const char* out = std::getenv("TAVOK_PROBE_OUT");
    if (start != nullptr && out != nullptr) {
        const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - std::atoll(start);
        if (FILE* file = std::fopen(out, "w")) {
            std::fprintf(file, "%.3f\n", elapsed / 1e6);
            std::fclose(file);
        }
    }
    _exit(0);
}
