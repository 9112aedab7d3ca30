// Fuzz target: the mesh loader. The fuzzer's bytes are the unscrambled mesh file; a file that loads
// must describe a mesh that can be sampled and drawn, one that does not must leave the mesh empty.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "render/mesh.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A single-frame mesh is compiled into a display list, which needs a current GL context.
    require(openFuzzGlWindow());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzScratchFile("mesh.dat");
    require(writeScrambledInput(path, data, size));
    Mesh mesh;
    if (!mesh.load(path)) {
        require(mesh.vertexCount() == 0 && mesh.frameCount() == 0 && mesh.displayList() == 0);
        mesh.draw(0.5f);
        return 0;
    }
    require(mesh.vertexCount() > 0 && mesh.vertexCount() % 3 == 0 && mesh.frameCount() > 0);
    const float length = mesh.duration();
    require(length >= 0.0f);
    for (float time : {0.0f, 0.3f, length * 0.5f, length, length + 1.0f, -2.5f}) {
        mesh.draw(time);
        mesh.drawLooped(time);
        const Vec3 first = vertexPosition(mesh, 0, time);
        const Vec3 outside = vertexPosition(mesh, mesh.vertexCount(), time);
        require(outside.x == 0.0f && outside.y == 0.0f && outside.z == 0.0f);
        (void)first;
    }
    mesh.setTime(true, length * 0.25f);
    mesh.drawBlended(0.1f, 0.2f, mesh, 0.5f);
    mesh.reset();
    require(mesh.vertexCount() == 0 && mesh.displayList() == 0);
    return 0;
}
