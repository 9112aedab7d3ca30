// The floor of start-up: the least work any start of the game must do with its data, without OpenGL.
// Reads, unscrambles and decodes every file of res/ the way the game's loaders do (images with
// SDL_image, music with SDL_mixer on the dummy audio driver), then prints the time since the
// launcher's clock reading (TAVOK_PROBE_START_NS) in milliseconds, so that it is measured exactly like
// the game: from process start.
//
// With a third argument 2, the pictures are decoded by two threads at once, each taking every other file
// and music: how much lower the floor lies when both cores decode.
//
// Usage: startup_floor RES_DIR [THREADS]
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "resources/payload_kind.h"
#include "resources/resource_file.h"

namespace {
struct Counts {
    int images = 0, music = 0, other = 0;
    bool failed = false;
};

// Decodes files first, first + step, ... of the list.
void decodeEvery(const std::vector<std::string>& files, size_t first, size_t step, Counts* counts) {
    for (size_t i = first; i < files.size(); i += step) {
        size_t length = 0;
        uint8_t* bytes = readResourceFile(files[i], &length);
        if (bytes == nullptr) {
            std::fprintf(stderr, "cannot read %s\n", files[i].c_str());
            counts->failed = true;
            return;
        }
        SDL_RWops* stream = SDL_RWFromMem(bytes, static_cast<int>(length));
        switch (payloadKindOf(bytes, length)) {
        case PayloadKind::kPng:
            if (SDL_Surface* image = IMG_Load_RW(stream, 0)) {
                SDL_FreeSurface(image);
                ++counts->images;
            }
            break;
        case PayloadKind::kOgg:
            if (Mix_Music* track = Mix_LoadMUS_RW(stream)) {
                Mix_FreeMusic(track);
                ++counts->music;
            }
            break;
        default:
            ++counts->other;
            break;
        }
        SDL_RWclose(stream);
        std::free(bytes);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s RES_DIR [THREADS]\n", argv[0]);
        return 2;
    }
    const bool twoThreads = argc == 3 && std::string(argv[2]) == "2";
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0 || !openAudio()) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    // SDL_image sets its PNG reader up on first use; done here, before a second thread could race it.
    IMG_Init(IMG_INIT_PNG);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        files.push_back(entry.path().string());
    }
    Counts first, second;
    if (twoThreads) {
        std::thread helper(decodeEvery, std::cref(files), 1, 2, &second);
        decodeEvery(files, 0, 2, &first);
        helper.join();
    } else {
        decodeEvery(files, 0, 1, &first);
    }
    if (first.failed || second.failed) {
        return 1;
    }
    const int images = first.images + second.images;
    const int music = first.music + second.music;
    const int other = first.other + second.other;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char* start = std::getenv("TAVOK_PROBE_START_NS");
    const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - (start ? std::atoll(start) : 0);
    std::printf("%.3f %d %d %d\n", elapsed / 1e6, images, music, other);
    closeAudio();
    SDL_Quit();
    return 0;
}
