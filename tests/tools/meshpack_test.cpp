// The mesh packer: the text format, the bytes it becomes, and files the game's loader accepts.
#include "tools/meshpack/mesh_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "render/mesh.h"
#include "resources/cipher.h"
#include "tests/support/scratch_files.h"

namespace {
const char* const kTwoFrames = R"(# a test triangle
vertices 3

uv 0 0.25     # first corner
uv 1 0
uv 0.5 1
frame 0
v 1 2 3      1 0 0
v -1.5 0 0   0 -1 0
v 0 0 0.0001 0 0 0.5
frame 2.5
v 1 2 4      0 0 1
v -1.5 0 1   0 0 1
v 0 0 1      0 0 -1
)";

std::vector<uint8_t> int32Bytes(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
            static_cast<uint8_t>(bits >> 24)};
}

void append(std::vector<uint8_t>& bytes, std::initializer_list<int32_t> values) {
    for (int32_t value : values) {
        const std::vector<uint8_t> four = int32Bytes(value);
        bytes.insert(bytes.end(), four.begin(), four.end());
    }
}
} // namespace

TEST(MeshPack, TextBecomesTheMeshFileBytes) {
    MeshSource mesh;
    std::string error;
    ASSERT_TRUE(parseMeshText(kTwoFrames, mesh, error)) << error;
    EXPECT_EQ(mesh.vertexCount(), 3);
    ASSERT_EQ(mesh.frames.size(), 2u);
    EXPECT_FLOAT_EQ(mesh.frames[1].time, 2.5f);

    std::vector<uint8_t> expected = {'m', 's', 'h', '1'};
    append(expected, {3, 0, 2500, 10000, 0, 5000, 10000, 2});
    append(expected, {0, 10000, 20000, 30000, -15000, 0, 0, 0, 0, 1});
    expected.insert(expected.end(), {127, 0, 0, 0, 0x81, 0, 0, 0, 64});
    append(expected, {25000, 10000, 20000, 40000, -15000, 0, 10000, 0, 0, 10000});
    expected.insert(expected.end(), {0, 0, 127, 0, 0, 127, 0, 0, 0x81});
    EXPECT_EQ(encodeMesh(mesh), expected);
}

TEST(MeshPack, WrittenFilesLoadInTheGame) {
    ScratchDir scratch;
    MeshSource source;
    std::string error;
    ASSERT_TRUE(parseMeshText(kTwoFrames, source, error));
    const std::string path = scratch.file("40.dat");
    ASSERT_TRUE(writeMeshResource(path, source, error)) << error;

    std::vector<uint8_t> stored = readWholeFile(path);
    unscrambleResource(stored.data(), stored.size());
    EXPECT_EQ(stored, encodeMesh(source));

    Mesh mesh;
    ASSERT_TRUE(mesh.load(path));
    EXPECT_EQ(mesh.vertexCount(), 3);
    EXPECT_FLOAT_EQ(mesh.duration(), 2.5f);
    EXPECT_FLOAT_EQ(mesh.texCoords()[1], 0.75f);
    const Vec3 halfWay = vertexPosition(mesh, 1, 1.25f);
    EXPECT_FLOAT_EQ(halfWay.x, -1.5f);
    EXPECT_FLOAT_EQ(halfWay.z, 0.5f);

    EXPECT_FALSE(writeMeshResource(scratch.file("no/such/dir.dat"), source, error));
    EXPECT_NE(error.find("no/such/dir.dat"), std::string::npos);
}

