// Textures: loading into the GL with the right alpha mode, binding and the blending decision, and the
// refusal of pictures the game must not decode.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>

#include "render/render_state.h"
#include "render/texture.h"
#include "tests/support/address_space.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
const int kSize = 64;

void putBig32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }
}

// The CRC-32 of PNG chunks (reflected, polynomial 0xEDB88320).
uint32_t crc32Of(const uint8_t* bytes, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

void expectColour(Rgba actual, Rgba expected, const char* what) {
    EXPECT_NEAR(actual.r, expected.r, 2) << what;
    EXPECT_NEAR(actual.g, expected.g, 2) << what;
    EXPECT_NEAR(actual.b, expected.b, 2) << what;
}

// What one quadrant of a drawn 2 x 2 image must show, and what that quadrant stands for.
struct QuadrantColour {
    Rgba colour;
    const char* what;
};

// Each test draws into a fresh 64 x 64 window with pixel coordinates and the blend flags cleared.
class TextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL_WINDOW(kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kSize, 0, kSize, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        colourTranslucent = false;
        textureBlends = false;
        unbindTexture();
    }
    void TearDown() override { unbindTexture(); }

    // Writes the image as the scrambled resource file res-like path and loads it.
    bool loadPng(Texture* texture, const PngImage& image) {
        const std::string path = dir_.file("image.dat");
        EXPECT_TRUE(writeScrambledFile(path, encodePng(image)));
        return texture->load(path);
    }

    // The whole window, with the image's top row at the top of the window.
    static void drawTexturedWindow() {
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(0, 0);
        glTexCoord2f(1, 1);
        glVertex2f(kSize, 0);
        glTexCoord2f(1, 0);
        glVertex2f(kSize, kSize);
        glTexCoord2f(0, 0);
        glVertex2f(0, kSize);
        glEnd();
    }

    static void fillWindow(float r, float g, float b) {
        unbindTexture();
        setFlatColour(r, g, b, 1);
        glBegin(GL_QUADS);
        glVertex2f(0, 0);
        glVertex2f(kSize, 0);
        glVertex2f(kSize, kSize);
        glVertex2f(0, kSize);
        glEnd();
    }

    // Binds the texture under a white colour, so that its texels show as they are; with overBlue the
    // window is filled with blue first, so that a transparent texel shows as blue.
    static void bindUnderWhite(Texture& texture, bool overBlue = false) {
        if (overBlue) {
            fillWindow(0, 0, 1);
        }
        setFlatColour(1, 1, 1, 1);
        texture.bind();
    }

    // The texture bound as above and drawn over the whole window.
    static void drawImage(Texture& texture, bool overBlue = false) {
        bindUnderWhite(texture, overBlue);
        drawTexturedWindow();
    }

    // Quadrants of a 2 x 2 image as drawn: image pixel (x, y) with y = 0 the top row.
    static Rgba quadrant(int x, int y) { return readPixel(16 + 32 * x, 48 - 32 * y); }

    // The four quadrants in reading order: top left, top right, bottom left, bottom right.
    static void expectQuadrants(const QuadrantColour (&expected)[4]) {
        for (int i = 0; i < 4; ++i) {
            expectColour(quadrant(i % 2, i / 2), expected[i].colour, expected[i].what);
        }
    }

    ScratchDir dir_;
};

// A grey picture one pixel wide, every pixel the same value.
PngImage greyColumn(int height, uint8_t value) {
    PngImage image;
    image.kind = PngImage::kGrey;
    image.width = 1;
    image.height = height;
    image.samples.assign(height, value);
    return image;
}

PngImage twoByTwo(PngImage::Kind kind, std::vector<uint8_t> samples) {
    PngImage image;
    image.kind = kind;
    image.width = 2;
    image.height = 2;
    image.samples = std::move(samples);
    return image;
}
} // namespace

