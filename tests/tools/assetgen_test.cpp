// The generated resources: everything the game asks for exists and decodes, the music loops exactly,
// music layers are centred so a track switch does not thump, doors let their light through, and the
// generator gives the same bytes on every run.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/window_icon.h"
#include "audio/audio_device.h"
#include "game/world_tables.h"
#include "resources/cipher.h"
#include "tests/support/scratch_files.h"

namespace {
const int kLoopFrames = 470400;

// The build tree holds res/ and the icon; the build passes its own path in case the environment does not.
std::string buildDir() {
    const char* dir = std::getenv("TAVOK_BUILD_DIR");
    return dir ? dir : TAVOK_ASSETGEN_BUILD_DIR;
}

std::string resFile(const std::string& resDir, int number) {
    return resDir + "/" + std::to_string(number) + ".dat";
}

std::vector<uint8_t> payloadOf(const std::string& path) {
    std::vector<uint8_t> bytes = readWholeFile(path);
    unscrambleResource(bytes.data(), bytes.size());
    return bytes;
}

// A decoded image: size, bytes per pixel and the pixels row by row without padding.
struct Image {
    int width = 0, height = 0, bytesPerPixel = 0;
    std::vector<uint8_t> pixels;
    bool valid() const { return width > 0; }
    int transparentCount() const {
        int count = 0;
        for (size_t i = 3; bytesPerPixel == 4 && i < pixels.size(); i += 4) {
            count += pixels[i] == 0;
        }
        return count;
    }
};

Image decodeImage(std::vector<uint8_t> bytes) {
    Image image;
    if (bytes.empty()) {
        return image;
    }
    SDL_RWops* stream = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* surface = IMG_Load_RW(stream, 0);
    SDL_RWclose(stream);
    if (!surface) {
        return image;
    }
    image.width = surface->w;
    image.height = surface->h;
    image.bytesPerPixel = surface->format->BytesPerPixel;
    const uint8_t* rows = static_cast<const uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        image.pixels.insert(image.pixels.end(), rows + y * surface->pitch,
                            rows + y * surface->pitch + surface->w * image.bytesPerPixel);
    }
    SDL_FreeSurface(surface);
    return image;
}

Image textureImage(int number) {
    return decodeImage(payloadOf(resFile(buildDir() + "/res", number)));
}

// Decodes a whole Ogg Vorbis file from memory; frames, rate and channels as the decoder reports them.
struct DecodedMusic {
    bool opened = false;
    long rate = 0;
    int channels = 0;
    ogg_int64_t declaredFrames = 0;
    std::vector<float> left, right;
};

struct MemoryFile {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    auto* file = static_cast<MemoryFile*>(source);
    const size_t wanted = size * count;
    const size_t available = file->bytes->size() - file->position;
    const size_t taken = std::min(wanted, available);
    std::memcpy(out, file->bytes->data() + file->position, taken);
    file->position += taken;
    return size ? taken / size : 0;
}

DecodedMusic decodeMusic(const std::vector<uint8_t>& bytes) {
    DecodedMusic music;
    MemoryFile file{&bytes, 0};
    OggVorbis_File vorbis;
    const ov_callbacks callbacks = {readMemory, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(&file, &vorbis, nullptr, 0, callbacks) != 0) {
        return music;
    }
    music.opened = true;
    const vorbis_info* info = ov_info(&vorbis, -1);
    music.rate = info->rate;
    music.channels = info->channels;
    music.declaredFrames = ov_pcm_total(&vorbis, -1); // -1 on an unseekable stream: counted below anyway
    float** pcm = nullptr;
    int section = 0;
    long count;
    while ((count = ov_read_float(&vorbis, &pcm, 4096, &section)) > 0) {
        music.left.insert(music.left.end(), pcm[0], pcm[0] + count);
        music.right.insert(music.right.end(), pcm[info->channels > 1 ? 1 : 0],
                           pcm[info->channels > 1 ? 1 : 0] + count);
    }
    ov_clear(&vorbis);
    return music;
}

bool sameBytes(const std::string& a, const std::string& b) {
    const std::vector<uint8_t> first = readWholeFile(a);
    return !first.empty() && first == readWholeFile(b);
}
} // namespace

