// Mesh files: loading what the mesh packer writes, refusing damaged or hostile files, keyframe
// sampling, blending and drawing on a real GL window.
#include "render/mesh.h"

#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "render/camera.h"
#include "render/render_state.h"
#include "tests/render/allocation_probe.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/scratch_files.h"
#include "tools/meshpack/mesh_text.h"

namespace {
// One triangle in the plane x = depth, facing -X (toward an eye at the origin looking along +X),
// shifted sideways by `shift` along Y; normals along -X scaled by `normal`.
MeshKeyframe triangleFrame(float time, float shift, float depth = 5, float normal = -1) {
    MeshKeyframe frame;
    frame.time = time;
    frame.positions = {depth, 1 + shift, -1, depth, -1 + shift, -1, depth, shift, 1};
    frame.normals = {normal, 0, 0, normal, 0, 0, normal, 0, 0};
    return frame;
}

MeshSource triangleMesh(std::initializer_list<MeshKeyframe> frames) {
    MeshSource mesh;
    mesh.texCoords = {0, 0.25f, 1, 0, 0.5f, 1};
    mesh.frames = frames;
    return mesh;
}

class MeshFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const MeshSource& source) {
        return writeBytes(name, encodeMesh(source));
    }
    std::string writeBytes(const std::string& name, const std::vector<uint8_t>& payload) {
        const std::string path = scratch.file(name);
        EXPECT_TRUE(writeScrambledFile(path, payload));
        return path;
    }
    static void expectEmpty(const Mesh& mesh) {
        EXPECT_EQ(mesh.vertexCount(), 0);
        EXPECT_EQ(mesh.frameCount(), 0);
        EXPECT_EQ(mesh.displayList(), 0u);
        EXPECT_EQ(mesh.currentPositions(), nullptr);
    }
    static void putInt32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
        }
    }

    ScratchDir scratch;
};

void expectPosition(const Vec3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-4f);
    EXPECT_NEAR(v.y, y, 1e-4f);
    EXPECT_NEAR(v.z, z, 1e-4f);
}

// The Y coordinate of vertex 0 in the current pose (1 + shift for the triangle frames above).
float currentShift(const Mesh& mesh) {
    return mesh.currentPositions()[1] - 1;
}
} // namespace

TEST_F(MeshFiles, LoadsWhatThePackerWrote) {
    MeshSource source = triangleMesh({triangleFrame(0, 0, 5, 0.5f), triangleFrame(1.5f, -2.25f)});
    source.frames[1].positions[8] = -12345.6789f;
    Mesh mesh;
    ASSERT_TRUE(mesh.load(write("1.dat", source)));
    EXPECT_EQ(mesh.vertexCount(), 3);
    EXPECT_EQ(mesh.frameCount(), 2);
    EXPECT_FLOAT_EQ(mesh.duration(), 1.5f);
    EXPECT_EQ(mesh.displayList(), 0u);
    // t is stored flipped: the stored 2500 of the first vertex reads as 0.75.
    EXPECT_FLOAT_EQ(mesh.texCoords()[0], 0);
    EXPECT_FLOAT_EQ(mesh.texCoords()[1], 0.75f);
    EXPECT_FLOAT_EQ(mesh.texCoords()[3], 1);
    EXPECT_FLOAT_EQ(mesh.texCoords()[4], 0.5f);
    // The current pose starts as frame 0; normals come back as byte / 127.
    EXPECT_FLOAT_EQ(mesh.currentPositions()[0], 5);
    EXPECT_FLOAT_EQ(mesh.currentPositions()[4], -1);
    EXPECT_FLOAT_EQ(mesh.currentNormals()[0], 64.0f / 127.0f);
    // Held at the last key, the pose is the last frame exactly.
    mesh.setTime(true, 1.5f);
    EXPECT_FLOAT_EQ(mesh.currentPositions()[7], -2.25f);
    EXPECT_NEAR(mesh.currentPositions()[8], -12345.6789f, 2e-3f);
    EXPECT_FLOAT_EQ(mesh.currentNormals()[0], -1);

    // Bytes after the last frame are ignored.
    std::vector<uint8_t> bytes = encodeMesh(source);
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    ASSERT_TRUE(mesh.load(writeBytes("2.dat", bytes)));
    EXPECT_EQ(mesh.frameCount(), 2);

    mesh.reset();
    expectEmpty(mesh);
    EXPECT_FLOAT_EQ(mesh.duration(), 0);
}

