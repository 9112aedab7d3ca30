// Inputs the fuzz targets found, kept as tests of the texture loader. A picture that decodes but is
// larger than the GL accepts must fail to load: otherwise the load reports success while the GL has
// refused the upload, and the game draws white squares where the message naming the file belongs.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <string>

#include "render/texture.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/scratch_files.h"

namespace {
// A 1 x height 24-bit BMP written by SDL itself.
std::vector<uint8_t> tallBitmap(int height) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (surface == nullptr) {
        return {};
    }
    ScratchDir dir;
    const std::string path = dir.file("tall.bmp");
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    return readWholeFile(path);
}
} // namespace

// Found by fuzz_texture (a 62-byte BMP of 40 x 19203 pixels). Disabled until Texture::load checks the
// size against GL_MAX_TEXTURE_SIZE (docs/robustness.md); enable it with the fix.
TEST(TextureFuzzRegressions, DISABLED_PictureLargerThanTheGlAcceptsFailsToLoad) {
    REQUIRE_GL_WINDOW(64, 64);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    ScratchDir dir;
    const std::string path = dir.file("9.dat");
    ASSERT_TRUE(writeScrambledFile(path, tallBitmap(largest + 1)));
    Texture texture;
    EXPECT_FALSE(texture.load(path));
    EXPECT_EQ(texture.name(), 0u);

    // The largest size the GL takes still loads, with its full height.
    ASSERT_TRUE(writeScrambledFile(path, tallBitmap(largest)));
    ASSERT_TRUE(texture.load(path));
    texture.bind();
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(height, largest);
    unbindTexture();
}
