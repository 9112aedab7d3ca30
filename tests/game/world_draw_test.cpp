// The play field on screen: masks over the hidden rooms, tiles of the revealed ones, the half-revealed
// overlay and the crawler batch. Pictures are small PNGs written to a scratch res/ folder: room tiles
// in one earthy colour, the outside strips in blue, items and avatars in white.
#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <filesystem>

#include "app/services.h"
#include "app/viewport.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/world.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"

namespace {
const int kWidth = 1280;
const int kHeight = 720;

std::vector<uint8_t> solidPicture(uint8_t r, uint8_t g, uint8_t b) {
    PngImage image;
    image.kind = PngImage::kRgb;
    image.width = 4;
    image.height = 4;
    for (int i = 0; i < 16; ++i) {
        image.samples.insert(image.samples.end(), {r, g, b});
    }
    return encodePng(image);
}

void writePictures() {
    std::filesystem::create_directories("res");
    const std::vector<uint8_t> tile = solidPicture(200, 100, 40);
    const std::vector<uint8_t> outside = solidPicture(60, 60, 200);
    const std::vector<uint8_t> white = solidPicture(255, 255, 255);
    for (int number : allTextureNumbers()) {
        const bool figure = number >= 71000 || number % 1000 >= 190;
        const std::vector<uint8_t>& picture = figure ? white : number >= 8000 ? outside : tile;
        writeScrambledFile("res/" + std::to_string(number) + ".dat", picture);
    }
}

const float kCell = kHeight / 21.0f;
const float kShift = kWidth / 2 - 7.0f * kCell;

// The pixel at the centre of grid cell (x, y).
Rgba cellPixel(float x, float y) {
    return readPixel(static_cast<int>(kShift + (x + 0.5f) * kCell), static_cast<int>((y + 0.5f) * kCell));
}

bool near(Rgba pixel, int r, int g, int b, int tolerance = 3) {
    return std::abs(pixel.r - r) <= tolerance && std::abs(pixel.g - g) <= tolerance &&
           std::abs(pixel.b - b) <= tolerance;
}
} // namespace

class WorldDrawing : public GameFixture {
protected:
    void drawFrame() {
        theViewport->begin2D();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        theWorld->draw();
        glFinish();
    }
    void reveal(World& world, float rooms) {
        world.level = rooms;
        world.roomReveal = rooms;
        world.outsideReveal = rooms;
    }
};

TEST_F(WorldDrawing, TheDarkStartHidesTheWholeGridAndARevealedRoomShowsItsTiles) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    writePictures();
    World& world = newWorld(6);
    ASSERT_EQ(gameMode, kModePlay) << "every picture loaded";
    for (Avatar* avatar : world.avatars) {
        avatar->exited = true; // figures would cover the tiles looked at below
    }
    drawFrame();
    const int left = static_cast<int>(kShift - kCell) + 1;
    const int right = static_cast<int>(kShift + 15 * kCell) - 1;
    EXPECT_EQ(countPixels(left, 0, right, kHeight, kBlack, 0), (right - left) * kHeight);

    reveal(world, 1.0f);
    drawFrame();
    // Room 0 is drawn through the green tint, the rest of the field stays masked.
    EXPECT_TRUE(near(cellPixel(2, 1), 100, 100, 20));
    EXPECT_TRUE(near(cellPixel(6, 2), 100, 100, 20));
    EXPECT_TRUE(near(cellPixel(0, 2), 30, 60, 100)) << "the outside strip beside room 0";
    EXPECT_TRUE(near(cellPixel(6, 5), 0, 0, 0));
    EXPECT_TRUE(near(cellPixel(0, 5), 0, 0, 0));
    // The PlayScreen's backdrop is all there is beyond the strips.
    EXPECT_TRUE(near(readPixel(static_cast<int>(kShift - 2 * kCell), 20), 0, 0, 0));
}

TEST_F(WorldDrawing, AHalfRevealedRoomLiesUnderABlackOverlayOfThreeQuarters) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    writePictures();
    World& world = newWorld(6);
    for (Avatar* avatar : world.avatars) {
        avatar->exited = true;
    }
    reveal(world, 5.0f);
    world.roomReveal = 2.5f;
    drawFrame();
    EXPECT_TRUE(near(cellPixel(2, 5), 200, 100, 40)) << "room 1 fully shown";
    const Rgba overlaid = cellPixel(2, 9);
    EXPECT_TRUE(near(overlaid, 50, 25, 10, 2)) << int(overlaid.r) << " " << int(overlaid.g);
    EXPECT_TRUE(near(cellPixel(2, 13), 0, 0, 0)) << "room 3 still hidden";
    EXPECT_TRUE(near(cellPixel(0, 13), 60, 60, 200)) << "the outside follows its own reveal";

    // Within 0.001 below a whole number no overlay is drawn.
    world.roomReveal = 2.9995f;
    drawFrame();
    EXPECT_TRUE(near(cellPixel(2, 9), 200, 100, 40));
}

TEST_F(WorldDrawing, FiguresAndCrawlersAreDrawnOverTheTiles) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    writePictures();
    World& world = newWorld(8);
    reveal(world, 5.0f);
    drawFrame();
    for (const Avatar* avatar : world.avatars) {
        const Rgba figure = cellPixel(avatar->x, avatar->y);
        if (avatar->index == 0) {
            EXPECT_TRUE(near(figure, 128, 255, 128)) << "avatar 0 is drawn green";
        } else {
            EXPECT_TRUE(near(figure, 255, 255, 255)) << avatar->index;
        }
    }
    // The top room's item, not yet touched, blinks; when it shows it is white.
    const Rgba item = cellPixel(10, 17);
    EXPECT_TRUE(near(item, 255, 255, 255) || near(item, 200, 100, 40));

    // Young crawlers show the tint. These swim left of the strips, where no mask reaches.
    for (int i = 0; i < 20; ++i) {
        Crawler* crawler = new Crawler(9999.0f, -6.0f, 10.0f);
        crawler->age = 0.0f;
        world.crawlers.push_front(crawler);
    }
    world.tintCurrent[0] = 1.0f;
    world.tintCurrent[1] = 0.5f;
    world.tintCurrent[2] = 0.25f;
    drawFrame();
    const int x0 = static_cast<int>(kShift - 7 * kCell);
    const int x1 = static_cast<int>(kShift - 4 * kCell);
    const int y0 = static_cast<int>(9 * kCell);
    const int y1 = static_cast<int>(12 * kCell);
    EXPECT_GT(countPixels(x0, y0, x1, y1, Rgba{255, 128, 64, 255}, 3), 20);
    // Old crawlers are black: nothing of them shows on the black backdrop.
    for (Crawler* crawler : world.crawlers) {
        crawler->age = 7.0f;
    }
    drawFrame();
    EXPECT_EQ(countPixels(x0, y0, x1, y1, kBlack, 0), (x1 - x0) * (y1 - y0));
}