TEST(Assetgen, EveryTextureTheGameAsksForExistsAndDecodes) {
    const std::vector<int> numbers = allTextureNumbers();
    ASSERT_EQ(numbers.size(), 636u);
    for (int number : numbers) {
        const Image image = textureImage(number);
        ASSERT_TRUE(image.valid()) << number;
        EXPECT_EQ(image.width, image.height) << number;
        EXPECT_TRUE(image.width == 16 || image.width == 32) << number;
        EXPECT_TRUE(image.bytesPerPixel == 3 || image.bytesPerPixel == 4) << number;
    }
    const Image icon = decodeImage(readWholeFile(buildDir() + "/tavok.png"));
    EXPECT_EQ(icon.width, 128);
    EXPECT_EQ(icon.height, 128);
}

TEST(Assetgen, TheIconComesInEveryThemeSizeAndAsTheWindowIcon) {
    // One design, drawn afresh at every size: clear corners, an opaque middle, the same green robot.
    const std::string theme = buildDir() + "/icons/hicolor/";
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const Image icon = decodeImage(readWholeFile(theme + name + "/apps/tavok.png"));
        ASSERT_TRUE(icon.valid()) << name;
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
        ASSERT_EQ(icon.bytesPerPixel, 4) << name;
        EXPECT_EQ(icon.pixels[3], 0) << name << ": the top left corner is not clear";
        const size_t middle = (static_cast<size_t>(size / 2) * size + size / 2) * 4;
        EXPECT_EQ(icon.pixels[middle + 3], 255) << name;
        EXPECT_GT(icon.pixels[middle + 1], icon.pixels[middle]) << name << ": the middle is not green";
    }
    // The window's icon is the 64-pixel one, scrambled into res/ so that the game finds it beside its data.
    const std::vector<uint8_t> themed = readWholeFile(theme + "64x64/apps/tavok.png");
    EXPECT_EQ(payloadOf(resFile(buildDir() + "/res", kWindowIconNumber)), themed);
    SDL_Surface* windowIcon = loadWindowIcon(resFile(buildDir() + "/res", kWindowIconNumber));
    ASSERT_NE(windowIcon, nullptr);
    EXPECT_EQ(windowIcon->w, kWindowIconSize);
    SDL_FreeSurface(windowIcon);
}

TEST(Assetgen, OpaqueTilesAre24BitAndCutOutsAreTransparentWhereTheyShouldBe) {
    for (int room = 0; room < kRoomCount; ++room) {
        const int base = 1000 * (room + 1);
        // The door: transparent so the light behind it shows, more of it as the door opens.
        int previous = 0;
        for (int frame = 0; frame < 4; ++frame) {
            const Image door = textureImage(base + 130 + frame);
            ASSERT_EQ(door.bytesPerPixel, 4) << "door of room " << room;
            EXPECT_GT(door.transparentCount(), previous) << "door of room " << room << " frame " << frame;
            previous = door.transparentCount();
        }
        for (int kind : {50, 60, 70, 80, 90, 100, 110, 120, 140, 150, 160, 170, 180}) {
            EXPECT_EQ(textureImage(base + kind).bytesPerPixel, 3) << base + kind;
        }
        const Image item = textureImage(itemTextureNumber(room));
        ASSERT_EQ(item.bytesPerPixel, 4);
        EXPECT_GT(item.transparentCount(), item.width * item.height / 4) << "item of room " << room;
    }
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            const int first = initialCellTexture(x, y);
            if (first % 1000 != 130) {
                EXPECT_EQ(textureImage(first).bytesPerPixel, 3) << first;
            }
        }
    }
    for (int index = 0; index < kAvatarCount; ++index) {
        const Image figure = textureImage(avatarTextureNumber(index, 3, 0, 0));
        ASSERT_EQ(figure.bytesPerPixel, 4);
        EXPECT_EQ(figure.pixels[3], 0) << "avatar " << index << " covers its corner";
    }
}

