#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>

#include "render/render_state.h"
#include "render/texture.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
const int kSize = 64;
const Rgba kRed = {255, 0, 0, 255};
const Rgba kGreen = {0, 255, 0, 255};
const Rgba kBlue = {0, 0, 255, 255};
const Rgba kWhite = {255, 255, 255, 255};
const Rgba kYellow = {255, 255, 0, 255};

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

    // Quadrants of a 2 x 2 image as drawn: image pixel (x, y) with y = 0 the top row.
    static Rgba quadrant(int x, int y) { return readPixel(16 + 32 * x, 48 - 32 * y); }

    ScratchDir dir_;
};

void expectColour(Rgba actual, Rgba expected, const char* what) {
    EXPECT_NEAR(actual.r, expected.r, 2) << what;
    EXPECT_NEAR(actual.g, expected.g, 2) << what;
    EXPECT_NEAR(actual.b, expected.b, 2) << what;
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
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    EXPECT_TRUE(glCapabilityOn(GL_TEXTURE_2D));
    EXPECT_FALSE(glCapabilityOn(GL_ALPHA_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    drawTexturedWindow();
    expectColour(quadrant(0, 0), kRed, "top left");
    expectColour(quadrant(1, 0), kGreen, "top right");
    expectColour(quadrant(0, 1), kBlue, "bottom left");
    expectColour(quadrant(1, 1), kWhite, "bottom right");
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
    fillWindow(0, 0, 1);
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    EXPECT_TRUE(glCapabilityOn(GL_ALPHA_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    drawTexturedWindow();
    expectColour(quadrant(0, 0), kRed, "opaque texel");
    expectColour(quadrant(1, 0), kBlue, "transparent texel shows what was below");
    expectColour(quadrant(0, 1), kBlue, "transparent texel shows what was below");
    expectColour(quadrant(1, 1), kYellow, "opaque texel");

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
    fillWindow(0, 0, 1);
    setFlatColour(1, 1, 1, 1);
    texture.bind();
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
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    drawTexturedWindow();
    expectColour(quadrant(0, 0), kRed, "palette index 0");
    expectColour(quadrant(1, 0), kGreen, "palette index 1");
    expectColour(quadrant(0, 1), kBlue, "palette index 2");
    expectColour(quadrant(1, 1), kYellow, "palette index 3");

    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kGrey, {0, 64, 128, 255})));
    EXPECT_EQ(texture.alphaMode(), Texture::kOpaque);
    texture.bind();
    drawTexturedWindow();
    expectColour(quadrant(1, 0), Rgba{64, 64, 64, 255}, "grey 64");
    expectColour(quadrant(0, 1), Rgba{128, 128, 128, 255}, "grey 128");

    ASSERT_TRUE(loadPng(&texture, twoByTwo(PngImage::kRgb16, {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30})));
    texture.bind();
    drawTexturedWindow();
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
    fillWindow(0, 0, 1);
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    drawTexturedWindow();
    expectColour(quadrant(0, 0), kRed, "opaque index");
    expectColour(quadrant(1, 0), kBlue, "keyed index");
    expectColour(quadrant(0, 1), kBlue, "keyed index");

    PngImage rgb = twoByTwo(PngImage::kRgb, {255, 0, 0, 0, 255, 0, 0, 255, 0, 255, 255, 0});
    rgb.hasTransparentColour = true;
    rgb.transparent[1] = 255; // pure green
    ASSERT_TRUE(loadPng(&texture, rgb));
    EXPECT_EQ(texture.alphaMode(), Texture::kCutOut);
    fillWindow(0, 0, 1);
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    drawTexturedWindow();
    expectColour(quadrant(0, 0), kRed, "unkeyed colour");
    expectColour(quadrant(1, 0), kBlue, "keyed colour");
    expectColour(quadrant(1, 1), kYellow, "unkeyed colour");
}

TEST_F(TextureTest, BgrOrderedBitmapIsSwappedIntoRgb) {
    // A 2 x 1 24-bit BMP: rows bottom-up, pixels stored B, G, R, each row padded to 4 bytes.
    std::vector<uint8_t> bmp = {'B', 'M', 62,   0,    0, 0, 0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                2,   0,   0,    0,    1, 0, 0,    0,    1, 0, 24, 0, 0, 0, 0,  0, 8, 0,
                                0,   0,   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    bmp.insert(bmp.end(), {0, 0, 255, 255, 0, 0, 0, 0}); // red, then blue
    const std::string path = dir_.file("bitmap.dat");
    ASSERT_TRUE(writeScrambledFile(path, bmp));
    Texture texture;
    ASSERT_TRUE(texture.load(path));
    EXPECT_EQ(texture.alphaMode(), Texture::kOpaque);
    setFlatColour(1, 1, 1, 1);
    texture.bind();
    drawTexturedWindow();
    expectColour(readPixel(16, 32), kRed, "left pixel");
    expectColour(readPixel(48, 32), kBlue, "right pixel");
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
