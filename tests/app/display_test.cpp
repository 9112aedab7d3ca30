#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/fullscreen_sizes.h"
#include "app/services.h"
#include "tests/support/gl_test_context.h"

namespace {
DisplayRequest parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tavok");
    return parseDisplayRequest(static_cast<int>(args.size()), args.data());
}

// Records every attempt and accepts the modes its rule accepts.
struct FakeOpener {
    std::function<bool(const DisplayMode&)> accepts;
    std::vector<DisplayMode> attempts;
    std::vector<std::string> captions;

    DisplayOpener opener() {
        return [this](const char* caption, int width, int height, bool fullscreen) {
            const DisplayMode mode = {width, height, fullscreen};
            attempts.push_back(mode);
            captions.push_back(caption);
            return accepts(mode);
        };
    }
};

bool sameMode(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.fullscreen == b.fullscreen;
}
} // namespace

TEST(DisplayRequest, OnlyALetterAndTwoSizesInRangeMakeARequest) {
    const DisplayRequest window = parse({"w", "1024", "768"});
    ASSERT_TRUE(window.valid);
    EXPECT_TRUE(sameMode(window.mode, {1024, 768, false}));
    const DisplayRequest full = parse({"f", "1024", "768"});
    ASSERT_TRUE(full.valid);
    EXPECT_TRUE(sameMode(full.mode, {1024, 768, true}));
    EXPECT_TRUE(parse({"w", "100", "9999"}).valid);
    EXPECT_TRUE(parse({"f", "9999", "100"}).valid);
    // atoi reads the leading digits, as the command line always has.
    EXPECT_TRUE(sameMode(parse({"w", "800px", "600"}).mode, {800, 600, false}));

    const std::vector<std::vector<const char*>> ignored = {
        {},
        {"w", "1024"},
        {"w", "1024", "768", "extra"},
        {"W", "1024", "768"},
        {"F", "1024", "768"},
        {"win", "1024", "768"},
        {"", "1024", "768"},
        {"x", "1024", "768"},
        {"w", "99", "768"},
        {"w", "1024", "10000"},
        {"w", "-1024", "768"},
        {"w", "wide", "768"},
        {"f", "1024", "0"},
        // Numbers beyond an int are out of range, not wrapped into it (4294967936 is 2^32 + 640).
        {"w", "4294967936", "360"},
        {"w", "640", "4294967656"},
        {"f", "-4294966656", "768"},
        {"w", "99999999999999999999999", "768"},
    };
    for (const auto& args : ignored) {
        std::string shown;
        for (const char* arg : args) {
            shown += std::string(" '") + arg + "'";
        }
        EXPECT_FALSE(parse(args).valid) << shown;
    }
}

TEST(DisplayLadder, PrefersTheLargestFullscreenModeThenThreeSmallWindows) {
    EXPECT_TRUE(sameMode(kDisplayLadder[0], {3840, 2160, true}));
    EXPECT_TRUE(sameMode(kDisplayLadder[8], {1920, 1080, true}));
    EXPECT_TRUE(sameMode(kDisplayLadder[24], {320, 240, true}));
    EXPECT_TRUE(sameMode(kDisplayLadder[25], {800, 450, false}));
    EXPECT_TRUE(sameMode(kDisplayLadder[26], {640, 360, false}));
    EXPECT_TRUE(sameMode(kDisplayLadder[27], {320, 180, false}));
    for (int i = 0; i < kDisplayLadderSize; ++i) {
        EXPECT_EQ(kDisplayLadder[i].fullscreen, i < 25) << i;
        if (i > 0 && i != 25) {
            EXPECT_LE(kDisplayLadder[i].width, kDisplayLadder[i - 1].width) << i;
        }
    }
}

TEST(DisplayLadder, AnAcceptedRequestIsTheOnlyAttempt) {
    FakeOpener fake{[](const DisplayMode&) { return true; }, {}, {}};
    DisplayRequest request;
    request.valid = true;
    request.mode = {1024, 768, false};
    ASSERT_TRUE(openFirstDisplay(request, fake.opener()));
    ASSERT_EQ(fake.attempts.size(), 1u);
    EXPECT_TRUE(sameMode(fake.attempts[0], {1024, 768, false}));
    EXPECT_EQ(fake.captions[0], "taVok");
}

TEST(DisplayLadder, ARejectedRequestFallsBackToTheTopRungNotTheNearest) {
    FakeOpener fake{[](const DisplayMode& mode) { return mode.width == 1024 && mode.fullscreen; }, {}, {}};
    DisplayRequest request;
    request.valid = true;
    request.mode = {1000, 700, true};
    ASSERT_TRUE(openFirstDisplay(request, fake.opener()));
    ASSERT_EQ(fake.attempts.size(), 23u);
    EXPECT_TRUE(sameMode(fake.attempts[0], {1000, 700, true}));
    for (size_t i = 1; i < fake.attempts.size(); ++i) {
        EXPECT_TRUE(sameMode(fake.attempts[i], kDisplayLadder[i - 1])) << i;
    }
    EXPECT_TRUE(sameMode(fake.attempts.back(), {1024, 768, true}));
}

