// Fuzz target: the texture load path, decode and upload. The fuzzer's bytes are the unscrambled image
// file, so SDL_image decodes exactly them and the game's conversion and upload run on whatever it made.
#include <SDL/SDL_opengl.h>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "render/texture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    require(openFuzzGlWindow());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzScratchFile("texture.dat");
    require(writeScrambledInput(path, data, size));
    Texture texture;
    if (!texture.load(path)) {
        require(texture.name() == 0 && texture.alphaMode() == Texture::kOpaque);
        texture.bind();
        require(!glIsEnabled(GL_TEXTURE_2D));
        return 0;
    }
    require(texture.alphaMode() >= Texture::kOpaque && texture.alphaMode() <= Texture::kTranslucent);
    if (texture.name() != 0) {
        texture.bind();
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        require(width > 0 && height > 0);
        texture.setFilterLinear();
    }
    unbindTexture();
    // A second load on the same object replaces (and frees) the first picture.
    require(texture.load(path) || texture.name() == 0);
    return 0;
}
