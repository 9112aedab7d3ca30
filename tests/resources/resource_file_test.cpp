// Resource paths and whole resource files read and unscrambled in one go.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

#include "resources/resource_file.h"
#include "tests/support/scratch_files.h"

TEST(ResourceFile, ReadsUnscramblesAndRefusesBadFiles) {
    ScratchDir dir;
    const std::vector<uint8_t> payload = {'h', 'e', 'l', 'l', 'o'};
    ASSERT_TRUE(writeScrambledFile(dir.file("5.dat"), payload));
    size_t length = 0;
    uint8_t* bytes = readResourceFile(dir.file("5.dat"), &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + length), payload);
    free(bytes);

    ASSERT_TRUE(writeWholeFile(dir.file("empty.dat"), {}));
    ASSERT_EQ(mkdir(dir.file("dir.dat").c_str(), 0755), 0);
    for (const char* name : {"missing.dat", "empty.dat", "dir.dat"}) {
        length = 7;
        EXPECT_EQ(readResourceFile(dir.file(name), &length), nullptr) << name;
        EXPECT_EQ(length, 0u) << name;
    }
    EXPECT_EQ(resourcePath(12), "res/12.dat");
    EXPECT_EQ(resourcePath(0), "res/0.dat");
    EXPECT_EQ(resourceName(12), "12.dat");
}
