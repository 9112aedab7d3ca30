// The play frame looks exactly as it did when every cell was drawn on its own: fixed world states are
// drawn by the play screen and by the frozen cell-by-cell drawing, and every pixel of the two windows
// must agree. Once with pictures made here, where every texel of every picture differs, so that a wrong
// picture, frame, filter or alpha treatment shows, and once with the game's own pictures.
#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/play_screen.h"
#include "app/services.h"
#include "app/viewport.h"
#include "game/avatar.h"
#include "game/world.h"
#include "resources/resource_access.h"
#include "render/texture.h"
#include "resources/resource_manager.h"
#include "tests/game/game_fixture.h"
#include "tests/game/reference_field_drawing.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
struct WindowSize {
    int width;
    int height;
};
// The benchmark's size, the odd widths and heights of common displays, and the largest test window.
const WindowSize kSizes[] = {{1280, 720}, {1366, 768}, {800, 600}, {1920, 1080}};

// Opaque, cut-out or translucent, and 16, 32 or 64 texels square (64 is drawn smaller than it is, so
// the minifying filter is used too), spread over the kinds of cells the field has.
PngImage distinctPicture(int number) {
    const TextureName name = nameOfTexture(number);
    PngImage image;
    image.kind = PngImage::kRgb;
    int alpha = 0; // 0 opaque, 1 cut-out, 2 translucent
    if (name.family == TextureName::kAvatar) {
        image.width = name.owner == 0 || name.owner == 2 ? 64 : name.owner == 4 ? 32 : 16;
        alpha = 1;
    } else if (name.family == TextureName::kOutside) {
        image.width = 16;
        alpha = name.kind == kOutsideBackdrop ? 0 : 2; // the decorations let the backdrop through
    } else {
        image.width = name.owner % 2 == 1 ? 16 : 32;
        if (name.kind >= kTileDoor && name.kind < kTileItem) {
            alpha = 1; // door and buttons: the door light shows through
        } else if (name.kind >= kTileTopLeftCorner) {
            alpha = 2; // corners and items
        }
    }
    image.height = image.width;
    if (alpha != 0) {
        image.kind = PngImage::kRgba;
    }
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            image.samples.push_back(static_cast<uint8_t>(number * 37 + column * 11 + row * 5));
            image.samples.push_back(static_cast<uint8_t>(number * 13 + column * 3 + row * 17));
            image.samples.push_back(static_cast<uint8_t>(number * 7 + column * row));
            if (alpha == 1) {
                image.samples.push_back((column + row + number) % 3 == 0 ? 0 : 255);
            } else if (alpha == 2) {
                image.samples.push_back(static_cast<uint8_t>(1 + (column * 16 + row * 7 + number) % 254));
            }
        }
    }
    return image;
}

void writeDistinctPictures() {
    std::filesystem::create_directories("res");
    for (int number : allTextureNumbers()) {
        ASSERT_TRUE(
            writeScrambledFile("res/" + std::to_string(number) + ".dat", encodePng(distinctPicture(number))));
    }
}

// The picture loaded for number n, without keeping a reference on it.
const Texture* pictureNumber(int n) {
    Texture* texture = textureByNumber(n);
    theResourceManager->releaseTexture(texture);
    return texture;
}

std::vector<uint8_t> grabWindow(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A colour the field never shows everywhere, so that a frame that leaves part of the window unfilled
// differs from one that fills it.
void scribbleWindow() {
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

struct Difference {
    int count = 0;
    int firstX = -1, firstY = -1;
    uint8_t expected[4] = {0, 0, 0, 0};
    uint8_t actual[4] = {0, 0, 0, 0};
};

Difference compare(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual, int width) {
    Difference d;
    for (size_t i = 0; i + 3 < expected.size() && i + 3 < actual.size(); i += 4) {
        bool same = true;
        for (int k = 0; k < 4; ++k) {
            same = same && expected[i + k] == actual[i + k];
        }
        if (!same) {
            if (d.count++ == 0) {
                d.firstX = static_cast<int>(i / 4) % width;
                d.firstY = static_cast<int>(i / 4) / width;
                for (int k = 0; k < 4; ++k) {
                    d.expected[k] = expected[i + k];
                    d.actual[k] = actual[i + k];
                }
            }
        }
    }
    if (expected.size() != actual.size()) {
        d.count = -1;
    }
    return d;
}

std::string describe(const Difference& d) {
    std::string text = std::to_string(d.count) + " pixels differ";
    if (d.count > 0) {
        text += "; first at (" + std::to_string(d.firstX) + ", " + std::to_string(d.firstY) + "): expected ";
        for (int k = 0; k < 4; ++k) {
            text += std::to_string(d.expected[k]) + (k < 3 ? "," : " got ");
        }
        for (int k = 0; k < 4; ++k) {
            text += std::to_string(d.actual[k]) + (k < 3 ? "," : "");
        }
    }
    return text;
}

size_t distinctColours(const std::vector<uint8_t>& pixels) {
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        colours.insert(static_cast<uint32_t>(pixels[i]) << 16 | static_cast<uint32_t>(pixels[i + 1]) << 8 |
                       pixels[i + 2]);
    }
    return colours.size();
}
} // namespace

