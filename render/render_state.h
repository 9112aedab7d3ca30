// Small pieces of fixed-function GL state shared by all drawing: the current colour or material and the
// blending decision, the global ambient light, and the two-step stencil mask.
//
// Blending is on exactly when the colour set last is translucent or the texture bound last needs
// blending; the blend and alpha-test functions themselves are set once when the display opens.
#pragma once

// Set by setFlatColour and setMaterial: the colour has an alpha below 1 (not-a-number counts).
extern bool colourTranslucent;
// Set by texture binding: the bound texture has translucent texels.
extern bool textureBlends;

// Enables GL_BLEND exactly when either flag above is set.
void applyBlendRule();

// Unlit colour.
void setFlatColour(float r, float g, float b, float a);
// Lit surface; shininess on a 0..1 scale.
void setMaterial(float r, float g, float b, float a, float specular, float shininess);
void setAmbientLight(float r, float g, float b);

// What is drawn after beginStencilMask marks its pixels without changing colour or depth; what is drawn
// after drawInsideStencilMask shows only on marked pixels; endStencilMask returns to normal drawing.
void beginStencilMask();
void drawInsideStencilMask();
void endStencilMask();
