// Writes the starting corpus of every fuzz target: small hand-made files of each kind (images in the
// layouts SDL_image decodes differently, short Ogg Vorbis and WAV sounds, meshes, command lines) and,
// when a res/ folder is given, a few of the game's own files unscrambled with the cipher.
//
// Usage: make_seeds OUT_DIR [RES_DIR]   (writes OUT_DIR/<target>/<name>)
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "resources/payload_kind.h"
#include "resources/resource_file.h"
#include "tests/support/ogg_chain.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/png_writer.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {
std::string outDir;
int written = 0;

void put(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = fs::path(outDir) / target;
    fs::create_directories(dir);
    FILE* file = std::fopen((dir / name).c_str(), "wb");
    if (file == nullptr) {
        std::perror((dir / name).c_str());
        std::exit(1);
    }
    if (!bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    }
    std::fclose(file);
    ++written;
}

void appendInt32(Bytes& out, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
}

// A mesh file: one triangle, with the given key times (one frame per time).
Bytes meshFile(const std::vector<int32_t>& times) {
    Bytes out = {'m', 's', 'h', '1'};
    appendInt32(out, 3);
    for (int v = 0; v < 3; ++v) {
        appendInt32(out, v * 5000);         // s
        appendInt32(out, 10000 - v * 5000); // t, stored flipped
    }
    appendInt32(out, static_cast<int32_t>(times.size()));
    for (size_t f = 0; f < times.size(); ++f) {
        appendInt32(out, times[f]);
        for (int v = 0; v < 3; ++v) {
            appendInt32(out, 0);
            appendInt32(out, v * 10000 + static_cast<int32_t>(f) * 2500);
            appendInt32(out, (v == 2) * 10000);
        }
        for (int v = 0; v < 3; ++v) {
            out.push_back(127);
            out.push_back(0);
            out.push_back(0);
        }
    }
    return out;
}

Bytes png(PngImage::Kind kind, int width, int height) {
    PngImage image;
    image.kind = kind;
    image.width = width;
    image.height = height;
    const int channels = kind == PngImage::kRgba                                ? 4
                         : (kind == PngImage::kRgb || kind == PngImage::kRgb16) ? 3
                                                                                : 1;
    for (int i = 0; i < width * height * channels; ++i) {
        image.samples.push_back(static_cast<uint8_t>(i * 37 + 11));
    }
    if (kind == PngImage::kPalette) {
        for (int i = 0; i < 256 * 3; ++i) {
            image.palette.push_back(static_cast<uint8_t>(i));
        }
        for (uint8_t& sample : image.samples) {
            sample %= 4;
        }
        image.paletteAlpha = {0, 128, 255, 255};
    }
    return encodePng(image);
}

Bytes bmp() {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (surface == nullptr) {
        return {};
    }
    static_cast<uint8_t*>(surface->pixels)[0] = 200;
    const std::string path = (fs::temp_directory_path() / "tavok-seed.bmp").string();
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    Bytes out;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(file)) != EOF) {
            out.push_back(static_cast<uint8_t>(c));
        }
        std::fclose(file);
    }
    std::remove(path.c_str());
    return out;
}

// The glyph target reads its integers from the end of the input and its file contents from the front
// (FuzzedDataProvider); this lays out one set of files in that shape.
Bytes glyphSeed(const std::vector<std::pair<int, Bytes>>& files, const std::string& text) {
    Bytes front;
    Bytes back; // in the order consumed, reversed at the end
    back.push_back(static_cast<uint8_t>(files.size()));
    for (const auto& [code, bytes] : files) {
        back.push_back(static_cast<uint8_t>(code));
        back.push_back(1); // a file, not a directory
        for (uint8_t b : bytes) {
            front.push_back(b);
            if (b == '\\') {
                front.push_back('\\');
            }
        }
        front.push_back('\\');
        front.push_back('x');
    }
    front.insert(front.end(), text.begin(), text.end());
    front.insert(front.end(), back.rbegin(), back.rend());
    return front;
}

Bytes commandLine(const std::vector<std::string>& arguments) {
    Bytes out;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            out.push_back(0);
        }
        out.insert(out.end(), arguments[i].begin(), arguments[i].end());
    }
    return out;
}