TEST_F(TextureTest, OpaqueImageDrawsItsPixelsTopRowFirstWithoutBlending) {
    Texture texture;
    ASSERT_TRUE(
        loadPng(&texture, twoByTwo(PngImage::kRgb, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255})));
    EXPECT_NE(texture.name(), 0u);
    EXPECT_EQ(texture.alphaMode(), Texture::kOpaque);
    bindUnderWhite(texture);
    EXPECT_TRUE(glCapabilityOn(GL_TEXTURE_2D));
    EXPECT_FALSE(glCapabilityOn(GL_ALPHA_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    drawTexturedWindow();
    expectQuadrants(
        {{kRed, "top left"}, {kGreen, "top right"}, {kBlue, "bottom left"}, {kWhite, "bottom right"}});
    // Magnification stays nearest: the whole quadrant is one colour.
    EXPECT_EQ(countPixels(0, 32, 32, 64, kRed, 2), 32 * 32);

    unbindTexture();
    EXPECT_FALSE(glCapabilityOn(GL_TEXTURE_2D));
}

TEST_F(TextureTest, CutOutImageUsesTheAlphaTestAndLeavesBlendingToTheColour) {
    Texture texture;
    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kRgba, {255, 0, 0, 255, 0, 255, 0, 0, //
                                                             0, 255, 0, 0, 255, 255, 0, 255})));
    EXPECT_EQ(texture.alphaMode(), Texture::kCutOut);
    bindUnderWhite(texture, true);
    EXPECT_TRUE(glCapabilityOn(GL_ALPHA_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    drawTexturedWindow();
    expectQuadrants({{kRed, "opaque texel"},
                     {kBlue, "transparent texel shows what was below"},
                     {kBlue, "transparent texel shows what was below"},
                     {kYellow, "opaque texel"}});

    setFlatColour(1, 1, 1, 0.5f);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    setFlatColour(1, 1, 1, 1);
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
}

TEST_F(TextureTest, TranslucentImageBlendsEvenUnderAnOpaqueColour) {
    Texture texture;
    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kRgba, {255, 255, 255, 128, 255, 0, 0, 255, //
                                                             255, 0, 0, 255, 255, 0, 0, 0})));
    EXPECT_EQ(texture.alphaMode(), Texture::kTranslucent);
    bindUnderWhite(texture, true);
    EXPECT_TRUE(textureBlends);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    EXPECT_FALSE(glCapabilityOn(GL_ALPHA_TEST));
    drawTexturedWindow();
    const Rgba half = quadrant(0, 0);
    EXPECT_NEAR(half.r, 128, 3);
    EXPECT_NEAR(half.b, 255, 3);
    expectColour(quadrant(1, 0), kRed, "opaque texel");
    expectColour(quadrant(1, 1), kBlue, "fully transparent texel");

    unbindTexture();
    EXPECT_FALSE(textureBlends);
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    // A translucent colour keeps blending on after the texture goes.
    texture.bind();
    setFlatColour(1, 1, 1, 0.5f);
    unbindTexture();
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
}

TEST_F(TextureTest, PaletteGreyAndWideImagesAreConvertedToRgb) {
    Texture texture;
    PngImage palette = twoByTwo(PngImage::kPalette, {0, 1, 2, 3});
    palette.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    ASSERT_TRUE(loadPng(&texture, palette));
    EXPECT_EQ(texture.alphaMode(), Texture::kOpaque);
    drawImage(texture);
    expectQuadrants({{kRed, "palette index 0"},
                     {kGreen, "palette index 1"},
                     {kBlue, "palette index 2"},
                     {kYellow, "palette index 3"}});

    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kGrey, {0, 64, 128, 255})));
    EXPECT_EQ(texture.alphaMode(), Texture::kOpaque);
    drawImage(texture);
    expectColour(quadrant(1, 0), Rgba{64, 64, 64, 255}, "grey 64");
    expectColour(quadrant(0, 1), Rgba{128, 128, 128, 255}, "grey 128");

    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kRgb16, {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30})));
    drawImage(texture);
    expectColour(quadrant(0, 1), kBlue, "16-bit blue");
    expectColour(quadrant(1, 1), Rgba{10, 20, 30, 255}, "16-bit dark");
}