TEST_F(MeshFiles, BadHeadersCountsAndTimesLeaveAnEmptyMesh) {
    const std::vector<uint8_t> good = encodeMesh(triangleMesh({triangleFrame(0.5f, 0), triangleFrame(1, 1)}));
    const size_t countAt = 4;
    const size_t framesAt = 8 + 8 * 3;
    const size_t firstTimeAt = framesAt + 4;
    const size_t secondTimeAt = firstTimeAt + 4 + 15 * 3;

    std::vector<std::vector<uint8_t>> bad;
    bad.push_back(good);
    bad.back()[0] = 'M';
    bad.push_back(good);
    bad.back()[3] = '2';
    for (int32_t n : {0, 4, -3, 6}) {
        bad.push_back(good);
        putInt32(bad.back(), countAt, n);
    }
    for (int32_t frames : {0, -1, 3}) {
        bad.push_back(good);
        putInt32(bad.back(), framesAt, frames);
    }
    bad.push_back(good);
    putInt32(bad.back(), firstTimeAt, -1);
    bad.push_back(good);
    putInt32(bad.back(), secondTimeAt, 4999);

    Mesh mesh;
    for (size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        ASSERT_TRUE(mesh.load(writeBytes("good.dat", good)));
        EXPECT_FALSE(mesh.load(writeBytes("bad.dat", bad[i])));
        expectEmpty(mesh);
    }
    // Equal times are allowed; a first time of 0 too.
    std::vector<uint8_t> equal = good;
    putInt32(equal, secondTimeAt, 5000);
    EXPECT_TRUE(mesh.load(writeBytes("equal.dat", equal)));
    putInt32(equal, firstTimeAt, 0);
    EXPECT_TRUE(mesh.load(writeBytes("equal.dat", equal)));

    EXPECT_FALSE(mesh.load(scratch.file("missing.dat")));
    expectEmpty(mesh);
    EXPECT_FALSE(mesh.load(""));
    expectEmpty(mesh);
}

TEST_F(MeshFiles, AFileCutShortAnywhereFails) {
    const std::vector<uint8_t> whole =
        encodeMesh(triangleMesh({triangleFrame(0, 0), triangleFrame(1, 1), triangleFrame(2, 2)}));
    Mesh mesh;
    ASSERT_TRUE(mesh.load(writeBytes("whole.dat", whole)));
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
        EXPECT_FALSE(mesh.load(writeBytes("cut.dat", cut)));
        expectEmpty(mesh);
    }
}

TEST_F(MeshFiles, HugeClaimedCountsFailWithoutAllocatingThem) {
    Mesh mesh;
    std::vector<uint8_t> header = {'m', 's', 'h', '1', 0, 0, 0, 0};
    // Millions of vertices claimed by a 20-byte file; then counts whose byte sizes overflow 32 bits
    // (8 x 536870913 wraps to 8, 15 x 286331154 + 4 wraps to 14).
    for (int32_t n : {3000000, 999999999, 536870913, 286331154, 2147483646}) {
        SCOPED_TRACE("n " + std::to_string(n));
        std::vector<uint8_t> bytes = header;
        putInt32(bytes, 4, n);
        bytes.resize(20, 0);
        resetLargestAllocation();
        EXPECT_FALSE(mesh.load(writeBytes("huge.dat", bytes)));
        expectEmpty(mesh);
        EXPECT_LT(largestAllocation(), 4096u);
    }
    // A sound vertex block followed by a frame count no file of this size can hold.
    std::vector<uint8_t> bytes = encodeMesh(triangleMesh({triangleFrame(0, 0)}));
    for (int32_t frames : {2147483647, 1000000, 2}) {
        SCOPED_TRACE("frames " + std::to_string(frames));
        putInt32(bytes, 8 + 8 * 3, frames);
        resetLargestAllocation();
        EXPECT_FALSE(mesh.load(writeBytes("huge.dat", bytes)));
        expectEmpty(mesh);
        EXPECT_LT(largestAllocation(), 4096u);
    }
}