void handMade() {
    const Bytes rgb = png(PngImage::kRgb, 3, 2);
    const Bytes rgba = png(PngImage::kRgba, 2, 2);
    put("fuzz_texture", "rgb.png", rgb);
    put("fuzz_texture", "rgba.png", rgba);
    put("fuzz_texture", "palette.png", png(PngImage::kPalette, 4, 3));
    put("fuzz_texture", "grey.png", png(PngImage::kGrey, 5, 1));
    put("fuzz_texture", "wide.png", png(PngImage::kRgb16, 2, 3));
    put("fuzz_texture", "bitmap.bmp", bmp());

    const std::vector<int16_t> tone = sineTone(440.0, 0.5, 0.2, 22050);
    const Bytes ogg = encodeOggVorbis(tone, 22050);
    const Bytes wav = encodeWav(std::vector<int16_t>(tone.begin(), tone.begin() + 200), 22050);
    put("fuzz_music", "tone.ogg", ogg);
    put("fuzz_music", "tone.wav", wav);
    put("fuzz_sound", "tone.wav", wav);
    put("fuzz_sound", "tone.ogg", ogg);
    // Chained files: each link has its own identification header, and the mixer reads every one.
    const Bytes shortOgg = encodeOggVorbis(std::vector<int16_t>(tone.begin(), tone.begin() + 2000), 22050);
    for (uint32_t rate : {44100u, 2u}) {
        Bytes chained = shortOgg;
        const Bytes link = relinkOgg(shortOgg, 2, rate);
        chained.insert(chained.end(), link.begin(), link.end());
        put("fuzz_music", "chained-" + std::to_string(rate) + ".ogg", chained);
        put("fuzz_sound", "chained-" + std::to_string(rate) + ".ogg", chained);
    }

    put("fuzz_mesh", "still.msh", meshFile({0}));
    put("fuzz_mesh", "moving.msh", meshFile({0, 5000, 10000}));
    put("fuzz_mesh", "late.msh", meshFile({10000, 20000}));

    put("fuzz_glyph_set", "one.bin", glyphSeed({{0, rgb}}, "AB\nC"));
    put("fuzz_glyph_set", "two.bin", glyphSeed({{0, rgba}, {65, rgb}}, "A\n"));

    put("fuzz_command_line", "window", commandLine({"w", "1024", "768"}));
    put("fuzz_command_line", "fullscreen", commandLine({"f", "1920", "1080"}));
    put("fuzz_command_line", "upper", commandLine({"W", "1024", "768"}));
    put("fuzz_command_line", "small", commandLine({"w", "99", "768"}));
    put("fuzz_command_line", "extra", commandLine({"w", "1024", "768", "x"}));
    put("fuzz_command_line", "wrapping", commandLine({"w", "4294967936", "360"}));

    put("fuzz_memory_reader", "short", {1, 2, 3, 4, 5, 6});
    put("fuzz_memory_reader", "text", {'a', 'b', 0, '1', '0', 'x', 0, 0, 0, 0, 0, 0, 0, 0});
}

// A few of the game's own files of each kind, unscrambled, kept small: the fuzzer mutates faster on
// short inputs, and the headers are what the decoders look at first.
void fromGame(const std::string& resDir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(resDir)) {
        if (entry.is_regular_file() && entry.path().extension() == ".dat") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::map<PayloadKind, int> taken;
    int raw = 0;
    for (const fs::path& file : files) {
        size_t length = 0;
        uint8_t* bytes = readResourceFile(file.string(), &length);
        if (bytes == nullptr) {
            continue;
        }
        const PayloadKind kind = payloadKindOf(bytes, length);
        Bytes payload(bytes, bytes + std::min<size_t>(length, 65536));
        std::free(bytes);
        const std::string name = "game-" + file.stem().string();
        if (kind == PayloadKind::kPng && length <= 65536 && taken[kind]++ < 4) {
            put("fuzz_texture", name + ".png", payload);
            if (taken[kind] == 1) {
                put("fuzz_glyph_set", name + ".bin", glyphSeed({{0, payload}}, "taVok"));
            }
        } else if (kind == PayloadKind::kOgg && taken[kind]++ < 2) {
            put("fuzz_music", name + ".ogg", payload);
            put("fuzz_sound", name + ".ogg", payload);
        } else if (kind == PayloadKind::kWav && taken[kind]++ < 2) {
            put("fuzz_sound", name + ".wav", payload);
        } else if (kind == PayloadKind::kMesh && taken[kind]++ < 2) {
            put("fuzz_mesh", name + ".msh", payload);
        }
        if (length <= 16384 && raw < 3) {
            ++raw;
            FILE* in = std::fopen(file.c_str(), "rb");
            Bytes stored;
            int c;
            while (in != nullptr && (c = std::fgetc(in)) != EOF) {
                stored.push_back(static_cast<uint8_t>(c));
            }
            if (in != nullptr) {
                std::fclose(in);
            }
            put("fuzz_memory_reader", name, stored);
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR [RES_DIR]\n", argv[0]);
        return 2;
    }
    outDir = argv[1];
    handMade();
    if (argc == 3 && fs::is_directory(argv[2])) {
        fromGame(argv[2]);
    }
    std::printf("%d seed files in %s\n", written, outDir.c_str());
    return 0;
}