TEST_F(TextureTest, ColourKeyedImagesBecomeCutOuts) {
    Texture texture;
    PngImage palette = twoByTwo(PngImage::kPalette, {0, 1, 1, 0});
    palette.palette = {255, 0, 0, 0, 255, 0};
    palette.paletteAlpha = {255, 0}; // index 1 is the one transparent colour
    ASSERT_TRUE(loadPng(&texture, palette));
    EXPECT_EQ(texture.alphaMode(), Texture::kCutOut);
    drawImage(texture, true);
    expectColour(quadrant(0, 0), kRed, "opaque index");
    expectColour(quadrant(1, 0), kBlue, "keyed index");
    expectColour(quadrant(0, 1), kBlue, "keyed index");

    PngImage rgb = twoByTwo(PngImage::kRgb, {255, 0, 0, 0, 255, 0, 0, 255, 0, 255, 255, 0});
    rgb.hasTransparentColour = true;
    rgb.transparent[1] = 255; // pure green
    ASSERT_TRUE(loadPng(&texture, rgb));
    EXPECT_EQ(texture.alphaMode(), Texture::kCutOut);
    drawImage(texture, true);
    expectColour(quadrant(0, 0), kRed, "unkeyed colour");
    expectColour(quadrant(1, 0), kBlue, "keyed colour");
    expectColour(quadrant(1, 1), kYellow, "unkeyed colour");
}

// The game ships PNG only; SDL_image's other readers (XCF, TGA, BMP, GIF and the rest) never see a
// file, however well-formed, since several of them read out of bounds on small damaged ones.
TEST_F(TextureTest, PicturesOtherThanPngAreRefusedBeforeDecoding) {
    // A valid 2 x 1 24-bit BMP (rows bottom-up, pixels B, G, R, rows padded to 4 bytes), which SDL_image
    // would decode.
    std::vector<uint8_t> bmp = {'B', 'M', 62,   0,    0, 0, 0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                2,   0,   0,    0,    1, 0, 0,    0,    1, 0, 24, 0, 0, 0, 0,  0, 8, 0,
                                0,   0,   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    bmp.insert(bmp.end(), {0, 0, 255, 255, 0, 0, 0, 0}); // red, then blue
    const std::string xcfMagic = "gimp xcf file";
    std::vector<uint8_t> xcf(xcfMagic.begin(), xcfMagic.end());
    xcf.insert(xcf.end(), {0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2,   0,    1,    0, 0x80, 0,
                                      0,   255, 0,   0,   0,   0,   255, ',',  0,    0, 0,    0,
                                      2,   0,   1,   0,   0,   2,   2,   0x44, 0x01, 0, ';'};
    // An uncompressed 2 x 1 true-colour TGA, a format SDL_image recognises by no magic at all.
    const std::vector<uint8_t> tga = {0, 0, 2, 0, 0,  0, 0, 0, 0,   0,   0, 0,
                                      2, 0, 1, 0, 24, 0, 0, 0, 255, 255, 0, 0};
    // A PNG whose first chunk is not IHDR tells no size, so it is refused too.
    std::vector<uint8_t> headless = encodePng(twoByTwo(PngImage::kRgb, std::vector<uint8_t>(12, 90)));
    headless[12] = 'i';
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> files = {
        {"bmp", bmp}, {"xcf", xcf}, {"gif", gif}, {"tga", tga}, {"png without IHDR", headless}};
    for (const auto& [kind, bytes] : files) {
        const std::string path = dir_.file("picture.dat");
        ASSERT_TRUE(writeScrambledFile(path, bytes));
        Texture texture;
        EXPECT_FALSE(texture.load(path)) << kind;
        EXPECT_EQ(texture.name(), 0u) << kind;
    }
}

// The decoded picture costs width x height x 4 bytes whatever the file's size: a one-megabyte PNG can
// claim 16000 x 16000. Anything larger than the game takes is refused from the header, before decoding.
TEST_F(TextureTest, PictureLargerThanTheGameTakesIsRefusedFromItsHeader) {
    const int side = Texture::kLargestPictureSide;
    PngImage tall = greyColumn(side + 1, 128);
    Texture texture;
    EXPECT_FALSE(loadPng(&texture, tall));
    PngImage wide = tall;
    wide.width = side + 1;
    wide.height = 1;
    EXPECT_FALSE(loadPng(&texture, wide));
    tall.height = side;
    tall.samples.resize(side);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest >= side) {
        EXPECT_TRUE(loadPng(&texture, tall)) << "the largest side the game takes still loads";
    }

    // A small PNG whose header claims 16000 x 16000 pixels is refused without reserving them.
    std::vector<uint8_t> png = encodePng(twoByTwo(PngImage::kRgb, std::vector<uint8_t>(12, 90)));
    putBig32(png, 16, 16000);
    putBig32(png, 20, 16000);
    putBig32(png, 29, crc32Of(png.data() + 12, 17)); // the IHDR chunk's checksum, over type and data
    const std::string path = dir_.file("claims.dat");
    ASSERT_TRUE(writeScrambledFile(path, png));
    const long before = currentAddressSpaceKb();
    ASSERT_GT(before, 0);
    if (peakAddressSpaceKb() > before + 256 * 1024) {
        GTEST_SKIP() << "the process already had a larger address space; the peak tells nothing";
    }
    EXPECT_FALSE(texture.load(path));
    EXPECT_LT(peakAddressSpaceKb() - before, 256 * 1024) << "the decoder reserved the claimed picture";
}

TEST_F(TextureTest, FailedLoadLeavesAnEmptyTextureThatDrawsUntextured) {
    Texture texture;
    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kRgb, std::vector<uint8_t>(12, 200))));
    ASSERT_NE(texture.name(), 0u);

    EXPECT_FALSE(texture.load(dir_.file("missing.dat")));
    EXPECT_EQ(texture.name(), 0u);

    const std::vector<uint8_t> png = encodePng(twoByTwo(PngImage::kRgb, std::vector<uint8_t>(12, 200)));
    const std::vector<uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    const std::vector<std::vector<uint8_t>> bad = {{}, {'g', 'a', 'r', 'b', 'a', 'g', 'e'}, truncated};
    for (const auto& bytes : bad) {
        ASSERT_TRUE(writeScrambledFile(dir_.file("bad.dat"), bytes));
        EXPECT_FALSE(texture.load(dir_.file("bad.dat"))) << bytes.size() << " bytes";
        EXPECT_EQ(texture.name(), 0u);
    }
    EXPECT_FALSE(texture.load(dir_.path()));

    // Binding the empty texture turns texturing off instead of keeping the previous texture.
    Texture other;
    ASSERT_TRUE(loadPng(&other, twoByTwo(PngImage::kRgb, std::vector<uint8_t>(12, 200))));
    other.bind();
    texture.bind();
    EXPECT_FALSE(glCapabilityOn(GL_TEXTURE_2D));
    EXPECT_FALSE(glCapabilityOn(GL_ALPHA_TEST));
    texture.setFilterLinear(); // must not touch the texture bound before
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), other.name());

    other.setFilterLinear();
    GLint magnification = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnification);
    EXPECT_EQ(magnification, GL_LINEAR);
    other.setFilterLinearNearest();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnification);
    EXPECT_EQ(magnification, GL_NEAREST);
}

