// The floor of start-up: the least work any start of the game must do with its data, without OpenGL.
// Reads, unscrambles and decodes every file of res/ the way the game's loaders do (images with
// SDL_image, music with SDL_mixer on the dummy audio driver), then prints the time since the
// launcher's clock reading (TAVOK_PROBE_START_NS) in milliseconds, so that it is measured exactly like
// the game: from process start.
//
// Usage: startup_floor RES_DIR
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "audio/audio_device.h"
#include "resources/payload_kind.h"
#include "resources/resource_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RES_DIR\n", argv[0]);
        return 2;
    }
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0 || !openAudio()) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    int images = 0, music = 0, other = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        size_t length = 0;
        uint8_t* bytes = readResourceFile(entry.path().string(), &length);
        if (bytes == nullptr) {
            std::fprintf(stderr, "cannot read %s\n", entry.path().c_str());
            return 1;
        }
        SDL_RWops* stream = SDL_RWFromMem(bytes, static_cast<int>(length));
        switch (payloadKindOf(bytes, length)) {
        case PayloadKind::kPng:
            if (SDL_Surface* image = IMG_Load_RW(stream, 0)) {
                SDL_FreeSurface(image);
                ++images;
            }
            break;
        case PayloadKind::kOgg:
            if (Mix_Music* track = Mix_LoadMUS_RW(stream)) {
                Mix_FreeMusic(track);
                ++music;
            }
            break;
        default:
            ++other;
            break;
        }
        SDL_RWclose(stream);
        std::free(bytes);
    }
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char* start = std::getenv("TAVOK_PROBE_START_NS");
    const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - (start ? std::atoll(start) : 0);
    std::printf("%.3f %d %d %d\n", elapsed / 1e6, images, music, other);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
