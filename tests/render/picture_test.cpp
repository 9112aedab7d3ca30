// Pictures decoded ahead of their textures: the texture made from a picture decoded ahead holds exactly
// the bytes of the one the texture decodes itself, for the game's own pictures and for unusual and
// damaged ones (which are declined and decoded the old way); and the prefetch hands each picture over
// once, in any order, and only while it runs.
#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/world_tables.h"
#include "render/picture.h"
#include "render/picture_prefetch.h"
#include "render/texture.h"
#include "resources/resource_file.h"
#include "resources/resource_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// What the GL holds for a texture: its size, internal format, alpha mode and every texel as R,G,B,A.
struct TextureContent {
    bool loaded = false;
    int width = 0;
    int height = 0;
    int internalFormat = 0;
    int alphaMode = -1;
    std::vector<uint8_t> texels;
    bool operator==(const TextureContent& other) const {
        return loaded == other.loaded && width == other.width && height == other.height &&
               internalFormat == other.internalFormat && alphaMode == other.alphaMode &&
               texels == other.texels;
    }
};

TextureContent contentOf(Texture& texture, bool loaded) {
    TextureContent content;
    content.loaded = loaded;
    content.alphaMode = texture.alphaMode();
    if (texture.name() == 0) {
        return content;
    }
    glBindTexture(GL_TEXTURE_2D, texture.name());
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    content.width = value;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    content.height = value;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    content.internalFormat = value;
    content.texels.assign(static_cast<size_t>(content.width) * static_cast<size_t>(content.height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, content.texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return content;
}

TextureContent loadedOnItsOwn(const std::string& path) {
    Texture texture;
    const bool loaded = texture.load(path);
    return contentOf(texture, loaded);
}

TextureContent loadedFrom(PicturePrefetch* ahead, const std::string& path) {
    Texture texture;
    const bool loaded = texture.load(path, ahead);
    return contentOf(texture, loaded);
}

// Every texel differs from its neighbours, so a shifted row or swapped channel shows.
PngImage distinctImage(PngImage::Kind kind, int width, int height, int seed) {
    PngImage image;
    image.kind = kind;
    image.width = width;
    image.height = height;
    const int channels = kind == PngImage::kRgba ? 4 : (kind == PngImage::kRgb || kind == PngImage::kRgb16) ? 3 : 1;
    for (int i = 0; i < width * height * channels; ++i) {
        image.samples.push_back(static_cast<uint8_t>(i * 7 + seed * 13 + (i / channels) % 5));
    }
    if (kind == PngImage::kPalette) {
        for (int i = 0; i < 256 * 3; ++i) {
            image.palette.push_back(static_cast<uint8_t>(255 - i));
        }
    }
    return image;
}

// A tEXt chunk just before IEND whose CRC is wrong: libpng warns, drops the chunk and decodes the rest.
std::vector<uint8_t> withBrokenTextChunk(std::vector<uint8_t> png) {
    const std::vector<uint8_t> chunk = {0, 0, 0, 4, 't', 'E', 'X', 't', 'a', 0, 'b', 'c', 1, 2, 3, 4};
    png.insert(png.end() - 12, chunk.begin(), chunk.end());
    return png;
}

// The first IDAT's first data byte changed, its CRC left as it was.
std::vector<uint8_t> withDamagedImageData(std::vector<uint8_t> png) {
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t size = static_cast<uint32_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 |
                              png[at + 3];
        if (std::string(png.begin() + at + 4, png.begin() + at + 8) == "IDAT" && size > 2) {
            png[at + 10] ^= 0x5A;
            return png;
        }
        at += 12 + size;
    }
    return {};
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL_WINDOW(64, 64); }

    std::string write(const std::string& name, const std::vector<uint8_t>& payload) {
        const std::string path = dir_.file(name);
        EXPECT_TRUE(writeScrambledFile(path, payload));
        return path;
    }

    ScratchDir dir_;
};
} // namespace

