// Glyph sets loaded from real scrambled PNG files, shared and purged; text labels measured and drawn on
// a real GL window.
#include "render/text_label.h"

#include <SDL/SDL_opengl.h>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "render/camera.h"
#include "render/texture.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
const int kWidth = 160;
const int kHeight = 90;
const float kPi = 3.14159265f;

// Glyph sets live in the process-wide registry: every test starts and ends with it empty, and works
// in a scratch directory of its own.
class GlyphSets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(openTestWindow(kWidth, kHeight));
        purgeUnusedGlyphSets();
        ASSERT_TRUE(glyphSetTextures.empty());
    }
    void TearDown() override { purgeUnusedGlyphSets(); }

    // A glyph picture: 2 x 2 pixels of one colour.
    void writeGlyph(const std::string& set, int code, Rgba colour) {
        std::filesystem::create_directories(scratch.file(set));
        PngImage image;
        image.width = 2;
        image.height = 2;
        for (int i = 0; i < 4; ++i) {
            image.samples.insert(image.samples.end(), {colour.r, colour.g, colour.b});
        }
        const std::string path = scratch.file(set + "/" + std::to_string(code) + ".dat");
        ASSERT_TRUE(writeScrambledFile(path, encodePng(image)));
    }
    // The three-glyph set used below: 0 red (also every missing glyph), A green, B blue.
    void writeTestFont(const std::string& set) {
        writeGlyph(set, 0, kRed);
        writeGlyph(set, 'A', kGreen);
        writeGlyph(set, 'B', kBlue);
    }

    ScratchDir scratch;
    WorkingDirectory inScratch{scratch.path()};
};

// An eye 5 units out on +X looking back along -X: the label plane x = 0 faces it, +Y runs to the
// right and +Z up, one unit being 16 pixels, with the origin at pixel (80, 45).
void lookAtLabelPlane(Camera& camera) {
    camera.position.set(5, 0, 0);
    camera.angles.set(0, 0, kPi);
    camera.apply(true);
}

// Pixels of the unit square whose top-left corner is at (y, z) in the label plane, inset by 2 pixels.
int countInCell(float y, float z, Rgba colour) {
    const int x0 = 80 + static_cast<int>(std::lround(16 * y));
    const int top = 45 + static_cast<int>(std::lround(16 * z));
    return countPixels(x0 + 2, top - 14, x0 + 14, top - 2, colour);
}
const int kCellInside = 12 * 12;
} // namespace

TEST_F(GlyphSets, LoadCountAndFallBackToGlyphZero) {
    writeTestFont("font");
    writeGlyph("zero", 0, kRed);

    TextLabel label;
    EXPECT_EQ(label.setFont("font"), 3);
    EXPECT_EQ(label.fontName(), "font");
    EXPECT_EQ(glyphSetReferences["font"], 1);
    EXPECT_EQ(glyphSetLoadedCounts["font"], 3);
    Texture* glyphs = glyphSetTextures["font"];
    ASSERT_NE(glyphs, nullptr);
    // Every glyph holds a picture: its own or that of 0.dat.
    for (int code = 0; code < 128; ++code) {
        EXPECT_NE(glyphs[code].name(), 0u) << code;
    }
    const unsigned nameOfA = glyphs[int{'A'}].name();

    // Asking again for the same set loads nothing and keeps the count at 1.
    EXPECT_EQ(label.setFont("font"), 3);
    EXPECT_EQ(glyphSetReferences["font"], 1);
    EXPECT_EQ(glyphSetTextures["font"], glyphs);
    EXPECT_EQ(glyphs[int{'A'}].name(), nameOfA);

    // A set with nothing but 0.dat.
    TextLabel other;
    EXPECT_EQ(other.setFont("zero"), 1);
    for (int code = 0; code < 128; ++code) {
        EXPECT_NE(glyphSetTextures["zero"][code].name(), 0u);
    }
    // A directory that does not exist gives a set of empty glyphs.
    EXPECT_EQ(other.setFont("missing"), 0);
    EXPECT_EQ(glyphSetTextures["missing"][int{'A'}].name(), 0u);
    EXPECT_EQ(glyphSetReferences["zero"], 0);

    // Filters reach every glyph of the set; an unknown set is ignored.
    setGlyphFilterLinear("font");
    setGlyphFilterLinear("nowhere");
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, glyphs[100].name());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    setGlyphFilterLinearNearest("font");
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
}

TEST_F(GlyphSets, SharedSetsStayUntilAPurgeFindsThemUnused) {
    writeTestFont("font");
    auto first = std::make_unique<TextLabel>();
    auto second = std::make_unique<TextLabel>();
    first->setFont("font");
    EXPECT_EQ(second->setFont("font"), 3);
    EXPECT_EQ(glyphSetReferences["font"], 2);
    const unsigned nameOfB = glyphSetTextures["font"][int{'B'}].name();

    first.reset();
    EXPECT_EQ(glyphSetReferences["font"], 1);
    purgeUnusedGlyphSets();
    ASSERT_EQ(glyphSetTextures.count("font"), 1u);
    EXPECT_TRUE(glIsTexture(nameOfB));

    // At count 0 the set stays loaded until the purge, which deletes its textures.
    second.reset();
    EXPECT_EQ(glyphSetReferences["font"], 0);
    EXPECT_EQ(glyphSetTextures.count("font"), 1u);
    purgeUnusedGlyphSets();
    EXPECT_EQ(glyphSetTextures.count("font"), 0u);
    EXPECT_EQ(glyphSetReferences.count("font"), 0u);
    EXPECT_EQ(glyphSetLoadedCounts.count("font"), 0u);
    EXPECT_FALSE(glIsTexture(nameOfB));
}