TEST(Assetgen, PicturesDifferWhereThePlayerMustTellThemApart) {
    for (int room = 0; room < kRoomCount; ++room) {
        std::vector<std::vector<uint8_t>> buttons;
        for (int kind = 140; kind <= 180; kind += 10) {
            buttons.push_back(textureImage(1000 * (room + 1) + kind).pixels);
        }
        for (size_t a = 0; a < buttons.size(); ++a) {
            for (size_t b = a + 1; b < buttons.size(); ++b) {
                EXPECT_NE(buttons[a], buttons[b]) << "room " << room << " buttons " << a << " and " << b;
            }
        }
    }
    for (int index = 0; index < kAvatarCount; ++index) {
        for (int set = 0; set < 3; ++set) {
            for (int f = 0; f < 4; ++f) {
                for (int g = f + 1; g < 4; ++g) {
                    EXPECT_NE(textureImage(avatarTextureNumber(index, f, set, 0)).pixels,
                              textureImage(avatarTextureNumber(index, g, set, 0)).pixels)
                        << "avatar " << index << " facings " << f << " and " << g;
                }
            }
        }
    }
    // Every run of four is an animation: no frame repeats the resting picture.
    std::map<int, std::vector<uint8_t>> restingPictures;
    for (int number : allTextureNumbers()) {
        const int first = number - number % 10; // every run starts on a multiple of ten
        if (number == first) {
            restingPictures[first] = textureImage(number).pixels;
        } else {
            EXPECT_NE(textureImage(number).pixels, restingPictures[first]) << number;
        }
    }
}

TEST(Assetgen, MusicTracksLoadAndLoopExactlyWithoutAJumpAtTheSeam) {
    const bool audioWasUp = SDL_WasInit(SDL_INIT_AUDIO) != 0;
    if (!audioWasUp) {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    }
    ASSERT_TRUE(openAudio()) << Mix_GetError();
    for (int track = 0; track < kMusicTrackCount; ++track) {
        std::vector<uint8_t> bytes = payloadOf(resFile(buildDir() + "/res", track));
        ASSERT_FALSE(bytes.empty()) << "track " << track;

        SDL_RWops* stream = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
        Mix_Music* loaded = Mix_LoadMUS_RW(stream);
        EXPECT_NE(loaded, nullptr) << "track " << track << ": " << Mix_GetError();
        if (loaded) {
            Mix_FreeMusic(loaded);
        }
        SDL_RWclose(stream);

        const DecodedMusic music = decodeMusic(bytes);
        ASSERT_TRUE(music.opened) << "track " << track;
        EXPECT_EQ(music.rate, 22050);
        EXPECT_EQ(music.channels, 2);
        ASSERT_EQ(music.left.size(), static_cast<size_t>(kLoopFrames)) << "track " << track;
        for (const std::vector<float>* channel : {&music.left, &music.right}) {
            const std::vector<float>& x = *channel;
            float largestStep = 0, peak = 0;
            for (size_t i = 1; i < x.size(); ++i) {
                largestStep = std::max(largestStep, std::fabs(x[i] - x[i - 1]));
                peak = std::max(peak, std::fabs(x[i]));
            }
            EXPECT_GT(peak, 0.02f) << "track " << track << " is silent";
            EXPECT_LE(peak, 1.0f) << "track " << track << " clips";
            EXPECT_LE(std::fabs(x.front() - x.back()), largestStep)
                << "track " << track << " clicks at the seam";
        }
    }
    closeAudio();
    if (!audioWasUp) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

namespace {
// The mean of a tenth of a second of one channel, starting at frame from (wrapping round the loop): the
// level a constant offset shifts, with the tones themselves averaged away.
float levelAt(const std::vector<float>& x, long from) {
    const long window = 2205;
    const long size = static_cast<long>(x.size());
    double sum = 0;
    for (long i = 0; i < window; ++i) {
        sum += x[static_cast<size_t>(((from + i) % size + size) % size)];
    }
    return static_cast<float>(sum / window);
}

// The largest change of level from one tenth of a second to the next anywhere in a track: how much the
// level moves on its own as notes start and stop.
float largestOrdinaryLevelStep(const std::vector<float>& x) {
    float largest = 0;
    for (long p = 0; p < static_cast<long>(x.size()); p += 551) {
        largest = std::max(largest, std::fabs(levelAt(x, p) - levelAt(x, p - 2205)));
    }
    return largest;
}
} // namespace

TEST(Assetgen, MusicLayersAreCentredSoThatTrackSwitchesDoNotThump) {
    std::vector<DecodedMusic> tracks;
    for (int track = 0; track < kMusicTrackCount; ++track) {
        tracks.push_back(decodeMusic(payloadOf(resFile(buildDir() + "/res", track))));
        const DecodedMusic& music = tracks.back();
        ASSERT_EQ(music.left.size(), static_cast<size_t>(kLoopFrames)) << "track " << track;
        for (const std::vector<float>* channel : {&music.left, &music.right}) {
            double sum = 0;
            for (float sample : *channel) {
                sum += sample;
            }
            EXPECT_NEAR(sum / kLoopFrames, 0.0, 0.002) << "track " << track << " carries an offset";
        }
    }
    // The switches play makes, each at the same point of the loop: the rooms opening one by one (1 to 5),
    // then the avatars leaving from the top down (6 to 9) and the last one (0).
    const int switches[][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 0}};
    for (const auto& change : switches) {
        const DecodedMusic& from = tracks[static_cast<size_t>(change[0])];
        const DecodedMusic& to = tracks[static_cast<size_t>(change[1])];
        const std::vector<float>* channels[2][2] = {{&from.left, &to.left}, {&from.right, &to.right}};
        for (const auto& channel : channels) {
            const std::vector<float>& oldTrack = *channel[0];
            const std::vector<float>& newTrack = *channel[1];
            const float ordinary =
                std::max(largestOrdinaryLevelStep(oldTrack), largestOrdinaryLevelStep(newTrack));
            // Positions spread over the loop, on and off the beat, the first one right at its start.
            for (long p = 0; p < kLoopFrames; p += 39203) {
                const float step = std::fabs(levelAt(newTrack, p) - levelAt(oldTrack, p - 2205));
                EXPECT_LE(step, ordinary)
                    << "switch " << change[0] << " to " << change[1] << " at frame " << p;
            }
        }
    }
}

