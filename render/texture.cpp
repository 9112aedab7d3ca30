// Textures from image resource files, and the part of the blending decision that belongs to them.
#include "render/texture.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <memory>

#include "render/picture.h"
#include "render/picture_prefetch.h"
#include "render/png_checks.h"
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

SurfacePointer decodeImage(const std::string& path) {
    size_t length = 0;
    uint8_t* bytes = readResourceFile(path, &length);
    if (bytes == nullptr) {
        return nullptr;
    }
    // The game ships PNG pictures only, so only PNG reaches SDL_image: its readers of other formats
    // (XCF, TGA, PCX, BMP and the rest) read past their buffers and use uninitialised memory on small
    // damaged files.
    if (!isDecodablePng(bytes, length, static_cast<uint32_t>(Texture::kLargestPictureSide))) {
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

// Pixels are R,G,B,A bytes when there are 4 per pixel, so alpha is every fourth byte.
int alphaModeOf(const uint8_t* pixels, int width, int height, int bytesPerPixel, int pitch) {
    if (bytesPerPixel != 4) {
        return Texture::kOpaque;
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        for (int x = 0; x < width; ++x) {
            const uint8_t alpha = row[4 * x + 3];
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

bool Texture::load(const std::string& path, PicturePrefetch* ahead) {
    release();
    Picture picture;
    bool decoded = ahead != nullptr && ahead->take(path, &picture);
#ifdef __EMSCRIPTEN__
    // The browser's SDL_image hands every picture through a 2D canvas and reads it back, which took
    // most of the page's start; its plain pictures are decoded straight into the game's bytes instead.
    decoded = decoded || decodePlainPicture(path, &picture);
#endif
    if (decoded) {
        return upload(picture.pixels.data(), picture.width, picture.height, picture.bytesPerPixel,
                      picture.pitch);
    }
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
    if (SDL_MUSTLOCK(image)) {
        SDL_LockSurface(image.get());
    }
    const bool uploaded = upload(static_cast<const uint8_t*>(image->pixels), image->w, image->h,
                                 image->format->BytesPerPixel, image->pitch);
    if (SDL_MUSTLOCK(image)) {
        SDL_UnlockSurface(image.get());
    }
    return uploaded;
}

bool Texture::upload(const uint8_t* pixels, int width, int height, int bytesPerPixel, int pitch) {
    // A picture the GL would refuse fails here, instead of becoming a texture without an image.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width <= 0 || height <= 0 || width > largest || height > largest) {
        return false;
    }
#ifdef __EMSCRIPTEN__
    // WebGL 1 has no unpack row length (asking for one is an error the browser reports on every
    // upload), so only rows packed as the alignment of 4 packs them can go up there.
    if (pitch != ((width * bytesPerPixel + 3) & ~3)) {
        return false;
    }
#endif
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) {
        return true;
    }
    name_ = name;
    glBindTexture(GL_TEXTURE_2D, name_);
    const bool rgba = bytesPerPixel == 4;
    alphaMode_ = alphaModeOf(pixels, width, height, bytesPerPixel, pitch);
    const GLenum format = rgba ? GL_RGBA : GL_RGB;
    // Rows lie at multiples of 4 bytes (SDL's surfaces and the game's pictures alike), which is what an
    // unpack alignment of 4 expects; set it here rather than trust whatever the last reader of pixels
    // left behind.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
#ifndef __EMSCRIPTEN__
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pitch / bytesPerPixel);
#endif
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
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
