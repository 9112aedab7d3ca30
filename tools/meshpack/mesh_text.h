// The mesh packer's work: reading a mesh written as plain text and encoding it as a mesh resource
// payload ("msh" version "1"). The text format is described at the top of mesh_text.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MeshKeyframe {
    float time = 0.0f;
    std::vector<float> positions; // x, y, z per vertex
    std::vector<float> normals;   // x, y, z per vertex, components in -1..1
};

struct MeshSource {
    std::vector<float> texCoords; // s, t per vertex, t counted from the image's bottom row
    std::vector<MeshKeyframe> frames;

    int vertexCount() const { return static_cast<int>(texCoords.size() / 2); }
};

// Parses the text; on failure returns false with a message naming the line.
bool parseMeshText(const std::string& text, MeshSource& mesh, std::string& error);
// Checks the counts, times and value ranges the file format can hold; false with a message otherwise.
bool checkMeshSource(const MeshSource& mesh, std::string& error);
// The unscrambled file contents. The mesh must have passed checkMeshSource.
std::vector<uint8_t> encodeMesh(const MeshSource& mesh);
// Checks, encodes, scrambles and writes a resource file; false with a message on any failure.
bool writeMeshResource(const std::string& path, const MeshSource& mesh, std::string& error);
