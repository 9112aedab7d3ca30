// TextLabel: a piece of text drawn in 3D as a row of textured squares, one per character, taken from a
// glyph set: 128 textures, one per character code, loaded from the files 0.dat .. 127.dat of a
// directory. Labels share glyph sets by name and count them; a set nobody uses any more stays loaded
// until purgeUnusedGlyphSets.
#pragma once

#include <map>
#include <string>

#include "render/vec3.h"

class Texture;

class TextLabel {
public:
    TextLabel() = default;
    ~TextLabel();
    TextLabel(const TextLabel&) = delete;
    TextLabel& operator=(const TextLabel&) = delete;

    // Switches to the glyph set in directory `name` (opened as given, relative to the working
    // directory), loading it on first use. Returns how many of the 128 glyphs came from their own file;
    // a missing glyph shows the picture of 0.dat instead.
    int setFont(const std::string& name);
    const std::string& fontName() const { return fontName_; }

    // Unlit colour.
    void setColour(float r, float g, float b, float a);
    // Lit surface; shininess on a 0..1 scale.
    void setMaterial(float r, float g, float b, float a, float specular, float shininess);
    // 0 puts the block's left edge (top edge) at the position, 0.5 centres it, 1 puts its right edge
    // (bottom edge) there.
    void setAlignment(float horizontal, float vertical);

    // The widest line's character count times glyphSize.
    float textWidth() const;
    // glyphSize times the number of lines ("\n" starts a new one, even at the very end).
    float textHeight() const;

    // Draws the squares in the plane x = 0 of the label's own frame, facing +X, turned by `angles` and
    // moved to `position`. Draws nothing without a loaded glyph set.
    void draw() const;

    std::string text;
    Vec3 position;
    Vec3 angles;
    float glyphSize = 1.0f;

private:
    std::string fontName_;
    float hAlign_ = 0.0f;
    float vAlign_ = 0.0f;
    bool flatColour_ = true;
    float colour_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular_ = 0.0f;
    float shininess_ = 0.0f;
};

// Texture filtering for every glyph of a loaded set; nothing happens when the set is not loaded.
void setGlyphFilterLinearNearest(const std::string& name);
void setGlyphFilterLinear(const std::string& name);

// Deletes every loaded glyph set that no label uses any more (count exactly 0). Called at shutdown.
void purgeUnusedGlyphSets();

// The glyph set registry, keyed by the set's directory name. A set is loaded while it has an entry in
// glyphSetTextures (an array of 128 textures, index = character code); glyphSetReferences counts the
// labels that use it and glyphSetLoadedCounts how many glyphs came from their own file.
extern std::map<std::string, int> glyphSetReferences;
extern std::map<std::string, int> glyphSetLoadedCounts;
extern std::map<std::string, Texture*> glyphSetTextures;
