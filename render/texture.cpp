// Textures from image resource files, and the part of the blending decision that belongs to them.
#include "render/texture.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "render/render_state.h"
#include "resources/resource_file.h"

namespace {
// Frees the decoded picture on every road out of load.
struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePointer = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Masks that put R, G, B(, A) at byte offsets 0, 1, 2(, 3) of each pixel: the order OpenGL reads.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
const Uint32 kRedMask = 0x000000FF, kGreenMask = 0x0000FF00, kBlueMask = 0x00FF0000, kAlphaMask = 0xFF000000;
const Uint32 kRed24 = 0x0000FF, kGreen24 = 0x00FF00, kBlue24 = 0xFF0000;
#else
const Uint32 kRedMask = 0xFF000000, kGreenMask = 0x00FF0000, kBlueMask = 0x0000FF00, kAlphaMask = 0x000000FF;
const Uint32 kRed24 = 0xFF0000, kGreen24 = 0x00FF00, kBlue24 = 0x0000FF;
#endif

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t big32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// The game ships PNG pictures only, so only PNG reaches SDL_image: its readers of other formats (XCF,
// TGA, PCX, BMP and the rest) read past their buffers and use uninitialised memory on small damaged
// files. And a PNG must open with its IHDR chunk, which gives the size checked before decoding.
bool pngSize(const uint8_t* bytes, size_t length, uint32_t* width, uint32_t* height) {
    if (length < 33 || std::memcmp(bytes, kPngSignature, 8) != 0 || big32(bytes + 8) != 13 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return false;
    }
    *width = big32(bytes + 16);
    *height = big32(bytes + 20);
    return true;
}

// SDL_image's reader never reports a short read, so libpng takes stale bytes for whatever a chunk claims
// beyond the end of the file, and can go on for ever. A PNG is therefore decoded only when every chunk
// up to IEND lies within the file.
bool pngChunksFit(const uint8_t* bytes, size_t length) {
    size_t at = 8;
    while (length - at >= 12) {
        const uint32_t size = big32(bytes + at);
        if (size > length - at - 12) {
            return false;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += 12 + size;
    }
    return false;
}

SurfacePointer decodeImage(const std::string& path) {
    size_t length = 0;
    uint8_t* bytes = readResourceFile(path, &length);
    if (bytes == nullptr) {
        return nullptr;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    // The decoded picture is width x height x 4 bytes however small the file: a 1 MB file can ask for
    // gigabytes, so the size is refused from the header alone.
    const uint32_t largest = static_cast<uint32_t>(Texture::kLargestPictureSide);
    if (!pngSize(bytes, length, &width, &height) || width == 0 || height == 0 || width > largest ||
        height > largest || !pngChunksFit(bytes, length)) {
        free(bytes);
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromMem(bytes, static_cast<int>(length));
    SurfacePointer image(stream != nullptr ? IMG_LoadPNG_RW(stream) : nullptr);
    if (stream != nullptr) {
        SDL_RWclose(stream);
    }
    free(bytes);
    return image;
}

// SDL 1.2's BMP reader kept only the low byte of a bit count it did not check, and handed back a
// surface whose format contradicted itself (225 bytes per pixel at 1 bit, no palette); SDL's converter
// crashes on such a surface. No BMP reaches SDL_image any more, but no decoder's surface is trusted.
bool isConsistent(const SDL_Surface* image) {
    const SDL_PixelFormat* f = image->format;
    if (f == nullptr || f->BytesPerPixel < 1 || f->BytesPerPixel > 4) {
        return false;
    }
    if (f->BitsPerPixel <= 8) {
        return f->BytesPerPixel == 1 && f->palette != nullptr && f->palette->ncolors > 0;
    }
    return (f->BitsPerPixel + 7) / 8 == f->BytesPerPixel && image->pitch >= image->w * f->BytesPerPixel;
}

bool isGlReady(const SDL_Surface* image) {
    const SDL_PixelFormat* f = image->format;
    if (f->palette != nullptr || (image->flags & SDL_SRCCOLORKEY) != 0) {
        return false;
    }
    if (f->BytesPerPixel == 4) {
        return f->Rmask == kRedMask && f->Gmask == kGreenMask && f->Bmask == kBlueMask &&
               f->Amask == kAlphaMask;
    }
    return f->BytesPerPixel == 3 && f->Rmask == kRed24 && f->Gmask == kGreen24 && f->Bmask == kBlue24;
}

#ifdef __EMSCRIPTEN__
// The browser's SDL decodes every picture into R,G,B,A bytes without a colour key, which is already the
// layout OpenGL reads; its surfaces lack the fields a conversion needs.
SDL_Surface* toGlLayout(SDL_Surface*) {
    return nullptr;
}
#else
Uint32 rawPixel(const SDL_Surface* image, int x, int y) {
    const int bpp = image->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(image->pixels) + y * image->pitch + x * bpp;
    switch (bpp) {
    case 1:
        return *p;
    case 2:
        return *reinterpret_cast<const Uint16*>(p);
    case 3:
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
        return p[0] | p[1] << 8 | p[2] << 16;
#else
        return p[0] << 16 | p[1] << 8 | p[2];
#endif
    default:
        return *reinterpret_cast<const Uint32*>(p);
    }
}

// Palette, grey, 16-bit and BGR-ordered images become R,G,B or R,G,B,A bytes. An image with a colour key
// instead of an alpha channel becomes R,G,B,A with the keyed colour fully transparent. Null when SDL
// cannot make the copy.
SDL_Surface* toGlLayout(SDL_Surface* image) {
    const bool keyed = (image->flags & SDL_SRCCOLORKEY) != 0;
    const Uint32 key = image->format->colorkey;
    const bool hasAlpha = image->format->Amask != 0;
    const bool wantAlpha = hasAlpha || keyed;
    SDL_PixelFormat target = {};
    target.BitsPerPixel = wantAlpha ? 32 : 24;
    target.BytesPerPixel = wantAlpha ? 4 : 3;
    target.Rmask = wantAlpha ? kRedMask : kRed24;
    target.Gmask = wantAlpha ? kGreenMask : kGreen24;
    target.Bmask = wantAlpha ? kBlueMask : kBlue24;
    target.Amask = wantAlpha ? kAlphaMask : 0;
    for (Uint32 mask = target.Rmask; (mask & 1) == 0; mask >>= 1) {
        ++target.Rshift;
    }
    for (Uint32 mask = target.Gmask; (mask & 1) == 0; mask >>= 1) {
        ++target.Gshift;
    }
    for (Uint32 mask = target.Bmask; (mask & 1) == 0; mask >>= 1) {
        ++target.Bshift;
    }
    if (wantAlpha) {
        for (Uint32 mask = target.Amask; (mask & 1) == 0; mask >>= 1) {
            ++target.Ashift;
        }
    }
    target.alpha = SDL_ALPHA_OPAQUE;
    // The key and any per-surface alpha are applied by hand below, never by the blitter.
    SDL_SetColorKey(image, 0, 0);
    SDL_SetAlpha(image, 0, SDL_ALPHA_OPAQUE);
    SDL_Surface* converted = SDL_ConvertSurface(image, &target, SDL_SWSURFACE);
    if (converted == nullptr || !wantAlpha) {
        return converted;
    }
    if (SDL_MUSTLOCK(image)) {
        SDL_LockSurface(image);
    }
    for (int y = 0; y < converted->h; ++y) {
        Uint32* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(converted->pixels) + y * converted->pitch);
        for (int x = 0; x < converted->w; ++x) {
            if (!hasAlpha) {
                row[x] |= kAlphaMask;
            }
            if (keyed && rawPixel(image, x, y) == key) {
                row[x] &= ~kAlphaMask;
            }
        }
    }
    if (SDL_MUSTLOCK(image)) {
        SDL_UnlockSurface(image);
    }
    return converted;
}
#endif

int alphaModeOf(const SDL_Surface* image) {
    if (image->format->BytesPerPixel != 4) {
        return Texture::kOpaque;
    }
    for (int y = 0; y < image->h; ++y) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(image->pixels) + y * image->pitch);
        for (int x = 0; x < image->w; ++x) {
            const Uint32 alpha = (row[x] & kAlphaMask) >> image->format->Ashift;
            if (alpha > 0 && alpha < 255) {
                return Texture::kTranslucent;
            }
        }
    }
    return Texture::kCutOut;
}
} // namespace

