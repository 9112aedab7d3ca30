// Mesh loading. Until the mesh format reader lands, every mesh stays empty.
#include "render/mesh.h"

Mesh::~Mesh() { reset(); }

void Mesh::reset() {
    frameCount_ = 0;
    vertexCount_ = 0;
}

bool Mesh::load(const std::string& path) {
    reset();
    (void)path;
    return false;
}