TEST(MeshPack, MistakesAreReportedWithTheirLine) {
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"uv 0 0\n", "line 1:"},
        {"vertices 4\n", "line 1:"},
        {"vertices 0\n", "line 1:"},
        {"vertices 3x\n", "line 1:"},
        {"vertices 3\nvertices 3\n", "line 2:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nframe 0\n", "line 4:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nuv 0 0\n", "line 5:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nv 0 0 0 1 0 0\n", "line 5:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nframe 0\nv 0 0 0 1 0\n", "line 6:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0,5 0\n", "line 4:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nframe 0\nv 0 0 0 1 0 0\nframe 1\n", "line 7:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nframe 0\nv 0 0 0 1 0 0\nv 0 0 0 1 0 0\n", "line 8:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\n", "line 5:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nframe 0\nv 0 0 0 1 0 0\nv 0 0 0 1 0 0\nv 0 0 0 1 0 0\n"
         "v 0 0 0 1 0 0\n",
         "line 9:"},
        {"vertices 3\nuv 0 0\nuv 0 0\nuv 0 0\nframe 0\nv 0 0 0 1 0 0\nv 0 0 0 1 0 0\nv 0 0 0 1 0 0\n"
         "scale 2\n",
         "line 9:"},
        {"", "line 1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        MeshSource mesh;
        std::string error;
        EXPECT_FALSE(parseMeshText(c.text, mesh, error));
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
    }
}

TEST(MeshPack, ValuesTheFileCannotHoldAreRefused) {
    MeshSource good;
    std::string error;
    ASSERT_TRUE(parseMeshText(kTwoFrames, good, error));
    ASSERT_TRUE(checkMeshSource(good, error));

    MeshSource bad = good;
    bad.frames[1].time = -1;
    EXPECT_FALSE(checkMeshSource(bad, error));
    bad = good;
    bad.frames[0].time = 3;
    EXPECT_FALSE(checkMeshSource(bad, error));
    EXPECT_NE(error.find("previous"), std::string::npos);
    bad = good;
    bad.frames[0].normals[4] = 1.5f;
    EXPECT_FALSE(checkMeshSource(bad, error));
    bad = good;
    bad.frames[1].positions[0] = 300000;
    EXPECT_FALSE(checkMeshSource(bad, error));
    bad = good;
    bad.texCoords[3] = NAN;
    EXPECT_FALSE(checkMeshSource(bad, error));
    bad = good;
    bad.frames[1].positions.pop_back();
    EXPECT_FALSE(checkMeshSource(bad, error));
    bad = good;
    bad.frames.clear();
    EXPECT_FALSE(checkMeshSource(bad, error));
    EXPECT_FALSE(writeMeshResource("never-written.dat", bad, error));
    EXPECT_TRUE(readWholeFile("never-written.dat").empty());
}

TEST(MeshPack, TheToolPacksATextFile) {
    // The test binaries sit at the top of the build tree, beside the tools folder.
    const char* buildDir = getenv("TAVOK_BUILD_DIR");
    const std::string build = buildDir != nullptr
                                  ? buildDir
                                  : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string tool = build + "/tools/meshpack/meshpack";
    ASSERT_TRUE(std::filesystem::exists(tool)) << tool;
    ScratchDir scratch;
    const std::string text = scratch.file("triangle.txt");
    const std::string output = scratch.file("7.dat");
    const std::string kept = scratch.file("kept.txt");
    ASSERT_TRUE(writeWholeFile(text, std::vector<uint8_t>(kTwoFrames, kTwoFrames + strlen(kTwoFrames))));
    ASSERT_EQ(std::system((tool + " " + text + " " + output).c_str()), 0);
    Mesh mesh;
    EXPECT_TRUE(mesh.load(output));
    EXPECT_EQ(mesh.frameCount(), 2);

    const std::string broken = "vertices 3\nuv 0 0\n";
    ASSERT_TRUE(writeWholeFile(text, std::vector<uint8_t>(broken.begin(), broken.end())));
    EXPECT_NE(std::system((tool + " " + text + " " + scratch.file("8.dat") + " 2>" + kept).c_str()), 0);
    EXPECT_TRUE(readWholeFile(scratch.file("8.dat")).empty());
    const std::vector<uint8_t> message = readWholeFile(kept);
    EXPECT_NE(std::string(message.begin(), message.end()).find("line 3"), std::string::npos);
    EXPECT_NE(std::system((tool + " " + text).c_str()), 0);
}
