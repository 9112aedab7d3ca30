// Text labels and the shared glyph sets they draw with.
#include "render/text_label.h"

#include <SDL/SDL_opengl.h>
#include <algorithm>

#include "render/render_state.h"
#include "render/texture.h"

std::map<std::string, int> glyphSetReferences;
std::map<std::string, int> glyphSetLoadedCounts;
// The textures of a set live until a purge removes it. Sets still in use when the program ends are
// left to the end of the process on purpose: by then the display is closed, and deleting GL textures
// without a context is not allowed.
std::map<std::string, Texture*> glyphSetTextures;

namespace {
const int kGlyphCount = 128;
const float kDegreesPerRadian = 57.29578f;

Texture* loadedGlyphs(const std::string& name) {
    const auto found = glyphSetTextures.find(name);
    return found == glyphSetTextures.end() ? nullptr : found->second;
}

// Loads all 128 glyphs of a set; a glyph without its own file shows the picture of 0.dat. A 0.dat that
// does not load is not tried again for every missing glyph: a damaged file can take long to refuse.
Texture* loadGlyphSet(const std::string& name, int& ownFiles) {
    Texture* glyphs = new Texture[kGlyphCount];
    ownFiles = 0;
    bool fallbackFails = false;
    for (int code = 0; code < kGlyphCount; ++code) {
        if (glyphs[code].load(name + "/" + std::to_string(code) + ".dat")) {
            ++ownFiles;
        } else if (code == 0) {
            fallbackFails = true;
        } else if (!fallbackFails && !glyphs[code].load(name + "/0.dat")) {
            fallbackFails = true;
        }
        glyphs[code].setFilterLinearNearest();
    }
    return glyphs;
}
} // namespace

TextLabel::~TextLabel() {
    if (!fontName_.empty()) {
        --glyphSetReferences[fontName_];
    }
}

int TextLabel::setFont(const std::string& name) {
    if (!fontName_.empty()) {
        --glyphSetReferences[fontName_];
        fontName_.clear();
    }
    // A counted set is shared. A count whose textures are gone (the set was purged while counts were
    // changed behind the labels' backs) does not make a usable set: it is loaded anew below.
    const auto counted = glyphSetReferences.find(name);
    if (counted != glyphSetReferences.end() && loadedGlyphs(name) != nullptr) {
        ++counted->second;
        fontName_ = name;
        const auto loaded = glyphSetLoadedCounts.find(name);
        return loaded == glyphSetLoadedCounts.end() ? 0 : loaded->second;
    }
    int ownFiles = 0;
    glyphSetTextures[name] = loadGlyphSet(name, ownFiles);
    glyphSetLoadedCounts[name] = ownFiles;
    glyphSetReferences[name] = 1;
    fontName_ = name;
    return ownFiles;
}

void TextLabel::setColour(float r, float g, float b, float a) {
    flatColour_ = true;
    colour_[0] = r;
    colour_[1] = g;
    colour_[2] = b;
    colour_[3] = a;
}

void TextLabel::setMaterial(float r, float g, float b, float a, float specular, float shininess) {
    setColour(r, g, b, a);
    flatColour_ = false;
    specular_ = specular;
    shininess_ = shininess;
}

void TextLabel::setAlignment(float horizontal, float vertical) {
    hAlign_ = horizontal;
    vAlign_ = vertical;
}

float TextLabel::textWidth() const {
    size_t widest = 0;
    size_t line = 0;
    for (char c : text) {
        line = c == '\n' ? 0 : line + 1;
        widest = std::max(widest, line);
    }
    return static_cast<float>(widest) * glyphSize;
}

float TextLabel::textHeight() const {
    return glyphSize * static_cast<float>(1 + std::count(text.begin(), text.end(), '\n'));
}

void TextLabel::draw() const {
    if (fontName_.empty()) {
        return;
    }
    Texture* glyphs = loadedGlyphs(fontName_);
    if (glyphs == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    // The same turn as Vec3::rotate with these angles: X first, then Y, then Z.
    glRotatef(angles.z * kDegreesPerRadian, 0.0f, 0.0f, 1.0f);
    glRotatef(angles.y * kDegreesPerRadian, 0.0f, 1.0f, 0.0f);
    glRotatef(angles.x * kDegreesPerRadian, 1.0f, 0.0f, 0.0f);
    if (flatColour_) {
        ::setFlatColour(colour_[0], colour_[1], colour_[2], colour_[3]);
    } else {
        ::setMaterial(colour_[0], colour_[1], colour_[2], colour_[3], specular_, shininess_);
    }

    if (!text.empty()) {
        const float s = glyphSize;
        const float lineStart = -hAlign_ * textWidth();
        float y = lineStart;
        float z = vAlign_ * textHeight();
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == '\n') {
                if (i + 1 == text.size()) {
                    break;
                }
                y = lineStart;
                z -= s;
                continue;
            }
            glyphs[c < kGlyphCount ? c : 0].bind();
            // One square in the plane x = 0, facing +X, counter-clockwise seen from there.
            glBegin(GL_QUADS);
            glNormal3f(1.0f, 0.0f, 0.0f);
            glTexCoord2f(0.0f, 0.0f);
            glVertex3f(0.0f, y, z);
            glTexCoord2f(0.0f, 1.0f);
            glVertex3f(0.0f, y, z - s);
            glTexCoord2f(1.0f, 1.0f);
            glVertex3f(0.0f, y + s, z - s);
            glTexCoord2f(1.0f, 0.0f);
            glVertex3f(0.0f, y + s, z);
            glEnd();
            y += s;
        }
    }
    unbindTexture();
    glPopMatrix();
}

void setGlyphFilterLinearNearest(const std::string& name) {
    if (Texture* glyphs = loadedGlyphs(name)) {
        for (int code = 0; code < kGlyphCount; ++code) {
            glyphs[code].setFilterLinearNearest();
        }
    }
}

void setGlyphFilterLinear(const std::string& name) {
    if (Texture* glyphs = loadedGlyphs(name)) {
        for (int code = 0; code < kGlyphCount; ++code) {
            glyphs[code].setFilterLinear();
        }
    }
}

void purgeUnusedGlyphSets() {
    for (auto entry = glyphSetReferences.begin(); entry != glyphSetReferences.end();) {
        if (entry->second != 0) {
            ++entry;
            continue;
        }
        const auto textures = glyphSetTextures.find(entry->first);
        if (textures != glyphSetTextures.end()) {
            delete[] textures->second;
            glyphSetTextures.erase(textures);
        }
        glyphSetLoadedCounts.erase(entry->first);
        entry = glyphSetReferences.erase(entry);
    }
}
