#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

#include "audio/sound.h"
#include "render/mesh.h"
#include "render/texture.h"
#include "resources/resource_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// A manager working in a scratch directory with a res/ folder; real images need the GL window.
class ResourceManagerTest : public ::testing::Test {
protected:
    ResourceManagerTest() : cwd_(dir_.path()) {}
    void SetUp() override {
        REQUIRE_GL_WINDOW(32, 32);
        ASSERT_EQ(mkdir("res", 0755), 0);
    }

    static void writeImage(const std::string& name) {
        PngImage image;
        image.width = 1;
        image.height = 1;
        image.samples = {10, 20, 30};
        ASSERT_TRUE(writeScrambledFile("res/" + name, encodePng(image)));
    }

    ScratchDir dir_;
    WorkingDirectory cwd_;
    ResourceManager manager_;
};
} // namespace

TEST_F(ResourceManagerTest, OneSharedObjectPerNameCountedPerAcquire) {
    writeImage("1.dat");
    Texture* first = manager_.acquireTexture("1.dat");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_NE(first->name(), 0u);
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 1);
    // The second acquire comes from the cache, not the file.
    ASSERT_EQ(remove("res/1.dat"), 0);
    EXPECT_EQ(manager_.acquireTexture("1.dat"), first);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 2);
    EXPECT_TRUE(manager_.holdsTexture("res/1.dat"));

    // A missing file still caches an (empty) object, tried only once.
    Texture* missing = manager_.acquireTexture("3.dat");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(missing->name(), 0u);
    writeImage("3.dat");
    EXPECT_EQ(manager_.acquireTexture("3.dat"), missing);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_EQ(missing->name(), 0u);
    EXPECT_EQ(manager_.textureCount("res/3.dat"), 2);

    // The kinds keep separate caches under the same path.
    Mesh* mesh = manager_.acquireMesh("1.dat");
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.meshCount("res/1.dat"), 1);
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 2);
    Sound* sound = manager_.acquireSound("1.dat");
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.soundCount("res/1.dat"), 1);
}

TEST_F(ResourceManagerTest, ReleaseBelowZeroPinsAndPurgeTakesOnlyCountZero) {
    writeImage("1.dat");
    writeImage("2.dat");
    Texture* pinned = manager_.acquireTexture("1.dat");
    manager_.releaseTexture(pinned);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 0);
    manager_.releaseTexture(pinned);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount("res/1.dat"), -1);
    EXPECT_EQ(manager_.acquireTexture("1.dat"), pinned);
    EXPECT_EQ(manager_.textureCount("res/1.dat"), -1);

    Texture* held = manager_.acquireTexture("2.dat");
    Texture* dropped = manager_.acquireTexture("");
    EXPECT_TRUE(manager_.lastOperationFailed());
    manager_.releaseTexture(dropped);
    manager_.purgeUnused();
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_TRUE(manager_.holdsTexture("res/1.dat"));
    EXPECT_TRUE(manager_.holdsTexture("res/2.dat"));
    EXPECT_FALSE(manager_.holdsTexture(""));
    EXPECT_EQ(held->alphaMode(), Texture::kOpaque); // still alive

    // After a purge the name loads anew: with the file gone, the new load fails.
    manager_.releaseTexture(held);
    manager_.purgeUnused();
    EXPECT_FALSE(manager_.holdsTexture("res/2.dat"));
    EXPECT_EQ(manager_.textureCount("res/2.dat"), 0);
    ASSERT_EQ(remove("res/2.dat"), 0);
    Texture* again = manager_.acquireTexture("2.dat");
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(again->name(), 0u);
    EXPECT_EQ(manager_.textureCount("res/2.dat"), 1);

    // A purge with nothing at zero changes nothing and clears the flag.
    manager_.releaseTexture(nullptr);
    ASSERT_TRUE(manager_.lastOperationFailed());
    manager_.purgeUnused();
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_TRUE(manager_.holdsTexture("res/2.dat"));
}

TEST_F(ResourceManagerTest, UnknownPointersChangeNoCount) {
    writeImage("1.dat");
    Texture* texture = manager_.acquireTexture("1.dat");
    manager_.releaseTexture(nullptr);
    EXPECT_TRUE(manager_.lastOperationFailed());
    manager_.releaseSound(reinterpret_cast<Sound*>(texture));
    EXPECT_TRUE(manager_.lastOperationFailed());
    manager_.releaseMesh(reinterpret_cast<Mesh*>(texture));
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 1);

    // Add-reference of a stranger hands out the shared empty object, counted.
    Texture stranger;
    Texture* empty = manager_.addTextureReference(&stranger);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(empty, manager_.acquireTexture(""));
    EXPECT_EQ(manager_.textureCount(""), 2);
    EXPECT_EQ(manager_.addTextureReference(empty), empty);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount(""), 3);

    EXPECT_EQ(manager_.addTextureReference(texture), texture);
    EXPECT_FALSE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.textureCount("res/1.dat"), 2);
    // Releasing the stranger left a nameless entry that a later add-reference still treats as unknown.
    manager_.releaseTexture(&stranger);
    EXPECT_TRUE(manager_.lastOperationFailed());
    EXPECT_EQ(manager_.addTextureReference(&stranger), empty);
    EXPECT_TRUE(manager_.lastOperationFailed());
}