TEST_F(MeshFiles, SamplingBetweenKeysBeforeTheFirstAndPastTheEnd) {
    REQUIRE_GL_WINDOW(64, 64);
    // Keys at 0, 1 and 2 with the triangle shifted by 0, 10 and 20.
    Mesh mesh;
    ASSERT_TRUE(mesh.load(
        write("1.dat", triangleMesh({triangleFrame(0, 0), triangleFrame(1, 10), triangleFrame(2, 20)}))));
    // Each pair is a time to draw at and the shift drawn.
    using Samples = std::vector<std::pair<float, float>>;
    for (const auto& [time, shift] : Samples{{0.5f, 5}, {1.75f, 17.5f}, {2.5f, 5}, {-0.5f, 15}}) {
        mesh.drawLooped(time);
        EXPECT_FLOAT_EQ(currentShift(mesh), shift) << "drawLooped(" << time << ")";
    }
    // draw holds the time within the keys; at or past the end it wraps to the cycle start.
    for (const auto& [time, shift] : Samples{{5, 0}, {1.5f, 15}, {-3, 0}}) {
        mesh.draw(time);
        EXPECT_FLOAT_EQ(currentShift(mesh), shift) << "draw(" << time << ")";
    }
    // setTime neither holds nor wraps: past the end stays on the last frame.
    mesh.setTime(true, 7);
    EXPECT_FLOAT_EQ(currentShift(mesh), 20);
    mesh.setTime(false, 0.25f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 2.5f);
    // After setTime the next draw must still show its own time.
    mesh.drawLooped(0.5f);
    mesh.setTime(true, 1);
    mesh.drawLooped(0.5f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 5);
    expectPosition(vertexPosition(mesh, 1, 2.5f), 5, 4, -1);
    EXPECT_FLOAT_EQ(currentShift(mesh), 5);

    // Keys at 1 and 2: before the first key the pose runs from the last frame (at time 0) to the first.
    ASSERT_TRUE(mesh.load(write("2.dat", triangleMesh({triangleFrame(1, 10), triangleFrame(2, 20)}))));
    mesh.drawLooped(0.5f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 15);
    mesh.setTime(true, 0);
    EXPECT_FLOAT_EQ(currentShift(mesh), 20);
    mesh.draw(0.5f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 10);
    expectPosition(vertexPosition(mesh, 0, 0.25f), 5, 18.5f, -1);

    // Equal neighbouring keys: at their shared time the earlier pose shows, just after it the later.
    ASSERT_TRUE(mesh.load(write("3.dat", triangleMesh({triangleFrame(0, 0), triangleFrame(1, 10),
                                                       triangleFrame(1, 30), triangleFrame(2, 40)}))));
    mesh.drawLooped(0.5f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 5);
    mesh.drawLooped(1.5f);
    EXPECT_FLOAT_EQ(currentShift(mesh), 35);
    expectPosition(vertexPosition(mesh, 0, 1), 5, 11, -1);
    expectPosition(vertexPosition(mesh, 0, 1.01f), 5, 31.1f, -1);
}

TEST_F(MeshFiles, BlendingMixesTwoMeshesOfTheSameSize) {
    REQUIRE_GL_WINDOW(64, 64);
    Mesh walk;
    Mesh run;
    ASSERT_TRUE(walk.load(write("walk.dat", triangleMesh({triangleFrame(0, 0), triangleFrame(2, 20)}))));
    ASSERT_TRUE(
        run.load(write("run.dat", triangleMesh({triangleFrame(0, 100, 5, 1), triangleFrame(1, 200)}))));
    // walk at 1 (shift 10) x 0.25 + run at 1.5, wrapped to 0.5 (shift 150) x 0.75.
    walk.blendWith(1, 1.5f, run, 0.25f);
    EXPECT_FLOAT_EQ(currentShift(walk), 115);
    // Normals blend without renormalising: walk -1 x 0.25 + run (1 + -1) / 2 x 0.75.
    EXPECT_FLOAT_EQ(walk.currentNormals()[0], -0.25f);
    expectPosition(vertexPositionBlended(walk, 0, 1, 1.5f, run, 0.25f), 5, 116, -1);
    // A blended pose is recomputed by the next plain draw, even at the time drawn before.
    walk.drawLooped(1);
    EXPECT_FLOAT_EQ(currentShift(walk), 10);
    walk.drawBlended(1, 1.5f, run, 0.25f);
    EXPECT_FLOAT_EQ(currentShift(walk), 115);
    walk.drawLooped(1);
    EXPECT_FLOAT_EQ(currentShift(walk), 10);

    // Meshes of different sizes do not blend and draw nothing.
    MeshSource six = triangleMesh({triangleFrame(0, 0)});
    six.texCoords.insert(six.texCoords.end(), {0, 0, 0, 0, 0, 0});
    six.frames[0].positions.insert(six.frames[0].positions.end(), 9, 1.0f);
    six.frames[0].normals.insert(six.frames[0].normals.end(), 9, 0.0f);
    Mesh bigger;
    ASSERT_TRUE(bigger.load(write("six.dat", six)));
    walk.blendWith(1, 0, bigger, 0.5f);
    EXPECT_FLOAT_EQ(currentShift(walk), 10);
    walk.drawBlended(1, 0, bigger, 0.5f);
    EXPECT_FLOAT_EQ(currentShift(walk), 10);
    Mesh empty;
    empty.drawBlended(0, 0, empty, 0.5f);
    empty.draw(1);
    empty.drawLooped(1);
    empty.setTime(true, 1);
    EXPECT_EQ(empty.currentPositions(), nullptr);

    // vertexPosition outside the mesh is the origin; in a blend such a term adds nothing.
    expectPosition(vertexPosition(walk, 3, 0), 0, 0, 0);
    expectPosition(vertexPosition(walk, -1, 0), 0, 0, 0);
    expectPosition(vertexPosition(empty, 0, 0), 0, 0, 0);
    expectPosition(vertexPositionBlended(bigger, 4, 0, 0, walk, 0.5f), 0.5f, 0.5f, 0.5f);
}

