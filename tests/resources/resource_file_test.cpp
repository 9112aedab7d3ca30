// Resource paths and whole resource files read and unscrambled in one go, from the file system or from
// a source set in its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>

#include "resources/cipher.h"
#include "resources/memory_reader.h"
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

namespace {
// A bundle of two files held in memory, as the browser edition holds its resource files.
std::vector<uint8_t> bundledHello;
uint8_t* bundledFile(const std::string& path, size_t* length) {
    *length = 0;
    if (path == "res/hello.dat" || path == "res/empty.dat") {
        const size_t size = path == "res/hello.dat" ? bundledHello.size() : 0;
        uint8_t* bytes = static_cast<uint8_t*>(malloc(size + 1));
        std::copy(bundledHello.begin(), bundledHello.begin() + static_cast<std::ptrdiff_t>(size), bytes);
        *length = size;
        return bytes;
    }
    return nullptr;
}
} // namespace

TEST(ResourceFile, ASourceReplacesTheFileSystemForEveryReader) {
    const std::vector<uint8_t> payload = {'m', 'e', 's', 'h'};
    bundledHello = payload;
    scrambleResource(bundledHello.data(), bundledHello.size());
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("5.dat"), payload));

    setResourceFileSource(bundledFile);
    size_t length = 0;
    uint8_t* bytes = readResourceFile("res/hello.dat", &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + length), payload);
    free(bytes);
    // The file system is not asked: a file there is missing from the source's point of view.
    for (const std::string& path :
         {std::string("res/empty.dat"), std::string("res/none.dat"), dir.file("5.dat")}) {
        length = 7;
        EXPECT_EQ(readResourceFile(path, &length), nullptr) << path;
        EXPECT_EQ(length, 0u) << path;
    }
    MemoryReader reader;
    reader.load("res/hello.dat");
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.readByte(), 'm');

    setResourceFileSource(nullptr);
    bytes = readResourceFile(dir.file("5.dat"), &length);
    EXPECT_NE(bytes, nullptr);
    free(bytes);
    reader.load("res/hello.dat");
    EXPECT_TRUE(reader.failed());
}
