// meshpack INPUT.txt OUTPUT.dat: packs a mesh written as text (format in mesh_text.cpp) into a scrambled
// mesh resource file, such as res/40.dat.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/meshpack/mesh_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: meshpack INPUT.txt OUTPUT.dat\n");
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        fprintf(stderr, "meshpack: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << input.rdbuf();
    MeshSource mesh;
    std::string error;
    if (!parseMeshText(text.str(), mesh, error) || !writeMeshResource(argv[2], mesh, error)) {
        fprintf(stderr, "meshpack: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
