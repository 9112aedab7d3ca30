// Mesh: a keyframe-animated triangle mesh read from a mesh resource file. Every three consecutive
// vertices form one triangle; texture coordinates are shared by all frames, and each keyframe holds a
// time, a position and a normal per vertex. A pose between two keys is their linear blend; a mesh with a
// single frame is compiled once into a display list.
//
// The file ("msh" version "1", all integers 32-bit little-endian, fixed point = integer x 0.0001):
//   "msh" "1", n (vertex count, a positive multiple of 3), 2n integers s, t (t stored as 1 - t),
//   F (frame count, > 0), then F frames: time (never below the previous frame's), 3n integers x, y, z,
//   3n signed bytes for the normal components (value / 127).
#pragma once

#include <string>
#include <vector>

#include "render/vec3.h"

class MemoryReader;

class Mesh {
public:
    Mesh() = default;
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Replaces the content with the mesh in the resource file at path; on failure the mesh is empty.
    bool load(const std::string& path);
    // Frees everything: the mesh is empty afterwards.
    void reset();

    // Draws the pose at time held between the first and the last key; the last key's time wraps round
    // to the start of the cycle.
    void draw(float time);
    // Draws the pose at time wrapped into one animation cycle.
    void drawLooped(float time);
    // Computes the pose at exactly this time (no clamping or wrapping) without drawing.
    void setTime(bool withNormals, float time);
    // Pose = (1 - weight) x other at otherTime + weight x this mesh at thisTime, each time wrapped by
    // its own mesh's cycle. Does nothing unless both meshes have the same, non-zero vertex count.
    void blendWith(float thisTime, float otherTime, const Mesh& other, float weight);
    // blendWith, then draws the result; nothing for an empty mesh or a different vertex count.
    void drawBlended(float thisTime, float otherTime, const Mesh& other, float weight);

    // The last key time; 0 for a mesh of fewer than two frames.
    float duration() const;
    int vertexCount() const { return vertexCount_; }
    int frameCount() const { return frameCount_; }
    unsigned displayList() const { return displayList_; }
    // The pose drawing uses: 3 floats per vertex each.
    const float* currentPositions() const { return currentPositions_.data(); }
    const float* currentNormals() const { return currentNormals_.data(); }
    // 2 floats per vertex.
    const float* texCoords() const { return texCoords_.data(); }

private:
    friend Vec3 vertexPosition(const Mesh& mesh, int index, float time);

    bool parse(MemoryReader& reader);
    float wrapIntoCycle(float time) const;
    // The two keys a time falls between and the weight of the second.
    void keyPair(float time, int& a, int& b, float& w) const;
    void computePose(float time, bool withNormals);
    void showPose(float time);
    void drawArrays() const;

    int frameCount_ = 0;
    int vertexCount_ = 0;
    std::vector<float> frameTimes_;
    std::vector<float> framePositions_; // frameCount x 3n
    std::vector<float> frameNormals_;   // frameCount x 3n
    std::vector<float> texCoords_;      // 2n
    std::vector<float> currentPositions_;
    std::vector<float> currentNormals_;
    float cachedTime_ = -1.0f;
    unsigned displayList_ = 0;
};

// Position of one vertex at time wrapped into the mesh's cycle; (0, 0, 0) for an index outside the mesh.
// The mesh's current pose is left alone.
Vec3 vertexPosition(const Mesh& mesh, int index, float time);
// (1 - weight) x vertexPosition(meshB, index, timeB) + weight x vertexPosition(meshA, index, timeA).
Vec3 vertexPositionBlended(const Mesh& meshA, int index, float timeA, float timeB, const Mesh& meshB,
                           float weight);