TEST_F(GlyphSets, LabelSizeCountsCharactersAndLines) {
    TextLabel label;
    EXPECT_FLOAT_EQ(label.textWidth(), 0);
    EXPECT_FLOAT_EQ(label.textHeight(), 1);
    label.glyphSize = 0.5f;
    label.text = "AB\nC";
    EXPECT_FLOAT_EQ(label.textWidth(), 1);
    EXPECT_FLOAT_EQ(label.textHeight(), 1);
    label.text = "A\nBCDE\nF\n";
    EXPECT_FLOAT_EQ(label.textWidth(), 2);
    EXPECT_FLOAT_EQ(label.textHeight(), 2);
}

TEST_F(GlyphSets, TwoLinesDrawAsSquaresOfTheirGlyphs) {
    writeTestFont("font");
    TextLabel label;
    label.setFont("font");
    label.text = "AB\nC";
    Camera camera;
    lookAtLabelPlane(camera);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    label.draw();

    // A at y 0..1 and B at 1..2 on the first line (z 0..-1); C, which has no file, shows glyph 0.
    EXPECT_EQ(countInCell(0, 0, kGreen), kCellInside);
    EXPECT_EQ(countInCell(1, 0, kBlue), kCellInside);
    EXPECT_EQ(countInCell(0, -1, kRed), kCellInside);
    EXPECT_EQ(countInCell(1, -1, kBlack), kCellInside);
    EXPECT_EQ(countInCell(-1, 0, kBlack), kCellInside);
    EXPECT_EQ(countInCell(0, 1, kBlack), kCellInside);
    const int lit = kWidth * kHeight - countPixels(0, 0, kWidth, kHeight, kBlack);
    EXPECT_GE(lit, 3 * 16 * 16 - 8);
    EXPECT_LE(lit, 3 * 16 * 16 + 8);

    // Drawing leaves the matrix and texturing as it found them.
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(after[i], before[i]);
    }
    EXPECT_FALSE(glCapabilityOn(GL_TEXTURE_2D));

    // Centred across and standing on the origin: the block spans y -1..1, z 2..0. A trailing line
    // break adds a line to the height but draws nothing; a code above 127 shows glyph 0.
    label.text = "AB\n\xC3";
    label.setAlignment(0.5f, 1);
    camera.apply(true);
    label.draw();
    EXPECT_EQ(countInCell(-1, 2, kGreen), kCellInside);
    EXPECT_EQ(countInCell(0, 2, kBlue), kCellInside);
    EXPECT_EQ(countInCell(-1, 1, kRed), kCellInside);
    label.text = "AB\n";
    camera.apply(true);
    label.draw();
    EXPECT_EQ(countInCell(-1, 2, kGreen), kCellInside);
    EXPECT_EQ(countInCell(-1, 1, kBlack), kCellInside);
    EXPECT_EQ(countInCell(1, 2, kBlack), kCellInside);

    // Placed and turned: half a turn about Z shows the back of the squares, which are culled; a
    // position moves the block.
    label.text = "A";
    label.setAlignment(0, 0);
    label.position.set(0, -2, 1);
    camera.apply(true);
    label.draw();
    EXPECT_EQ(countInCell(-2, 1, kGreen), kCellInside);
    label.angles.set(0, 0, kPi);
    camera.apply(true);
    label.draw();
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, kBlack), kWidth * kHeight);
}

TEST_F(GlyphSets, ColourOrMaterialAndNoSetMeansNoDrawing) {
    writeTestFont("font");
    TextLabel label;
    label.text = "A";
    Camera camera;
    lookAtLabelPlane(camera);
    label.draw();
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, kBlack), kWidth * kHeight);

    label.setFont("font");
    label.setMaterial(1, 1, 1, 1, 0.5f, 0.5f);
    label.draw();
    EXPECT_TRUE(glCapabilityOn(GL_LIGHTING));
    label.setColour(1, 1, 1, 0.5f);
    label.draw();
    EXPECT_FALSE(glCapabilityOn(GL_LIGHTING));
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
}

TEST_F(GlyphSets, ALabelWhoseSetWasPurgedDrawsNothing) {
    writeTestFont("font");
    TextLabel label;
    label.text = "AB";
    label.setFont("font");
    // Counts changed behind the label's back let a purge take its set away.
    glyphSetReferences["font"] = 0;
    purgeUnusedGlyphSets();
    ASSERT_EQ(glyphSetTextures.count("font"), 0u);

    Camera camera;
    lookAtLabelPlane(camera);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    label.draw();
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, kBlack), kWidth * kHeight);
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depth);

    // Naming the set again loads it anew rather than trusting the stale count.
    EXPECT_EQ(label.setFont("font"), 3);
    EXPECT_EQ(glyphSetReferences["font"], 1);
    label.draw();
    EXPECT_EQ(countInCell(0, 0, kGreen), kCellInside);
}