class PlayFramePixels : public GameFixture {
protected:
    // Every room lit, the cells at mixed animation frames, avatars stepping, acting and glancing, every
    // item on its way out at a different stage (none untouched: the untouched items of the top rooms
    // blink with the clock).
    static void setBusyField(World& world) {
        world.level = 5.0f;
        world.roomReveal = 5.0f;
        world.outsideReveal = 5.0f;
        for (int x = 0; x < kGridWidth; ++x) {
            for (int y = 0; y < kGridHeight; ++y) {
                world.cellFrame[x][y] = (3 * x + y) % kFramesPerTexture;
            }
        }
        const float anim[kRoomCount] = {0.37f, 0.81f, 0.55f, 0.5f, 0.25f};
        for (int room = 0; room < kRoomCount; ++room) {
            world.itemPresent[room] = true;
            world.itemAnim[room] = anim[room];
            world.itemTakenFromSide[room] = room % 2 == 0;
        }
        const int states[kAvatarCount] = {Avatar::kIdle, Avatar::kStep, Avatar::kAct, Avatar::kGlance,
                                          Avatar::kStep};
        const float progress[kAvatarCount] = {1.0f, 0.45f, 0.3f, 0.8f, 0.62f};
        int i = 0;
        for (Avatar* avatar : world.avatars) {
            avatar->animState = states[i];
            avatar->animProgress = progress[i];
            avatar->facing = (i + 1) % 4;
            ++i;
        }
    }

    // Half-way through a reveal in a tinted light: part-transparent overlays over rooms and strips,
    // the top avatar gone through its open door.
    static void setRevealingField(World& world) {
        setBusyField(world);
        world.level = 3.0f;
        world.roomReveal = 2.6f;
        world.outsideReveal = 3.3f;
        world.tintCurrent[0] = 0.9f;
        world.tintCurrent[1] = 0.55f;
        world.tintCurrent[2] = 0.7f;
        world.doorOpen[4] = true;
        avatarOf(world, 4).exited = true;
    }

    // The dark start: everything in the grid hidden.
    static void setDarkField(World& world) {
        world.level = 0.0f;
        world.roomReveal = 0.0f;
        world.outsideReveal = 0.0f;
    }

    // A new game on the given seed whose every picture is one made here.
    World& newWorldWithDistinctPictures(unsigned seed) {
        writeDistinctPictures();
        return newWorld(seed);
    }

    // The busy field, then the revealing one, drawn both ways with their pictures showing.
    void expectBusyAndRevealingFramesAgree(World& world) {
        setBusyField(world);
        expectFramesAgree(world, "busy field", true);
        setRevealingField(world);
        expectFramesAgree(world, "revealing field", true);
    }

    // Draws the world both ways at every size and expects the same pixels.
    void expectFramesAgree(World& world, const char* state, bool expectDetail) {
        PlayScreen screen;
        for (const WindowSize& size : kSizes) {
            REQUIRE_GL_WINDOW(size.width, size.height);
            theViewport->width = static_cast<float>(size.width);
            theViewport->height = static_cast<float>(size.height);

            scribbleWindow();
            theViewport->begin2D();
            drawReferencePlayFrame(world);
            const std::vector<uint8_t> expected = grabWindow(size.width, size.height);

            // The first frame at a size draws the tiles directly, the next from the kept picture.
            for (const char* way : {"cell by cell", "kept picture"}) {
                scribbleWindow();
                screen.draw();
                const std::vector<uint8_t> actual = grabWindow(size.width, size.height);
                const Difference d = compare(expected, actual, size.width);
                EXPECT_EQ(d.count, 0) << state << ", " << way << ", at " << size.width << "x" << size.height
                                      << ": " << describe(d);
            }
            if (expectDetail) {
                EXPECT_GT(distinctColours(expected), 200u) << state << ": the field shows its pictures";
            }
        }
    }
};

TEST_F(PlayFramePixels, TheComparisonSeesASinglePixelChangedInTheWindowCorner) {
    REQUIRE_GL_WINDOW(1280, 720);
    World& world = newWorldWithDistinctPictures(3);
    ASSERT_EQ(gameMode, kModePlay) << "every picture loaded";
    setBusyField(world);
    PlayScreen screen;
    screen.draw();
    const std::vector<uint8_t> before = grabWindow(1280, 720);
    glEnable(GL_SCISSOR_TEST);
    glScissor(1279, 719, 1, 1);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    const Difference d = compare(before, grabWindow(1280, 720), 1280);
    EXPECT_EQ(d.count, 1);
    EXPECT_EQ(d.firstX, 1279);
    EXPECT_EQ(d.firstY, 719);
}

