// Inputs the fuzz targets found, kept as tests of the texture loader. A picture that decodes but is
// larger than the GL accepts must fail to load: otherwise the load reports success while the GL has
// refused the upload, and the game draws white squares where the message naming the file belongs. A
// bitmap whose bit count SDL does not check must fail instead of crashing inside SDL's converter. And a
// PNG with a chunk longer than the file must fail at once instead of keeping libpng busy for ever.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <string>

#include "render/texture.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// A width x height 24-bit BMP written by SDL itself.
std::vector<uint8_t> bitmap(int width, int height) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
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
TEST(TextureFuzzRegressions, PictureLargerThanTheGlAcceptsFailsToLoad) {
    REQUIRE_GL_WINDOW(64, 64);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    ScratchDir dir;
    const std::string path = dir.file("9.dat");
    ASSERT_TRUE(writeScrambledFile(path, bitmap(1, largest + 1)));
    Texture texture;
    EXPECT_FALSE(texture.load(path));
    EXPECT_EQ(texture.name(), 0u);

    // The largest size the GL takes still loads, with its full height.
    ASSERT_TRUE(writeScrambledFile(path, bitmap(1, largest)));
    ASSERT_TRUE(texture.load(path));
    texture.bind();
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(height, largest);
    unbindTexture();
}

// Found by fuzz_texture: a BMP claiming 18177 bits per pixel. SDL's reader keeps the low byte of the
// bit count (1) and of the byte count (225) and hands back a surface without a palette, which SDL's
// converter then reads through a null pointer. Disabled until Texture::load refuses a surface whose
// format contradicts itself (docs/robustness.md); enable it with the fix.
TEST(TextureFuzzRegressions, BitmapWithAnImpossibleBitCountFailsToLoad) {
    REQUIRE_GL_WINDOW(64, 64);
    std::vector<uint8_t> bmp = bitmap(3, 2);
    ASSERT_GT(bmp.size(), 30u);
    bmp[28] = 18177 & 0xFF; // biBitCount, little-endian, at offset 28
    bmp[29] = 18177 >> 8;
    // Enough pixel bytes for the rows SDL then expects (88 bytes each), so that the read succeeds.
    bmp.resize(bmp.size() + 256, 0x5A);
    ScratchDir dir;
    const std::string path = dir.file("9.dat");
    ASSERT_TRUE(writeScrambledFile(path, bmp));
    Texture texture;
    EXPECT_FALSE(texture.load(path));
    EXPECT_EQ(texture.name(), 0u);
}

// Found by fuzz_texture (an 876-byte palette PNG whose tRNS chunk claims 65540 bytes). SDL_image's reader
// never reports a short read, so libpng takes stale bytes for the rest of the chunk and for the chunks
// after it, and never finishes: the game would hang at start. Disabled until the texture loader checks
// PNG chunk lengths against the file (docs/robustness.md); enable it with the fix.
TEST(TextureFuzzRegressions, PngWithAChunkLongerThanTheFileFailsAtOnce) {
    REQUIRE_GL_WINDOW(64, 64);
    PngImage image;
    image.kind = PngImage::kPalette;
    image.width = 4;
    image.height = 3;
    image.samples = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
    for (int i = 0; i < 256 * 3; ++i) {
        image.palette.push_back(static_cast<uint8_t>(i));
    }
    image.paletteAlpha = {0, 128, 255, 255};
    std::vector<uint8_t> png = encodePng(image);
    const std::string text(png.begin(), png.end());
    const size_t transparency = text.find("tRNS");
    ASSERT_NE(transparency, std::string::npos);
    png[transparency - 4] = 0; // length 65540, big-endian
    png[transparency - 3] = 1;
    png[transparency - 2] = 0;
    png[transparency - 1] = 4;
    ScratchDir dir;
    const std::string path = dir.file("9.dat");
    ASSERT_TRUE(writeScrambledFile(path, png));
    Texture texture;
    EXPECT_FALSE(texture.load(path));
}
