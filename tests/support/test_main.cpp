// Entry point of every test binary.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/gl_test_context.h"

int main(int argc, char** argv) {
    // Tests find the generated data and the built tools through these; an explicit setting wins.
    setenv("TAVOK_BUILD_DIR", TAVOK_BUILD_DIR_DEFAULT, 0);
    setenv("TAVOK_SOURCE_DIR", TAVOK_SOURCE_DIR_DEFAULT, 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    shutdownTestPlatform();
    return result;
}