Texture::~Texture() {
    release();
}

void Texture::release() {
    if (name_ != 0) {
        GLuint name = name_;
        glDeleteTextures(1, &name);
        name_ = 0;
    }
    alphaMode_ = kOpaque;
}

bool Texture::load(const std::string& path) {
    release();
    SurfacePointer image = decodeImage(path);
    if (image == nullptr || !isConsistent(image.get())) {
        return false;
    }
    if (!isGlReady(image.get())) {
        image.reset(toGlLayout(image.get()));
        if (image == nullptr) {
            return false;
        }
    }
    // A picture the GL would refuse fails here, instead of becoming a texture without an image.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (image->w <= 0 || image->h <= 0 || image->w > largest || image->h > largest) {
        return false;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) {
        return true;
    }
    name_ = name;
    glBindTexture(GL_TEXTURE_2D, name_);
    const bool rgba = image->format->BytesPerPixel == 4;
    alphaMode_ = alphaModeOf(image.get());
    const GLenum format = rgba ? GL_RGBA : GL_RGB;
    // SDL keeps rows at multiples of 4 bytes, which is what an unpack alignment of 4 expects; set it
    // here rather than trust whatever the last reader of pixels left behind.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, image->pitch / image->format->BytesPerPixel);
    if (SDL_MUSTLOCK(image)) {
        SDL_LockSurface(image.get());
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image->w, image->h, 0, format,
                 GL_UNSIGNED_BYTE, image->pixels);
    if (SDL_MUSTLOCK(image)) {
        SDL_UnlockSurface(image.get());
    }
    glPopClientAttrib();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return true;
}

void Texture::setFilterLinearNearest() {
    if (name_ != 0) {
        glBindTexture(GL_TEXTURE_2D, name_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
}

void Texture::setFilterLinear() {
    if (name_ != 0) {
        glBindTexture(GL_TEXTURE_2D, name_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

void Texture::bind() {
    if (name_ == 0) {
        unbindTexture();
        return;
    }
    glBindTexture(GL_TEXTURE_2D, name_);
    glEnable(GL_TEXTURE_2D);
    if (alphaMode_ == kCutOut) {
        glEnable(GL_ALPHA_TEST);
        textureBlends = false;
        applyBlendRule();
    } else if (alphaMode_ == kTranslucent) {
        glDisable(GL_ALPHA_TEST);
        textureBlends = true;
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_ALPHA_TEST);
        textureBlends = false;
        applyBlendRule();
    }
}

void unbindTexture() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    textureBlends = false;
    applyBlendRule();
}

void setSphereMapping(bool on) {
    if (on) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}
