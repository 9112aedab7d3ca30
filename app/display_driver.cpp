// Telling a screen from SDL's text-mode and off-screen fallbacks.
#include "app/display_driver.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {
// SDL 1.2's terminal, console and stand-in drivers, and SDL2's off-screen and stand-in ones.
const char* const kNoScreenDrivers[] = {"aalib", "caca", "fbcon", "svgalib", "dummy", "offscreen"};

// Runs the step with standard output and error silenced; stdio's buffers are emptied on both sides, so
// nothing written during the step comes out afterwards.
template <typename Step> auto silenced(Step step) {
    std::fflush(stdout);
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int savedOut = ::dup(STDOUT_FILENO);
    const int savedErr = ::dup(STDERR_FILENO);
    const bool quiet = null >= 0 && savedOut >= 0 && savedErr >= 0;
    if (quiet) {
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    const auto result = step();
    std::fflush(stdout);
    std::fflush(stderr);
    if (quiet) {
        ::dup2(savedOut, STDOUT_FILENO);
        ::dup2(savedErr, STDERR_FILENO);
    }
    for (int fd : {null, savedOut, savedErr}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return result;
}
} // namespace

bool isScreenDriver(const char* name) {
    for (const char* text : kNoScreenDrivers) {
        if (std::strcmp(name, text) == 0) {
            return false;
        }
    }
    return true;
}

bool sdlReachedAScreen() {
    char name[64] = {};
    return SDL_VideoDriverName(name, sizeof name) == nullptr || isScreenDriver(name);
}

int initSdlQuietly(uint32_t flags) {
    return silenced([flags] { return SDL_Init(flags); });
}

void quitSdlQuietly() {
    silenced([] {
        SDL_Quit();
        return 0;
    });
}