TEST(DisplayLadder, ASystemWithoutFullscreenGetsTheLargestWindow) {
    FakeOpener fake{[](const DisplayMode& mode) { return !mode.fullscreen; }, {}, {}};
    ASSERT_TRUE(openFirstDisplay(DisplayRequest(), fake.opener()));
    ASSERT_EQ(fake.attempts.size(), 26u);
    EXPECT_TRUE(sameMode(fake.attempts.back(), {800, 450, false}));
}

TEST(DisplayLadder, NothingOpensAfterTheRequestAndAllTwentyEightRungs) {
    FakeOpener fake{[](const DisplayMode&) { return false; }, {}, {}};
    EXPECT_FALSE(openFirstDisplay(DisplayRequest(), fake.opener()));
    EXPECT_EQ(fake.attempts.size(), 28u);

    fake.attempts.clear();
    DisplayRequest request;
    request.valid = true;
    request.mode = {640, 360, false};
    EXPECT_FALSE(openFirstDisplay(request, fake.opener()));
    EXPECT_EQ(fake.attempts.size(), 29u);
}

// sdl12-compat accepts every fullscreen size and scales it to the screen, like this opener: the ladder
// must skip what no listed mode holds, the request included, and never a window.
TEST(DisplayLadder, SkipsFullscreenModesNoListedModeHolds) {
    FakeOpener fake{[](const DisplayMode&) { return true; }, {}, {}};
    SDL_Rect fullHd = {0, 0, 1920, 1080};
    SDL_Rect tall = {0, 0, 1600, 1200};
    SDL_Rect* listed[] = {&fullHd, &tall, nullptr};
    const FullscreenSizes screen = fullscreenSizesFrom(listed, 3840, 2160);
    DisplayRequest request;
    request.valid = true;
    request.mode = {2560, 1440, true};
    ASSERT_TRUE(openFirstDisplay(request, screen, fake.opener()));
    ASSERT_EQ(fake.attempts.size(), 1u);
    EXPECT_TRUE(sameMode(fake.attempts[0], {1920, 1080, true}));
    // 1600x1200 is taller than the largest mode but fits the second; 1920x1200 fits neither.
    EXPECT_TRUE(screen.shows({1600, 1200, true}));
    EXPECT_FALSE(screen.shows({1920, 1200, true}));
    EXPECT_FALSE(screen.shows({1680, 1201, true}));
    request.mode = {3000, 2000, false};
    fake.attempts.clear();
    ASSERT_TRUE(openFirstDisplay(request, screen, fake.opener()));
    EXPECT_TRUE(sameMode(fake.attempts.at(0), {3000, 2000, false}));

    // No list, or "any size": the desktop's size is the limit. Nothing known: every rung is tried.
    const std::vector<FullscreenSizes> desktopOnly = {
        fullscreenSizesFrom(nullptr, 1366, 768),
        fullscreenSizesFrom(reinterpret_cast<SDL_Rect**>(-1), 1366, 768),
    };
    for (const FullscreenSizes& sizes : desktopOnly) {
        fake.attempts.clear();
        ASSERT_TRUE(openFirstDisplay(DisplayRequest(), sizes, fake.opener()));
        EXPECT_TRUE(sameMode(fake.attempts.at(0), {1366, 768, true}));
    }
    fake.attempts.clear();
    ASSERT_TRUE(openFirstDisplay(DisplayRequest(), fullscreenSizesFrom(nullptr, 0, 0), fake.opener()));
    EXPECT_TRUE(sameMode(fake.attempts.at(0), kDisplayLadder[0]));
}

TEST(OpenDisplay, OpensACaptionedWindowWithTheInitialGlState) {
    // The harness window first, so that the harness and this test agree on the window's size.
    REQUIRE_GL_WINDOW(400, 300);
    windowWidth = windowHeight = 0;
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    ASSERT_TRUE(openDisplay("taVok", 400, 300, false));
    EXPECT_EQ(windowWidth, 400.0f);
    EXPECT_EQ(windowHeight, 300.0f);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "taVok");
    EXPECT_STREQ(icon, "taVok");
    // A window keeps the cursor.
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_TRUE(glCapabilityOn(GL_CULL_FACE));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    EXPECT_FALSE(glCapabilityOn(GL_DITHER));
    EXPECT_FALSE(glCapabilityOn(GL_ALPHA_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_DEPTH_TEST));
    EXPECT_FALSE(glCapabilityOn(GL_LIGHTING));
    EXPECT_FALSE(glCapabilityOn(GL_FOG));
    GLint value = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
    EXPECT_EQ(value, GL_NOTEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_STENCIL_BITS, &value);
    EXPECT_GE(value, 1);
}
