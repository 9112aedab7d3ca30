// assetgen: draws every texture and composes every music track the game loads, and writes them as
// scrambled resource files. The output depends on nothing but this program, so every run gives the same
// bytes.
//
//   assetgen --res DIR [--icon FILE] [--icon-theme DIR] [--web-icons DIR]
//                                      all textures, music and the window icon into DIR, the 128-pixel
//                                      desktop icon into FILE, every hicolor size under DIR/hicolor,
//                                      the browser edition's 192- and 512-pixel icons into DIR
//   assetgen --contact-sheet FILE      one PNG of every texture, for reviewing the art
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/world_tables.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/music_tracks.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/resource_output.h"
#include "tools/assetgen/texture_catalog.h"

namespace {
struct Options {
    std::string resDirectory;
    std::string iconPath;
    std::string iconThemeDirectory;
    std::string webIconDirectory;
    std::string contactSheetPath;
    bool valid = true;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--res") == 0 && hasValue) {
            options.resDirectory = argv[++i];
        } else if (std::strcmp(argv[i], "--icon") == 0 && hasValue) {
            options.iconPath = argv[++i];
        } else if (std::strcmp(argv[i], "--icon-theme") == 0 && hasValue) {
            options.iconThemeDirectory = argv[++i];
        } else if (std::strcmp(argv[i], "--web-icons") == 0 && hasValue) {
            options.webIconDirectory = argv[++i];
        } else if (std::strcmp(argv[i], "--contact-sheet") == 0 && hasValue) {
            options.contactSheetPath = argv[++i];
        } else {
            options.valid = false;
        }
    }
    if (options.resDirectory.empty() && options.iconPath.empty() && options.iconThemeDirectory.empty() &&
        options.webIconDirectory.empty() && options.contactSheetPath.empty()) {
        options.valid = false;
    }
    return options;
}

bool writeTextures(ResourceOutput& output) {
    for (int number : allTextureNumbers()) {
        bool known = false;
        const PixelCanvas picture = drawTexture(number, known);
        std::vector<uint8_t> png;
        if (!known || !encodePng(picture, png)) {
            std::fprintf(stderr, "assetgen: cannot draw texture %d\n", number);
            return false;
        }
        output.write(number, png);
    }
    std::printf("assetgen: %zu textures drawn\n", allTextureNumbers().size());
    std::fflush(stdout);
    return !output.failed();
}

bool writeMusic(ResourceOutput& output) {
    const MusicTracks tracks;
    for (int track = 0; track < kMusicTrackCount; ++track) {
        std::vector<uint8_t> ogg;
        if (!tracks.encodeTrack(track, ogg)) {
            std::fprintf(stderr, "assetgen: cannot encode music track %d\n", track);
            return false;
        }
        output.write(track, ogg);
        // Composing takes seconds per track: say how far it is, so a first build is never silent long.
        std::printf("assetgen: music track %d of %d composed\n", track + 1, kMusicTrackCount);
        std::fflush(stdout);
    }
    return !output.failed();
}

// The window icon travels with the game's data, scrambled like every other picture, so the game finds it
// wherever res/ is.
bool writeWindowIcon(ResourceOutput& output) {
    std::vector<uint8_t> png;
    if (!encodePng(drawIcon(kWindowIconSize), png)) {
        std::fprintf(stderr, "assetgen: cannot draw the window icon\n");
        return false;
    }
    output.write(kWindowIconNumber, png);
    return !output.failed();
}

// The desktop icon in every size a freedesktop icon theme looks for, each drawn afresh at its size.
bool writeIconTheme(const std::string& directory) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder =
            directory + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !writePngFile(drawIcon(size), folder + "/tavok.png")) {
            std::fprintf(stderr, "assetgen: could not write the %d-pixel icon into %s\n", size, folder.c_str());
            return false;
        }
    }
    return true;
}

// The sizes an installed web page's manifest names: 192 for the launcher, 512 for the splash screen.
bool writeWebIcons(const std::string& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    for (int size : {192, 512}) {
        const std::string file = directory + "/icon-" + std::to_string(size) + ".png";
        if (error || !writePngFile(drawIcon(size), file)) {
            std::fprintf(stderr, "assetgen: could not write the web icon %s\n", file.c_str());
            return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    if (!options.valid) {
        std::fprintf(stderr, "usage: assetgen [--res DIR] [--icon FILE] [--icon-theme DIR] [--web-icons DIR] [--contact-sheet FILE]\n");
        return 2;
    }
    if (!options.resDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.resDirectory, error);
        ResourceOutput output(options.resDirectory);
        if (error || !writeTextures(output) || !writeMusic(output) || !writeWindowIcon(output)) {
            std::fprintf(stderr, "assetgen: could not write the resources into %s\n",
                         options.resDirectory.c_str());
            return 1;
        }
        std::printf("assetgen: %d resource files, %llu bytes in %s\n", output.filesWritten(),
                    static_cast<unsigned long long>(output.bytesWritten()), options.resDirectory.c_str());
    }
    if (!options.iconPath.empty() && !writePngFile(drawIcon(128), options.iconPath)) {
        std::fprintf(stderr, "assetgen: could not write the icon %s\n", options.iconPath.c_str());
        return 1;
    }
    if (!options.iconThemeDirectory.empty() && !writeIconTheme(options.iconThemeDirectory)) {
        return 1;
    }
    if (!options.webIconDirectory.empty() && !writeWebIcons(options.webIconDirectory)) {
        return 1;
    }
    if (!options.contactSheetPath.empty() && !writeContactSheet(options.contactSheetPath)) {
        std::fprintf(stderr, "assetgen: could not write the contact sheet %s\n",
                     options.contactSheetPath.c_str());
        return 1;
    }
    return 0;
}