TEST_F(MeshFiles, ATriangleDrawsThroughTheCamera) {
    const int width = 160;
    const int height = 90;
    REQUIRE_GL_WINDOW(width, height);
    Mesh mesh;
    ASSERT_TRUE(mesh.load(write("1.dat", triangleMesh({triangleFrame(0, 0), triangleFrame(2, 2)}))));
    Camera camera;
    camera.apply(true);
    setFlatColour(1, 1, 1, 1);
    mesh.draw(0);
    // At distance 5 one unit is 16 pixels: the triangle's base runs 64..96 at row 29, its tip at row 61.
    const Rgba white = {255, 255, 255, 255};
    const int covered = countPixels(0, 0, width, height, white);
    EXPECT_GT(covered, 470);
    EXPECT_LT(covered, 560);
    EXPECT_EQ(readPixel(80, 35).r, 255);
    EXPECT_EQ(readPixel(80, 58).r, 255);
    EXPECT_EQ(readPixel(66, 58).r, 0);
    EXPECT_EQ(readPixel(80, 25).r, 0);
    // Half way through, the triangle has moved one unit toward +Y, which is to the left.
    camera.apply(true);
    mesh.draw(1);
    EXPECT_EQ(readPixel(64, 35).r, 255);
    EXPECT_EQ(readPixel(92, 35).r, 0);
    EXPECT_EQ(countPixels(0, 0, width, height, white), covered);
}

TEST_F(MeshFiles, ASingleFrameMeshDrawsFromItsDisplayList) {
    const int width = 160;
    const int height = 90;
    REQUIRE_GL_WINDOW(width, height);
    Mesh mesh;
    ASSERT_TRUE(mesh.load(write("1.dat", triangleMesh({triangleFrame(0.5f, 0)}))));
    const unsigned list = mesh.displayList();
    ASSERT_NE(list, 0u);
    EXPECT_TRUE(glIsList(list));
    EXPECT_FLOAT_EQ(mesh.duration(), 0);

    // Blend the current pose far to the side: drawing still shows the compiled pose, and puts frame 0
    // back into the current arrays.
    Mesh aside;
    ASSERT_TRUE(aside.load(write("2.dat", triangleMesh({triangleFrame(0, 2)}))));
    mesh.blendWith(0, 0, aside, 0);
    EXPECT_FLOAT_EQ(currentShift(mesh), 2);
    Camera camera;
    camera.apply(true);
    setFlatColour(1, 1, 1, 1);
    mesh.draw(3);
    EXPECT_EQ(readPixel(80, 35).r, 255);
    EXPECT_EQ(readPixel(50, 35).r, 0);
    EXPECT_FLOAT_EQ(currentShift(mesh), 0);
    mesh.blendWith(0, 0, aside, 0);
    camera.apply(true);
    mesh.drawLooped(7);
    EXPECT_EQ(readPixel(80, 35).r, 255);
    EXPECT_EQ(readPixel(50, 35).r, 0);

    mesh.reset();
    EXPECT_FALSE(glIsList(list));
    expectEmpty(mesh);
}