TEST_F(PlayFramePixels, EveryPixelMatchesTheCellByCellDrawingWithPicturesThatAllDiffer) {
    REQUIRE_GL_WINDOW(1280, 720);
    World& world = newWorldWithDistinctPictures(11);
    ASSERT_EQ(gameMode, kModePlay) << "every picture loaded";
    // The numbering spelled out by hand, so that a wrong formula in the game's tables cannot pass: room
    // 0's door, room 2's item at frame 1, avatar 2 acting to the right at frame 3, and avatar 0's glance
    // at frame 1, which reuses its idle pictures.
    EXPECT_EQ(world.cellTextures[4][3][0], pictureNumber(1130));
    EXPECT_EQ(world.itemTextures[2][1], pictureNumber(3191));
    EXPECT_EQ(avatarOf(world, 2).frameTextures[Avatar::kFacingRight][Avatar::kAct][3], pictureNumber(73213));
    EXPECT_EQ(avatarOf(world, 0).frameTextures[Avatar::kFacingDown][Avatar::kGlance][1],
              pictureNumber(71031));
    expectBusyAndRevealingFramesAgree(world);
    setDarkField(world);
    expectFramesAgree(world, "dark field", false);
}

TEST_F(PlayFramePixels, EveryPixelMatchesTheCellByCellDrawingWithTheGamesOwnPictures) {
    REQUIRE_GL_WINDOW(1280, 720);
    const char* build = std::getenv("TAVOK_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    const std::filesystem::path pictures = std::filesystem::path(build) / "res";
    ASSERT_TRUE(std::filesystem::exists(pictures / "1010.dat")) << "the build makes the game's res/";
    std::filesystem::create_directory_symlink(pictures, "res");
    World& world = newWorld(5);
    ASSERT_EQ(gameMode, kModePlay) << "every picture loaded";
    expectBusyAndRevealingFramesAgree(world);
}

// The tiles come from a picture kept between frames; every change to what it shows must reach the
// window in the same frame. One window, one World, drawn again after each change and held to the
// cell-by-cell drawing: the first frame, one cell stirring, two cells trading pictures, the tint the
// door lights follow, a picture loaded again, a resize and back.
TEST_F(PlayFramePixels, TheKeptFieldPictureShowsEveryChangeInTheFrameItHappens) {
    REQUIRE_GL_WINDOW(1280, 720);
    World& world = newWorldWithDistinctPictures(17);
    ASSERT_EQ(gameMode, kModePlay) << "every picture loaded";
    setBusyField(world);
    PlayScreen screen;
    const auto expectSame = [&](int width, int height, const char* what) {
        REQUIRE_GL_WINDOW(width, height);
        theViewport->width = static_cast<float>(width);
        theViewport->height = static_cast<float>(height);
        scribbleWindow();
        theViewport->begin2D();
        drawReferencePlayFrame(world);
        const std::vector<uint8_t> expected = grabWindow(width, height);
        scribbleWindow();
        screen.draw();
        EXPECT_TRUE(world.fieldDrawnFromPicture()) << what << ": the kept picture is what is checked";
        const Difference d = compare(expected, grabWindow(width, height), width);
        EXPECT_EQ(d.count, 0) << what << " at " << width << "x" << height << ": " << describe(d);
    };
    // The first frame at a size is drawn directly, and makes the picture for the next.
    const auto resize = [&](int width, int height) {
        REQUIRE_GL_WINDOW(width, height);
        theViewport->width = static_cast<float>(width);
        theViewport->height = static_cast<float>(height);
        screen.draw();
        EXPECT_FALSE(world.fieldDrawnFromPicture()) << width << "x" << height;
    };
    resize(1280, 720);
    expectSame(1280, 720, "the picture made");
    expectSame(1280, 720, "nothing changed");
    world.cellFrame[6][9] = (world.cellFrame[6][9] + 1) % kFramesPerTexture;
    expectSame(1280, 720, "one cell stirred");
    std::swap(world.cellTextures[3][5], world.cellTextures[8][14]);
    expectSame(1280, 720, "two cells traded pictures");
    world.tintCurrent[1] = 0.35f;
    expectSame(1280, 720, "tint drifted");
    // Another picture loaded into a texture the field shows, under whatever GL name it then gets.
    ASSERT_TRUE(world.cellTextures[6][9][world.cellFrame[6][9]]->load("res/1010.dat"));
    expectSame(1280, 720, "a picture loaded again");
    resize(1366, 768);
    expectSame(1366, 768, "resized");
    world.cellFrame[0][0] = (world.cellFrame[0][0] + 1) % kFramesPerTexture;
    resize(1280, 720);
    expectSame(1280, 720, "back to the first size, a corner cell stirred");
}
