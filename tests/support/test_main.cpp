// Entry point of every test binary.
#include <gtest/gtest.h>

#include "tests/support/gl_test_context.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    shutdownTestPlatform();
    return result;
}
