// Texture: one OpenGL 2D texture made from one image resource file, with the way its alpha must be
// drawn. The resource manager creates, keeps and destroys the game's textures; drawing binds them.
#pragma once

#include <cstdint>
#include <string>

class PicturePrefetch;

class Texture {
public:
    enum AlphaMode { kOpaque = 0, kCutOut = 1, kTranslucent = 2 };
    // The widest and tallest picture load accepts. The game's own are far smaller (a few dozen pixels);
    // anything larger is refused from the file's header, before it is decoded.
    static constexpr int kLargestPictureSide = 4096;

    Texture() = default;
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Replaces the content with the PNG picture stored in the resource file at path (other formats are
    // refused). True when an image was decoded; on failure the texture is left empty (name 0), and
    // binding it draws untextured. With ahead given, a picture it decoded ahead for path is taken from
    // it; anything it declines is decoded here, so the result is the same either way.
    bool load(const std::string& path, PicturePrefetch* ahead = nullptr);

    // Minification linear, magnification nearest (the state load leaves). No effect when empty.
    void setFilterLinearNearest();
    // Minification and magnification linear, for pictures that must look smooth when enlarged.
    void setFilterLinear();
    // Makes this texture current for the following drawing, with the alpha test or blending it needs.
    void bind();

    unsigned name() const { return name_; }
    int alphaMode() const { return alphaMode_; }

private:
    void release();
    // Makes the GL texture from R,G,B or R,G,B,A bytes, rows from the top, pitch bytes apart.
    bool upload(const uint8_t* pixels, int width, int height, int bytesPerPixel, int pitch);

    unsigned name_ = 0;
    int alphaMode_ = kOpaque;
};

// Drawing without texture from here on.
void unbindTexture();
// Sphere-mapped texture coordinates on or off.
void setSphereMapping(bool on);
