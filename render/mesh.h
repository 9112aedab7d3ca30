// Mesh: a keyframe-animated triangle mesh loaded from a mesh resource file.
#pragma once

#include <string>

class Mesh {
public:
    Mesh() = default;
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Replaces the content with the mesh in the resource file at path; on failure the mesh is empty.
    bool load(const std::string& path);
    void reset();

    int vertexCount() const { return vertexCount_; }
    int frameCount() const { return frameCount_; }

private:
    int frameCount_ = 0;
    int vertexCount_ = 0;
};