TEST(Assetgen, GeneratingTwiceGivesTheSameBytesAsTheBuild) {
    ScratchDir first, second;
    const std::string generator = TAVOK_ASSETGEN_PATH;
    ASSERT_EQ(std::system((generator + " --res " + first.path() + "/res > /dev/null").c_str()), 0);
    ASSERT_EQ(std::system((generator + " --res " + second.path() + "/res > /dev/null").c_str()), 0);
    std::vector<int> numbers = allTextureNumbers();
    for (int track = 0; track < kMusicTrackCount; ++track) {
        numbers.push_back(track);
    }
    for (int number : numbers) {
        EXPECT_TRUE(
            sameBytes(resFile(first.path() + "/res", number), resFile(second.path() + "/res", number)))
            << number;
        EXPECT_TRUE(sameBytes(resFile(first.path() + "/res", number), resFile(buildDir() + "/res", number)))
            << number;
    }
    // A bad command line is refused, not taken for an empty run.
    EXPECT_NE(std::system((generator + " --bogus 2> /dev/null").c_str()), 0);
}

TEST(Assetgen, ContactSheetIsOnePictureOfTheFieldAndEveryTexture) {
    ScratchDir scratch;
    const std::string generator = TAVOK_ASSETGEN_PATH;
    const std::string sheetPath = scratch.file("sheet.png");
    ASSERT_EQ(std::system((generator + " --contact-sheet " + sheetPath).c_str()), 0);
    const Image sheet = decodeImage(readWholeFile(sheetPath));
    ASSERT_TRUE(sheet.valid());
    // Four runs of four 128-pixel frames side by side; below the 64-pixel preview of the whole field,
    // 159 runs of four (636 textures) in rows of four need at least 40 rows of 128 pixels.
    EXPECT_EQ(sheet.width, 8 + 4 * (4 * (128 + 8) + 16));
    EXPECT_GT(sheet.height, 21 * 64 + 40 * 128);
}