TEST_F(PictureTest, TheGamesOwnPicturesAreAllDecodedAheadIntoTheSameTextures) {
    const char* build = std::getenv("TAVOK_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    std::vector<std::string> paths;
    for (int number : allTextureNumbers()) {
        paths.push_back(std::string(build) + "/" + resourcePath(number));
    }
    PicturePrefetch ahead(paths);
    ASSERT_TRUE(ahead.start(2));
    int opaque = 0;
    for (const std::string& path : paths) {
        const TextureContent expected = loadedOnItsOwn(path);
        ASSERT_TRUE(expected.loaded) << path << ": the build makes the game's res/";
        ASSERT_TRUE(loadedFrom(&ahead, path) == expected) << path;
        opaque += expected.alphaMode == Texture::kOpaque ? 1 : 0;
    }
    // Every one of them came from the threads, none was declined.
    EXPECT_EQ(ahead.decodedCount(), static_cast<int>(paths.size()));
    EXPECT_EQ(ahead.declinedCount(), 0);
    // Both pixel layouts were compared, R,G,B and R,G,B,A.
    EXPECT_GT(opaque, 0);
    EXPECT_LT(opaque, static_cast<int>(paths.size()));
}

TEST_F(PictureTest, UnusualAndDamagedPicturesAreDeclinedAndLoadExactlyAsBefore) {
    PngImage keyed = distinctImage(PngImage::kRgb, 8, 8, 4);
    keyed.hasTransparentColour = true;
    keyed.transparent[0] = keyed.samples[0];
    keyed.transparent[1] = keyed.samples[1];
    keyed.transparent[2] = keyed.samples[2];
    PngImage paletteAlpha = distinctImage(PngImage::kPalette, 8, 8, 5);
    paletteAlpha.paletteAlpha = {0, 128, 255, 0};
    const std::vector<uint8_t> plain = encodePng(distinctImage(PngImage::kRgb, 16, 16, 9));
    struct Case {
        const char* name;
        std::vector<uint8_t> payload;
        bool plain;
    };
    const std::vector<Case> cases = {
        // Decoded ahead: 8-bit RGB and RGBA, with rows that need padding to 4 bytes.
        {"rgb odd width", encodePng(distinctImage(PngImage::kRgb, 33, 7, 1)), true},
        {"rgba", encodePng(distinctImage(PngImage::kRgba, 17, 5, 2)), true},
        {"rgb", plain, true},
        // Declined: the layouts SDL_image converts, and everything libpng warns or fails about.
        {"palette", encodePng(distinctImage(PngImage::kPalette, 9, 9, 3)), false},
        {"palette with alpha", encodePng(paletteAlpha), false},
        {"grey", encodePng(distinctImage(PngImage::kGrey, 10, 3, 6)), false},
        {"16-bit rgb", encodePng(distinctImage(PngImage::kRgb16, 6, 6, 7)), false},
        {"rgb with a colour key", encodePng(keyed), false},
        {"broken text chunk", withBrokenTextChunk(plain), false},
        {"damaged image data", withDamagedImageData(plain), false},
        {"cut in half", std::vector<uint8_t>(plain.begin(), plain.begin() + plain.size() / 2), false},
        {"not a picture", std::vector<uint8_t>(100, 'x'), false},
    };
    std::vector<std::string> paths;
    for (size_t i = 0; i < cases.size(); ++i) {
        ASSERT_FALSE(cases[i].payload.empty()) << cases[i].name;
        paths.push_back(write(std::to_string(i) + ".dat", cases[i].payload));
    }
    paths.push_back(dir_.file("missing.dat"));
    for (size_t i = 0; i < paths.size(); ++i) {
        Picture picture;
        const bool isPlain = i < cases.size() && cases[i].plain;
        EXPECT_EQ(decodePlainPicture(paths[i], &picture), isPlain) << paths[i];
        EXPECT_EQ(picture.pixels.empty(), !isPlain) << "a declined picture leaves nothing behind";
    }
    PicturePrefetch ahead(paths);
    ASSERT_TRUE(ahead.start(1));
    int loadable = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        const TextureContent expected = loadedOnItsOwn(paths[i]);
        const std::string name = i < cases.size() ? cases[i].name : "missing";
        EXPECT_TRUE(loadedFrom(&ahead, paths[i]) == expected) << name;
        loadable += expected.loaded ? 1 : 0;
    }
    EXPECT_EQ(ahead.decodedCount(), 3);
    EXPECT_EQ(ahead.declinedCount(), static_cast<int>(paths.size()) - 3);
    // The layouts SDL_image converts and the file with the broken text chunk still load; the damaged,
    // cut, foreign and missing files fail both ways.
    EXPECT_EQ(loadable, 9);
}

TEST_F(PictureTest, EachPictureIsHandedOverOnceAndOnlyWhileThePrefetchRuns) {
    const std::string a = write("a.dat", encodePng(distinctImage(PngImage::kRgba, 4, 4, 1)));
    const std::string b = write("b.dat", encodePng(distinctImage(PngImage::kRgb, 5, 5, 2)));
    Picture picture;

    PicturePrefetch idle({a, b});
    EXPECT_FALSE(idle.take(a, &picture)) << "never started";

    PicturePrefetch ahead({a, b});
    ASSERT_TRUE(ahead.start(1));
    EXPECT_FALSE(ahead.start(1)) << "started once only";
    EXPECT_FALSE(ahead.take(dir_.file("other.dat"), &picture)) << "not in the list";
    // Taken out of list order: the last first.
    ASSERT_TRUE(ahead.take(b, &picture));
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.bytesPerPixel, 3);
    EXPECT_EQ(picture.pitch, 16);
    EXPECT_EQ(picture.pixels.size(), 80u);
    EXPECT_FALSE(ahead.take(b, &picture)) << "taken already";
    // A texture whose picture was taken already decodes its own, with the same result.
    EXPECT_TRUE(loadedFrom(&ahead, b) == loadedOnItsOwn(b));
    ahead.finish();
    EXPECT_FALSE(ahead.take(a, &picture)) << "finished";
    EXPECT_TRUE(loadedFrom(&ahead, a) == loadedOnItsOwn(a));
}

TEST_F(PictureTest, DamagedFilesAmongManyFailAtTheSameAcquiresThroughTheCache) {
    std::filesystem::create_directories(dir_.file("res"));
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        const std::string name = std::to_string(i) + ".dat";
        std::vector<uint8_t> payload = encodePng(distinctImage(i % 2 ? PngImage::kRgb : PngImage::kRgba, 8, 8, i));
        if (i == 17) {
            payload.resize(payload.size() / 2);
        }
        if (i != 30) {
            ASSERT_TRUE(writeScrambledFile(dir_.file("res/" + name), payload));
        }
        names.push_back(name);
    }
    WorkingDirectory inScratch(dir_.path());
    auto failingAcquires = [&names](PicturePrefetch* ahead) {
        ResourceManager manager;
        manager.setPicturePrefetch(ahead);
        std::vector<std::string> failed;
        for (const std::string& name : names) {
            manager.acquireTexture(name.c_str());
            if (manager.lastOperationFailed()) {
                failed.push_back(name);
            }
        }
        return failed;
    };
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back("res/" + name);
    }
    PicturePrefetch ahead(paths);
    ASSERT_TRUE(ahead.start(2));
    const std::vector<std::string> expected = {"17.dat", "30.dat"};
    EXPECT_EQ(failingAcquires(nullptr), expected);
    EXPECT_EQ(failingAcquires(&ahead), expected);
    EXPECT_EQ(ahead.decodedCount(), 38);
}