// Inputs the fuzz targets found.
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

// Found by fuzz_texture (a 62-byte BMP of 40 x 19203 pixels, which decoded, was refused by the GL, and
// still counted as loaded). A picture beyond the GL's limit, or the game's, fails; the largest both take
// loads with its full height.
TEST(TextureFuzzRegressions, PictureLargerThanTheGlAcceptsFailsToLoad) {
    REQUIRE_GL_WINDOW(64, 64);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    const int limit = std::min<int>(largest, Texture::kLargestPictureSide);
    PngImage column = greyColumn(largest + 1, 200);
    ScratchDir dir;
    const std::string path = dir.file("9.dat");
    ASSERT_TRUE(writeScrambledFile(path, encodePng(column)));
    Texture texture;
    EXPECT_FALSE(texture.load(path));
    EXPECT_EQ(texture.name(), 0u);

    column.height = limit;
    column.samples.resize(limit);
    ASSERT_TRUE(writeScrambledFile(path, encodePng(column)));
    ASSERT_TRUE(texture.load(path));
    texture.bind();
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(height, limit);
    unbindTexture();
}

// Found by fuzz_texture: a BMP claiming 18177 bits per pixel. SDL's reader keeps the low byte of the
// bit count (1) and of the byte count (225) and hands back a surface without a palette, which SDL's
// converter then reads through a null pointer. Such a file now never reaches SDL's reader at all.
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
// after it, and never finishes: the game would hang at start.
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
