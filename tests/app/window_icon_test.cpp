#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window_icon.h"
#include "game/world_tables.h"
#include "resources/resource_file.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// A square of opaque green with one transparent corner pixel, the way the real icon has clear corners.
std::vector<uint8_t> iconPng(int width, int height) {
    PngImage image;
    image.kind = PngImage::kRgba;
    image.width = width;
    image.height = height;
    image.samples.assign(static_cast<size_t>(width) * height * 4, 0);
    for (size_t p = 0; p < image.samples.size(); p += 4) {
        image.samples[p + 1] = 200;
        image.samples[p + 3] = 255;
    }
    image.samples[3] = 0;
    return encodePng(image);
}

SDL_Surface* loadScrambled(const ScratchDir& dir, const std::vector<uint8_t>& payload) {
    const std::string path = dir.file("icon.dat");
    EXPECT_TRUE(writeScrambledFile(path, payload));
    return loadWindowIcon(path);
}
} // namespace

TEST(WindowIcon, AnIconOfItsOwnSizeLoadsWithItsTransparency) {
    ScratchDir dir;
    SDL_Surface* icon = loadScrambled(dir, iconPng(kWindowIconSize, kWindowIconSize));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, kWindowIconSize);
    EXPECT_EQ(icon->h, kWindowIconSize);
    // The mask SDL makes for the window system comes from the alpha channel.
    EXPECT_NE(icon->format->Amask, 0u);
    EXPECT_NE(icon->flags & SDL_SRCALPHA, 0u);
    SDL_FreeSurface(icon);
}

TEST(WindowIcon, MissingDamagedOrForeignFilesGiveNoIcon) {
    ScratchDir dir;
    EXPECT_EQ(loadWindowIcon(dir.file("absent.dat")), nullptr);

    EXPECT_EQ(loadScrambled(dir, iconPng(32, 32)), nullptr) << "another size";
    EXPECT_EQ(loadScrambled(dir, iconPng(kWindowIconSize, kWindowIconSize / 2)), nullptr) << "not square";

    const std::vector<uint8_t> good = iconPng(kWindowIconSize, kWindowIconSize);
    ASSERT_GT(good.size(), 60u);
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_EQ(loadScrambled(dir, cut), nullptr) << "cut in the middle";
    const std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 33);
    EXPECT_EQ(loadScrambled(dir, headerOnly), nullptr) << "header alone";

    // The chunk after the header claims far more bytes than the file holds.
    std::vector<uint8_t> overlong = good;
    overlong[33] = 0x7f;
    EXPECT_EQ(loadScrambled(dir, overlong), nullptr) << "chunk longer than the file";

    // A good PNG stored without scrambling reads back as noise.
    ASSERT_TRUE(writeWholeFile(dir.file("plain.dat"), good));
    EXPECT_EQ(loadWindowIcon(dir.file("plain.dat")), nullptr) << "not scrambled";

    std::vector<uint8_t> bitmap(64 * 64 * 3 + 54, 0);
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    EXPECT_EQ(loadScrambled(dir, bitmap), nullptr) << "not a PNG";
}

TEST(WindowIcon, IsSetFromResWhenTheFileIsUsable) {
    if (!ensureSdl()) {
        GTEST_SKIP() << "no display for SDL's video subsystem";
    }
    ScratchDir dir;
    WorkingDirectory cwd(dir.path());
    EXPECT_FALSE(setWindowIcon()) << "no res/ at all";
    std::filesystem::create_directory(dir.file("res"));
    const std::string path = dir.file(resourcePath(kWindowIconNumber));
    ASSERT_TRUE(writeScrambledFile(path, iconPng(32, 32)));
    EXPECT_FALSE(setWindowIcon()) << "an icon of the wrong size";
    ASSERT_TRUE(writeScrambledFile(path, iconPng(kWindowIconSize, kWindowIconSize)));
    EXPECT_TRUE(setWindowIcon());
}
